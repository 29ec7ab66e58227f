#include "gui/common/VehicleListBehaviour.h"

#include "gui/common/VehicleListView.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <unordered_map>
#include <vector>

namespace vehmira::gui {

namespace {

// Keys typed within this time of each other make one search text.
constexpr ULONGLONG TypeAheadPause = 1000;
constexpr UINT_PTR TypeAheadSubclassId = 1;
// The sorted column plus one, negative for the reverse order.
constexpr const wchar_t* SortProperty = L"VehmiraVehicleListSort";

struct TTypeAhead {
    std::wstring Typed;
    ULONGLONG LastKey = 0;
};
// One search per list; the GUI thread alone touches it.
std::unordered_map<HWND, TTypeAhead> TypeAheads;

bool BeginsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() &&
           CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), int(prefix.size()), prefix.c_str(),
                          int(prefix.size())) == CSTR_EQUAL;
}

int FindRow(HWND list, const std::wstring& typed, int from)
{
    const int rows = ListView_GetItemCount(list);
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        if (BeginsWith(VehicleListText(list, row, 1), typed) || BeginsWith(VehicleListText(list, row, 0), typed))
            return row;
    }
    return -1;
}

void TypeCharacter(HWND list, wchar_t character)
{
    TTypeAhead& search = TypeAheads[list];
    const ULONGLONG now = GetTickCount64();
    if (now - search.LastKey > TypeAheadPause)
        search.Typed.clear();
    search.LastKey = now;
    search.Typed += character;
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    // A first key moves on from the chosen row, so that typing it again walks
    // through the rows it begins; a longer text may still match the chosen row.
    const int from = search.Typed.size() == 1 ? selected + 1 : std::max(selected, 0);
    const int found = FindRow(list, search.Typed, std::max(from, 0));
    if (found >= 0)
        SelectVehicleListRow(list, found);
}

LRESULT CALLBACK TypeAheadProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_CHAR && wParam >= L' ') {
        TypeCharacter(list, wchar_t(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        TypeAheads.erase(list);
        RemovePropW(list, SortProperty);
        RemoveWindowSubclass(list, &TypeAheadProcedure, TypeAheadSubclassId);
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// Every row's texts and whether it is chosen, read out before a sort and
// written back after it: the list's own sorting reads rows while it moves them.
struct TListRow {
    std::vector<std::wstring> Texts;
    UINT State = 0;
};

std::vector<TListRow> ReadRows(HWND list)
{
    const int columns = Header_GetItemCount(ListView_GetHeader(list));
    std::vector<TListRow> rows(std::size_t(std::max(ListView_GetItemCount(list), 0)));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < columns; ++column)
            rows[row].Texts.push_back(VehicleListText(list, int(row), column));
        rows[row].State = ListView_GetItemState(list, int(row), LVIS_SELECTED | LVIS_FOCUSED);
    }
    return rows;
}

void WriteRows(HWND list, const std::vector<TListRow>& rows)
{
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].Texts.size(); ++column) {
            LVITEMW item{};
            item.iSubItem = int(column);
            item.pszText = const_cast<wchar_t*>(rows[row].Texts[column].c_str());
            SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        }
        ListView_SetItemState(list, int(row), rows[row].State, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

// IDs as numbers, then as the user's locale orders texts.
bool Precedes(const std::wstring& a, const std::wstring& b, int column)
{
    if (column == 0) {
        const long long x = std::wcstoll(a.c_str(), nullptr, 10);
        const long long y = std::wcstoll(b.c_str(), nullptr, 10);
        if (x != y)
            return x < y;
    }
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(), int(b.size())) ==
           CSTR_LESS_THAN;
}

} // namespace

void AddVehicleListTypeAhead(HWND list)
{
    SetWindowSubclass(list, &TypeAheadProcedure, TypeAheadSubclassId, 0);
}

namespace {

void SortRows(HWND list, int column, bool reversed)
{
    SetPropW(list, SortProperty, reinterpret_cast<HANDLE>(INT_PTR(reversed ? -(column + 1) : column + 1)));
    std::vector<TListRow> rows = ReadRows(list);
    std::stable_sort(rows.begin(), rows.end(), [column, reversed](const TListRow& a, const TListRow& b) {
        const std::size_t at = std::size_t(column);
        return reversed ? Precedes(b.Texts.at(at), a.Texts.at(at), column)
                        : Precedes(a.Texts.at(at), b.Texts.at(at), column);
    });
    WriteRows(list, rows);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (selected >= 0)
        ListView_EnsureVisible(list, selected, FALSE);
}

} // namespace

void SortVehicleListByColumn(HWND list, int column)
{
    const auto previous = reinterpret_cast<INT_PTR>(GetPropW(list, SortProperty));
    SortRows(list, column, previous == column + 1);
}

void SortVehicleListAsBefore(HWND list)
{
    const auto previous = reinterpret_cast<INT_PTR>(GetPropW(list, SortProperty));
    if (previous != 0)
        SortRows(list, int(std::abs(previous)) - 1, previous < 0);
}

void SelectVehicleListRow(HWND list, int row)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0)
        return;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

} // namespace vehmira::gui
