#include "shell/SettingsFile.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"

#include <windows.h>

#include <fstream>

namespace {

constexpr DWORD InitialBufferSize = 1024;
// Beyond this a value or a section list is taken as cut, not read again.
constexpr DWORD MaximumBufferSize = 1 << 22;

void CreateUnicodeFile(const std::filesystem::path& fileName)
{
    std::ofstream file(fileName, std::ios::binary);
    const char byteOrderMark[] = {'\xFF', '\xFE'};
    file.write(byteOrderMark, sizeof(byteOrderMark));
}

} // namespace

std::wstring TSettingsFile::ReadString(std::wstring_view section, std::wstring_view key,
                                       std::wstring_view defaultValue) const
{
    const std::wstring sectionName(section);
    const std::wstring keyName(key);
    const std::wstring fallback(defaultValue);
    for (DWORD size = InitialBufferSize;; size *= 4) {
        std::wstring value(size, L'\0');
        const DWORD length = GetPrivateProfileStringW(sectionName.c_str(), keyName.c_str(), fallback.c_str(),
                                                      value.data(), size, FileName.c_str());
        // A value that filled the buffer may have been cut: read again with more room.
        if (length < size - 1 || size >= MaximumBufferSize) {
            value.resize(length);
            return value;
        }
    }
}

void TSettingsFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value)
{
    if (!std::filesystem::exists(FileName))
        CreateUnicodeFile(FileName);
    const std::wstring sectionName(section);
    const std::wstring keyName(key);
    const std::wstring text(value);
    if (!WritePrivateProfileStringW(sectionName.c_str(), keyName.c_str(), text.c_str(), FileName.c_str()))
        throw TVehmiraError("Не удалось записать настройки в " + PathToUtf8(FileName));
}

std::vector<std::wstring> ReadSectionNames(const std::filesystem::path& fileName)
{
    for (DWORD size = InitialBufferSize;; size *= 4) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), size, fileName.c_str());
        if (length >= size - 2 && size < MaximumBufferSize)
            continue; // cut off: read again with more room
        std::vector<std::wstring> names;
        for (std::size_t start = 0; start < length;) {
            const std::size_t end = buffer.find(L'\0', start);
            names.emplace_back(buffer, start, end - start);
            start = end + 1;
        }
        return names;
    }
}
