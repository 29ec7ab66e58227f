#pragma once
// Turning the texts that the engines and the game hand over into the UTF-8
// that the command line prints.

#include <string>
#include <string_view>

namespace vehmira::cli {

// Game text bytes (GXT names, game file lines) are code page 1251.
std::string GameTextToUtf8(std::string_view bytes);

// Messages are meant to be UTF-8 already; one that is not (it quotes game
// bytes, or comes from a code-page API) is shown as code page 1251 rather
// than as broken UTF-8.
std::string MessageToUtf8(std::string_view text);

bool IsValidUtf8(std::string_view text);

// A game path ("Data\\Vehicles.ide") as the host writes paths: with
// backslashes on Windows, slashes elsewhere.
std::string HostPath(std::string_view gamePath);

// The text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

} // namespace vehmira::cli
