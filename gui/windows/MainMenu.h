#pragma once
// The main window's menu: "Файл", "Установки" and "Справка" with their items.

#include <windows.h>

namespace vehmira::gui {

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
    RefreshMenu = 1009,
    ExportVehicleMenu = 1010,
    ImportOverVehicleMenu = 1011,
    HistoryMenu = 1012,
};

// The menu bar with its pop-ups, in the current interface language; the
// window it is set on destroys it. A new item's caption is a text key
// (gui/common/TextKeys.h): the main window builds the bar anew when the
// language changes, so every item shows the new language.
HMENU CreateMainMenu();

// The pop-up a right click on a vehicle of the list opens: export, import over
// it, preview. The caller destroys it.
HMENU CreateVehicleContextMenu();

} // namespace vehmira::gui
