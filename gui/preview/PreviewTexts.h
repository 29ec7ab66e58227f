#pragma once
// The preview window's words: what the model holds, what the dictionaries
// are, and what the texture check found, in the window's Russian.

#include "operations/VehiclePreview.h"

#include <string>

namespace vehmira::gui {

// The lines of the summary beside the thumbnails, CR LF between them.
std::wstring PreviewSummaryText(const operations::TVehiclePreview& preview);

// Under a thumbnail, a line each: the name, "64 × 32", "DXT1".
std::wstring TextureCellName(const renderware::TTextureRecord& texture);
std::wstring TextureCellSize(const renderware::TTextureRecord& texture);
std::wstring TextureCellFormat(const renderware::TTextureRecord& texture);

} // namespace vehmira::gui
