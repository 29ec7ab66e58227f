#include "gui/windows/AppEnvironment.h"

#include <windows.h>

#include <string>

namespace vehmira::gui {

namespace {

std::wstring ExecutableFileName()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

} // namespace

TAppEnvironment EnvironmentBesideExecutable()
{
    const std::wstring executable = ExecutableFileName();
    // The directory is the full name cut after its last backslash.
    const std::wstring directory = executable.substr(0, executable.rfind(L'\\') + 1);
    TAppEnvironment environment;
    environment.SettingsFile = directory + L"Settings.ini";
    environment.LanguageFile = std::filesystem::path(executable).replace_extension(L".lng");
    environment.FileDialogs = &framework::SystemFileDialogs();
    return environment;
}

} // namespace vehmira::gui
