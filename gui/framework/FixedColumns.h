#pragma once
// List-view columns whose widths the user cannot change.

#include <windows.h>

namespace vehmira::gui::framework {

// From now on no column of the list view changes its width: dragging a
// divider, double-clicking it and the automatic sizing keys are refused.
void FixColumnWidths(HWND listView);
// The program's own change of a fixed column's width (the list was resized).
void SetFixedColumnWidth(HWND listView, int column, int width);

} // namespace vehmira::gui::framework
