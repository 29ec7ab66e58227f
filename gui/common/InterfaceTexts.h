#pragma once
// The words for the core's errors in the current interface language (every
// text the window shows has its key in gui/common/TextKeys.h).
// The game's own texts never pass through here.

#include "archive/ArchiveLayout.h"
#include "fileio/Errors.h"
#include "gui/framework/SettingsFile.h"

#include <filesystem>
#include <string_view>

#include <optional>
#include <string>

namespace vehmira::gui {

// The fixed message a kind of error is shown with, in a plain box, in place of
// the error box with the error's description; nothing for the other kinds.
std::optional<std::string> FixedMessageFor(const fileio::TVehmiraError& error);

// The figures of the archive check, and what they mean for the game.
std::string ArchiveCheckText(const archive::TArchiveLayout& layout);
// The question at opening when the game would read the archive wrongly.
std::string MisreadArchiveQuestion(const archive::TArchiveLayout& layout);

// Writes one key of Settings.ini; a failure is a TVehmiraError in the
// interface language naming the file.
void WriteSetting(framework::TSettingsFile& settings, const std::filesystem::path& fileName, std::wstring_view section,
                  std::wstring_view key, std::wstring_view value);

// An error of a known kind in the window's words (a failed import says it
// before its general failure text); nothing when the kind has no words of its
// own, and the error's description stands.
std::optional<std::string> WordedErrorMessage(const fileio::TVehmiraError& cause);

// Where an import came from, as a journal records it: the package's path, or
// the separate files and typed lines in the interface's words.
std::wstring ImportSourceText(const std::string& source);

} // namespace vehmira::gui
