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
constexpr std::array<TVehicleColumn, 2> VehicleColumns{{{TTextKey::IdColumn, 50}, {TTextKey::NameColumn, 114}}};
// Longer than any ID or display name the game holds.
constexpr std::size_t ListTextCapacity = 1024;

// The last column takes whatever width the list has beyond the others, less a
// vertical scroll bar's, so that no empty column is left over for it; never
// less than its written width.
int LastColumnWidth(HWND list, int dpi)
{
    RECT client{};
    GetClientRect(list, &client);
    int spare = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (std::size_t i = 0; i + 1 < VehicleColumns.size(); ++i)
        spare -= framework::ScaleToDpi(VehicleColumns[i].Width, dpi);
    return std::max(spare, framework::ScaleToDpi(VehicleColumns.back().Width, dpi));
}

} // namespace

void SetUpVehicleListView(HWND list, int dpi)
{
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < VehicleColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(InterfaceText(VehicleColumns[i].Caption).c_str());
        column.cx = i + 1 < VehicleColumns.size() ? framework::ScaleToDpi(VehicleColumns[i].Width, dpi)
                                                  : LastColumnWidth(list, dpi);
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
    framework::FixColumnWidths(list);
}

void FitVehicleListColumns(HWND list, int dpi)
{
    framework::SetFixedColumnWidth(list, int(VehicleColumns.size()) - 1, LastColumnWidth(list, dpi));
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

void AddVehicleListRow(HWND list, const std::wstring& id, const std::wstring& name)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(id.c_str());
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW subItem{};
    subItem.iSubItem = 1;
    subItem.pszText = const_cast<wchar_t*>(name.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
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
        AddVehicleListRow(target, VehicleListText(source, row, 0), VehicleListText(source, row, 1));
}

} // namespace vehmira::gui
