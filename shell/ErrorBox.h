#pragma once
// How the program presents messages and errors to the user: every box is
// titled with the application title.

#include <windows.h>

#include <string>
#include <string_view>

inline constexpr const wchar_t* ApplicationTitle = L"Vehmira";

// The error box's text: a full stop is appended unless the text is empty or
// ends in a character whose code is at most that of "." (".", "!", ",", a blank).
std::wstring ErrorBoxText(std::wstring_view text);

// A plain message box with an OK button and no icon.
void ShowPlainMessage(HWND owner, std::wstring_view text);

// The top-level handler: a TPlainMessageAbort shows its text in a plain box
// and is otherwise silent; any other error shows in a box with the error icon.
// Call it only inside a catch block.
void PresentCurrentException(HWND owner) noexcept;
