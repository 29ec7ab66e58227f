#pragma once
// A vehicle preview in the words of `vehmira car info`: the textures, the
// model's summary, the texture check and the problems with the pieces, as
// lines of text or as further keys of the JSON object.

#include "operations/VehiclePreview.h"

#include <ostream>
#include <string>

namespace vehmira::cli {

// Problems that FailsTheCommand picks are left out: they go to stderr alone.
void PrintPreviewText(std::ostream& out, const operations::TVehiclePreview& preview,
                      bool (*failsTheCommand)(const operations::TPreviewProblem&) = nullptr);
// Writes ",\n  \"textures\": ..." and the other keys; the caller closes the object.
void PrintPreviewJsonKeys(std::ostream& out, const operations::TVehiclePreview& preview);

// "model: the package holds none", "texture dictionary: FILE does not exist", ...
std::string PreviewProblemText(const operations::TPreviewProblem& problem, operations::TPreviewSource source);

} // namespace vehmira::cli
