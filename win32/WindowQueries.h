#pragma once
// Small questions to a window that the painters and the forms both ask.

#include <windows.h>

#include <algorithm>
#include <string>

namespace vehmira::win32 {

inline RECT ClientRectOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

inline std::wstring WindowTextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace vehmira::win32
