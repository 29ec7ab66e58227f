#include "gui/framework/SettingsFile.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"

#include <windows.h>

#include <string_view>

namespace vehmira::gui::framework {

namespace {

constexpr DWORD InitialBufferSize = 1024;
// Beyond this a value or a section list is taken as cut, not read again.
constexpr DWORD MaximumBufferSize = 1 << 22;

constexpr std::string_view Utf16Mark = "\xFF\xFE";
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

std::wstring DecodeText(std::string_view bytes, UINT codePage)
{
    if (bytes.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// The system's INI functions keep writing a file in the encoding it has, and
// an 8-bit one in the system's code page loses every character outside it
// (a Cyrillic game directory under code page 1252). So before the first
// write the file becomes UTF-16, its old text decoded as those functions read it.
void MakeUnicodeFile(const std::filesystem::path& fileName)
{
    std::string old;
    if (std::filesystem::exists(fileName))
        old = fileio::ReadWholeFileText(fileName);
    if (old.starts_with(Utf16Mark))
        return;
    const std::wstring text = old.starts_with(Utf8Mark) ? DecodeText(std::string_view(old).substr(Utf8Mark.size()), CP_UTF8)
                                                        : DecodeText(old, CP_ACP);
    std::string bytes(Utf16Mark);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    fileio::ReplaceFileAtomically(fileName, std::string_view(bytes));
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
    MakeUnicodeFile(FileName);
    const std::wstring sectionName(section);
    const std::wstring keyName(key);
    const std::wstring text(value);
    if (!WritePrivateProfileStringW(sectionName.c_str(), keyName.c_str(), text.c_str(), FileName.c_str()))
        throw fileio::TVehmiraError("Не удалось записать настройки в " + fileio::PathToUtf8(FileName));
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

} // namespace vehmira::gui::framework
