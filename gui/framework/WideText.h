#pragma once
// The GUI speaks UTF-16 to the system; messages and paths inside the program
// are UTF-8, and the game's own bytes are code page 1251.

#include <string>
#include <string_view>

namespace vehmira::gui::framework {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view text);

// The game's 8-bit text (code page 1251) as UTF-16, whatever the system's code page.
std::wstring WideFromGameText(std::string_view cp1251);

} // namespace vehmira::gui::framework
