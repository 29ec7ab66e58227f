#pragma once
// List-view columns whose widths the user cannot change.

#include <windows.h>

namespace vehmira::gui::framework {

// From now on no column of the list view changes its width: dragging a
// divider, double-clicking it and the automatic sizing keys are refused.
void FixColumnWidths(HWND listView);

} // namespace vehmira::gui::framework
