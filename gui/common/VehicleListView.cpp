#include "gui/common/VehicleListView.h"

#include "gui/framework/Dpi.h"
#include "gui/framework/FixedColumns.h"
#include "gui/common/Language.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace vehmira::gui {

namespace {

struct TVehicleColumn {
    TTextKey Caption;
    int Width; // at 96 DPI
};
constexpr std::array<TVehicleColumn, 3> VehicleColumns{
    {{TTextKey::IdColumn, 50}, {TTextKey::NameColumn, 114}, {TTextKey::ModelColumn, 70}}};
// The name takes whatever width the list has beyond the others.
constexpr std::size_t NameColumnIndex = 1;
// Longer than any ID or display name the game holds.
constexpr std::size_t ListTextCapacity = 1024;

// The name column takes whatever width the list has beyond the others, less a
// vertical scroll bar's, so that no empty column is left over; never less than
// its written width.
int NameColumnWidth(HWND list, int dpi)
{
    RECT client{};
    GetClientRect(list, &client);
    int spare = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (std::size_t i = 0; i < VehicleColumns.size(); ++i)
        if (i != NameColumnIndex)
            spare -= framework::ScaleToDpi(VehicleColumns[i].Width, dpi);
    return std::max(spare, framework::ScaleToDpi(VehicleColumns[NameColumnIndex].Width, dpi));
}

} // namespace

void SetUpVehicleListView(HWND list, int dpi)
{
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < VehicleColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(InterfaceText(VehicleColumns[i].Caption).c_str());
        column.cx = i == NameColumnIndex ? NameColumnWidth(list, dpi) : framework::ScaleToDpi(VehicleColumns[i].Width, dpi);
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
    framework::FixColumnWidths(list);
}

void FitVehicleListColumns(HWND list, int dpi)
{
    framework::SetFixedColumnWidth(list, int(NameColumnIndex), NameColumnWidth(list, dpi));
}

void SetVehicleListColumnTitles(HWND list)
{
    for (std::size_t i = 0; i < VehicleColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(InterfaceText(VehicleColumns[i].Caption).c_str());
        ListView_SetColumn(list, static_cast<int>(i), &column);
    }
}

void AddVehicleListRow(HWND list, const std::wstring& id, const std::wstring& name, const std::wstring& model)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(id.c_str());
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    int column = 1;
    for (const std::wstring* text : {&name, &model}) {
        LVITEMW subItem{};
        subItem.iSubItem = column++;
        subItem.pszText = const_cast<wchar_t*>(text->c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
    }
}

std::wstring VehicleListText(HWND list, int row, int column)
{
    std::wstring text(ListTextCapacity, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length =
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CopyVehicleListRows(HWND source, HWND target)
{
    ListView_DeleteAllItems(target);
    const int rows = ListView_GetItemCount(source);
    for (int row = 0; row < rows; ++row)
        AddVehicleListRow(target, VehicleListText(source, row, 0), VehicleListText(source, row, 1),
                          VehicleListText(source, row, 2));
}

} // namespace vehmira::gui
