#pragma once
// Letter case as the game's files use it: only the ASCII letters a to z fold.

#include <string>
#include <string_view>

namespace vehmira::gamedata {

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

inline std::string UpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpperAscii(c);
    return result;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

} // namespace vehmira::gamedata
