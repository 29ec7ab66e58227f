#pragma once
// Settings.ini and the language file through the system's INI-file functions.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gui::framework {

class TSettingsFile {
public:
    explicit TSettingsFile(std::filesystem::path fileName) : FileName(std::move(fileName)) {}

    // The key's value, or defaultValue when the file, the section or the key is missing.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) const;
    // Writes one key at once; the file and the section are created as needed.
    // The file is kept in UTF-16 so that values such as a Cyrillic game
    // directory survive whatever the system's code page is.
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

private:
    std::filesystem::path FileName;
};

// The section names of an INI file in file order; empty for a missing file.
std::vector<std::wstring> ReadSectionNames(const std::filesystem::path& fileName);

} // namespace vehmira::gui::framework
