#pragma once
// Layouts are written for 96 dots per inch; on a screen of another DPI every
// position, size, font and column width is scaled by DPI / 96.

#include <windows.h>

namespace vehmira::gui::framework {

inline constexpr int WrittenDpi = 96;

// Declares the process per-monitor DPI-aware where the system knows how.
void DeclareDpiAwareness();
// The DPI new windows are laid out for: the system's, unless a test set one.
int LayoutDpi();
// For tests and screenshots: lay out new windows for this DPI (0: the system's).
void SetLayoutDpiOverride(int dpi);
// A written length at a DPI.
int ScaleToDpi(int written, int dpi);
// The DPI a window is shown at (the override, when set, for every window).
int WindowDpi(HWND window);

} // namespace vehmira::gui::framework
