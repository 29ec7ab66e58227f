#include "fileio/GamePaths.h"

#include "fileio/FileSystem.h"

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
    if (relativePath.empty() || IsSeparator(relativePath.front()) || relativePath.find(':') != std::string_view::npos)
        return false;
    std::size_t componentStart = 0;
    for (std::size_t i = 0; i <= relativePath.size(); ++i) {
        if (i < relativePath.size() && !IsSeparator(relativePath[i]))
            continue;
        const std::string_view component = relativePath.substr(componentStart, i - componentStart);
        if (component.empty() || component == "." || component == ".." || component.back() == '.' ||
            component.back() == ' ')
            return false;
        componentStart = i + 1;
    }
    return true;
}

std::filesystem::path ResolveGamePath(const std::filesystem::path& gameDirectory, std::string_view relativePath)
{
    std::filesystem::path result = gameDirectory;
    for (const std::string& part : SplitGamePath(relativePath))
        result /= FindComponent(result, part);
    return result;
}

} // namespace vehmira::fileio
