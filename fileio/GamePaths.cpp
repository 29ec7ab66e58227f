#include "fileio/GamePaths.h"

#include "fileio/FileSystem.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace vehmira::fileio {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The on-disk spelling of one component: the exact name when it exists (on a
// case-sensitive file system), else the case-folded match (the smallest name
// when several fold alike), else the name as given. Windows finds any spelling,
// but a file renamed into place there takes the spelling of the path given, so
// writing through the on-disk spelling keeps the user's names as they were.
std::filesystem::path FindComponent(const std::filesystem::path& directory, const std::string& wanted)
{
    std::error_code error;
#ifndef _WIN32
    if (std::filesystem::exists(directory / wanted, error))
        return wanted;
#endif
    std::string found;
    for (std::filesystem::directory_iterator it(directory.empty() ? "." : directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = PathToUtf8(it->path().filename());
        if (EqualIgnoringAsciiCase(name, wanted) && (found.empty() || name < found))
            found = name;
    }
    return PathFromUtf8(found.empty() ? wanted : found);
}

// Names Windows opens as devices in any folder, whatever follows a dot.
bool IsWindowsDeviceName(std::string_view component)
{
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (EqualIgnoringAsciiCase(base, device))
            return true;
    // COM0..COM9 and LPT0..LPT9, also with the superscript digits 1 to 3.
    if (base.size() < 4 || !(EqualIgnoringAsciiCase(base.substr(0, 3), "COM") || EqualIgnoringAsciiCase(base.substr(0, 3), "LPT")))
        return false;
    const std::string_view digit = base.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// Well-formed UTF-8: every lead byte followed by its continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        constexpr std::uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

std::vector<std::string> SplitGamePath(std::string_view relativePath)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char c : relativePath) {
        if (IsSeparator(c)) {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

bool IsInsideGameDirectory(std::string_view relativePath)
{
    if (relativePath.empty() || IsSeparator(relativePath.front()) || relativePath.find(':') != std::string_view::npos ||
        !IsWellFormedUtf8(relativePath))
        return false;
    std::size_t componentStart = 0;
    for (std::size_t i = 0; i <= relativePath.size(); ++i) {
        if (i < relativePath.size() && !IsSeparator(relativePath[i]))
            continue;
        const std::string_view component = relativePath.substr(componentStart, i - componentStart);
        if (component.empty() || component == "." || component == ".." || component.back() == '.' ||
            component.back() == ' ' || IsWindowsDeviceName(component))
            return false;
        componentStart = i + 1;
    }
    return true;
}

bool SameGamePath(std::string_view a, std::string_view b)
{
    const std::vector<std::string> aParts = SplitGamePath(a), bParts = SplitGamePath(b);
    return std::equal(aParts.begin(), aParts.end(), bParts.begin(), bParts.end(),
                      [](const std::string& x, const std::string& y) { return EqualIgnoringAsciiCase(x, y); });
}

std::filesystem::path ResolveGamePath(const std::filesystem::path& gameDirectory, std::string_view relativePath)
{
    std::filesystem::path result = gameDirectory;
    for (const std::string& part : SplitGamePath(relativePath))
        result /= FindComponent(result, part);
    return result;
}

} // namespace vehmira::fileio
