#include "cli/OutputText.h"

#include "gamedata/CodePage1251.h"

#include <algorithm>
#include <cstdint>

namespace vehmira::cli {

std::string HostPath(std::string_view gamePath)
{
    std::string path(gamePath);
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

std::string GameTextToUtf8(std::string_view bytes) { return gamedata::Cp1251ToUtf8(bytes); }

std::string MessageToUtf8(std::string_view text)
{
    return IsValidUtf8(text) ? std::string(text) : gamedata::Cp1251ToUtf8(text);
}

namespace {
// How many continuation bytes follow a lead byte, or -1 for a byte that cannot lead.
int ContinuationCount(std::uint8_t lead)
{
    if (lead < 0x80)
        return 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 3;
    return -1;
}
} // namespace

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = std::uint8_t(text[i]);
        const int count = ContinuationCount(lead);
        if (count < 0 || std::size_t(count) > text.size() - i - 1)
            return false;
        std::uint32_t codePoint = count == 0 ? lead : lead & (0x3F >> count);
        for (int k = 1; k <= count; ++k) {
            const auto next = std::uint8_t(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        const bool overlong = (count == 2 && codePoint < 0x800) || (count == 3 && codePoint < 0x10000);
        if (overlong || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            return false;
        i += std::size_t(count) + 1;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace vehmira::cli
