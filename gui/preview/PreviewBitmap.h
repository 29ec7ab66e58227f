#pragma once
// A decoded picture as a GDI bitmap for the preview's panels.

#include "renderware/RgbaImage.h"
#include "win32/Gdi.h"

namespace vehmira::gui {

// A 32-bit top-down bitmap of the picture, drawn opaque; empty when GDI refuses it.
win32::TBitmapHandle MakeOpaqueBitmap(const renderware::TRgbaImage& image);

} // namespace vehmira::gui
