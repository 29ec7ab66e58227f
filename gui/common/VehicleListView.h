#pragma once
// The list views that show vehicles (the main window's List_ID and the replace
// dialog's copy of it): report style with whole-row selection and the columns
// "ID" (50), "Название" (at least 114, the rest of the list's width) and
// "Модель" (70, all at 96 DPI), whose widths users cannot change.

#include <windows.h>

#include <string>

namespace vehmira::gui {

// Columns at the widths for `dpi`, titled in the current interface language.
void SetUpVehicleListView(HWND list, int dpi);
// The last column again as wide as the list leaves it, after the list was resized.
void FitVehicleListColumns(HWND list, int dpi);
// Titles the columns anew in the current interface language.
void SetVehicleListColumnTitles(HWND list);
void AddVehicleListRow(HWND list, const std::wstring& id, const std::wstring& name, const std::wstring& model);
std::wstring VehicleListText(HWND list, int row, int column);
// Replaces the rows of target by a copy of the rows of source, every column, none selected.
void CopyVehicleListRows(HWND source, HWND target);

} // namespace vehmira::gui
