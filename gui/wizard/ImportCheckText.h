#pragma once
// The check before an import in the window's words: the verdict the replace
// dialog shows for the chosen target, and the errors its confirmation names.

#include "fileio/CheckFinding.h"

#include <string>

namespace vehmira::gui {

// One line per finding, in the interface language.
std::wstring CheckFindingText(const fileio::TCheckFinding& finding);
// "The game will load this vehicle", or the errors and then the warnings under their headings.
std::wstring CheckVerdictText(const fileio::TCheckFindings& findings);
// The errors alone under their heading, for the confirmation.
std::wstring CheckErrorsText(const fileio::TCheckFindings& findings);

} // namespace vehmira::gui
