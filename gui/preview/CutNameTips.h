#pragma once
// Tooltips over the texture names the preview's panel cuts short: the whole
// name shows when the mouse rests on a cut one.

#include "gui/framework/Window.h"

#include <windows.h>

#include <span>
#include <string>

namespace vehmira::gui {

// A name as the panel draws it: on one line, in the panel's client area.
struct TNameLine {
    const std::wstring* Name;
    RECT Line;
};

class TCutNameTips {
public:
    explicit TCutNameTips(HWND panel);

    HWND Handle() const { return Tips.Get(); }
    // Replaces the tools: one over each line whose name, in font, is wider
    // than the line, holding the whole name.
    void Update(std::span<const TNameLine> lines, HFONT font);

private:
    HWND Panel;
    framework::TWindowHandle Tips;
    UINT ToolCount = 0;
};

} // namespace vehmira::gui
