#pragma once
// What players do with a vehicle list beyond choosing a row: a click on a
// column's title sorts the rows by it (a second click the other way round),
// and typing finds the next row whose name or ID begins with what was typed,
// in any keyboard layout ("Sul" finds the Sultan, "41" the 415).

#include <windows.h>

namespace vehmira::gui {

// Takes over the list's typing; the list keeps it until it is destroyed.
void AddVehicleListTypeAhead(HWND list);
// Sorts by that column: IDs as numbers, names as the user's locale orders
// them; the same column again reverses the order.
void SortVehicleListByColumn(HWND list, int column);
// After the rows were filled anew: the order the user last chose, if any.
void SortVehicleListAsBefore(HWND list);
// Selects the row (focused, scrolled into view), or none for -1.
void SelectVehicleListRow(HWND list, int row);

} // namespace vehmira::gui
