#pragma once
// Writes a bitmap as an uncompressed PNG file (stored deflate blocks), enough
// for screenshots without an image library.

#include "menustyle/Bitmap.h"

#include <filesystem>

// Throws std::runtime_error when the file cannot be written.
void WritePng(const vehmira::menustyle::TBitmap& bitmap, const std::filesystem::path& file);
