#pragma once
// The check before an import in the window's words: the verdict the replace
// dialog shows for the chosen target, and the errors its confirmation names.

#include "fileio/CheckFinding.h"
#include "gui/common/TextKeys.h"

#include <optional>
#include <string>
#include <string_view>

namespace vehmira::gui {

// One line per finding, in the interface language.
std::wstring CheckFindingText(const fileio::TCheckFinding& finding);
// passedText ("The game will load this vehicle") without findings, else the
// errors and then the warnings under their headings.
std::wstring CheckVerdictText(const fileio::TCheckFindings& findings, TTextKey passedText = TTextKey::CheckPassed);
// One plain sentence first when the model is made for another kind of vehicle
// than the target ("This model is a motorbike, and Cheetah is a car"): the
// finding players understand at once. targetType is the definition's type word.
std::optional<std::wstring> KindMismatchSentence(const fileio::TCheckFindings& findings, std::wstring_view targetName,
                                                 std::string_view targetType);
// The errors alone under their heading, for the confirmation.
std::wstring CheckErrorsText(const fileio::TCheckFindings& findings);

} // namespace vehmira::gui
