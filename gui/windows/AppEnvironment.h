#pragma once
// Where the program keeps its own files, and the file dialogs it uses. The
// program takes them from beside its executable; tests pass their own.

#include "gui/framework/FileDialogs.h"

#include <filesystem>

namespace vehmira::gui {

struct TAppEnvironment {
    std::filesystem::path SettingsFile; // Settings.ini
    std::filesystem::path LanguageFile; // the executable's name with ".lng"
    framework::TFileDialogs* FileDialogs = nullptr;
};

// Settings.ini in the executable's directory and the executable's own .lng file.
TAppEnvironment EnvironmentBesideExecutable();

} // namespace vehmira::gui
