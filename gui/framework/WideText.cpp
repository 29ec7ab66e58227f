#include "gui/framework/WideText.h"

#include "gamedata/CodePage1251.h"

#include <windows.h>

namespace vehmira::gui::framework {

std::wstring Wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

std::wstring WideFromGameText(std::string_view cp1251)
{
    // The conversion table is our own, so the system's code page (1252 under
    // Wine, 1251 on a Russian Windows) does not change what is shown.
    const std::u16string text = gamedata::Cp1251ToUtf16(cp1251);
    return std::wstring(text.begin(), text.end());
}

} // namespace vehmira::gui::framework
