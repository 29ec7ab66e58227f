#pragma once
// Two pictures one above the other, each centred across the wider one; the
// room beside the narrower one takes the colour of the lower picture's top
// left pixel (a contact sheet's background).

#include "renderware/RgbaImage.h"

namespace vehmira::render {

// Raises TVehmiraError when either picture is empty or the stack would be
// taller than 16384 pixels.
renderware::TRgbaImage StackPictures(const renderware::TRgbaImage& top, const renderware::TRgbaImage& bottom);

} // namespace vehmira::render
