#pragma once
// The preview window's words: what the model holds, what the dictionaries
// are, and what the texture check found, in the window's Russian.

#include "operations/VehiclePreview.h"

#include <string>


// The lines of the summary beside the thumbnails, CR LF between them.
std::wstring PreviewSummaryText(const TVehiclePreview& preview);

// Under a thumbnail, a line each: the name, "64 × 32", "DXT1".
std::wstring TextureCellName(const Rw::TTextureRecord& texture);
std::wstring TextureCellSize(const Rw::TTextureRecord& texture);
std::wstring TextureCellFormat(const Rw::TTextureRecord& texture);
