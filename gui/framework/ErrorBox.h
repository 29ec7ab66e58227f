#pragma once
// How the program presents messages and errors to the user: every box is
// titled with the application title.

#include "fileio/Errors.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vehmira::gui::framework {

inline constexpr const wchar_t* ApplicationTitle = L"Vehmira";

// The error box's text: a full stop is appended unless the text is empty or
// ends in a character whose code is at most that of "." (".", "!", ",", a blank).
std::wstring ErrorBoxText(std::wstring_view text);

// A plain message box with an OK button and no icon.
void ShowPlainMessage(HWND owner, std::wstring_view text);

// Which errors the program shows with a fixed message in a plain box (and is
// otherwise silent about), and with which message; the application sets it.
using TErrorTextRule = std::function<std::optional<std::string>(const fileio::TVehmiraError&)>;
void SetFixedMessageRule(TErrorTextRule rule);
// The window's own words for an error of a known kind, shown in the error box
// in place of its description (nothing: the description); the application sets it.
void SetWordingRule(TErrorTextRule rule);
// The words for a failure that carries no description; the application sets them.
void SetUnknownErrorText(std::function<std::wstring()> text);

// The top-level handler: an error with a fixed message shows that in a plain
// box; any other error shows its description in a box with the error icon.
// Call it only inside a catch block.
void PresentCurrentException(HWND owner) noexcept;

} // namespace vehmira::gui::framework
