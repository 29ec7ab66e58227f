#pragma once
// The main window's menu: "Файл", "Установки" and "Справка" with their items.

#include <windows.h>

// Menu command ids; far from the control ids so the two never meet.
enum TMainMenuCommand : int {
    Beenden1 = 1001,
    Installationspfad1 = 1002,
    Sprache1 = 1003,
    Info1 = 1004,
    ImportRueckgaengig1 = 1005,
};

// The menu bar with its pop-ups; the window it is set on destroys it.
HMENU CreateMainMenu();
