#pragma once
// The game's 8-bit texts are in code page 1251; the front ends show them as
// UTF-8 (CLI) or UTF-16 (GUI).

#include <optional>
#include <string>
#include <string_view>

namespace vehmira::gamedata {

std::string Cp1251ToUtf8(std::string_view text);
// Nothing when a character has no place in code page 1251 or the UTF-8 is malformed.
std::optional<std::string> Utf8ToCp1251(std::string_view text);
std::u16string Cp1251ToUtf16(std::string_view text);
std::optional<std::string> Utf16ToCp1251(std::u16string_view text);

} // namespace vehmira::gamedata
