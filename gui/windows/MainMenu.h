#pragma once
// The main window's menu: "Файл", "Установки" and "Справка" with their items.

#include <windows.h>

// Menu command ids; far from the control ids so the two never meet.
enum TMainMenuCommand : int {
    ExitMenu = 1001,
    GamePathMenu = 1002,
    LanguageMenu = 1003,
    AboutMenu = 1004,
    UndoImportMenu = 1005,
    PreviewMenu = 1006,
    CheckArchiveMenu = 1007,
    RebuildArchiveMenu = 1008,
};

// The menu bar with its pop-ups; the window it is set on destroys it.
HMENU CreateMainMenu();
