// The main window at any size: the vehicle list takes what the window gains,
// the export choices and the commands keep to its right edge. Never smaller
// than the written layout.

#include "gui/windows/FormMain.h"

#include "gui/common/VehicleListView.h"
#include "gui/framework/Dpi.h"

#include <array>
#include <string_view>

namespace vehmira::gui {

namespace {

// Margins of the written layout (96 DPI), kept at every size.
constexpr int RightMargin = 21;      // the right column's groups to the window's edge
constexpr int BottomMargin = 23;     // the vehicles' group to the window's bottom
constexpr int ColumnGap = 7;         // the vehicles' group to the right column
constexpr int ListInset = 24;        // the list's right edge inside its group
constexpr int StatusBottomInset = 7; // the status line's bottom inside the group
constexpr int StatusHeight = 41;
constexpr int StatusGap = 4;         // between the list and the status line

constexpr std::array<std::string_view, 10> RightColumn{
    "Group_Export",  "Check_DFF",      "Check_TXD",     "Check_GXT",    "Check_Handling",
    "Check_Vehicles", "Check_Carcols", "Group_Commands", "Button_Export", "Button_Import"};

RECT ClientBounds(HWND form, HWND control)
{
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void Place(HWND control, const RECT& bounds)
{
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void TFormMain::LayOutForClientSize(int width, int height)
{
    const auto scale = [this](int value) { return framework::ScaleToDpi(value, Dpi()); };
    const int shift = width - scale(RightMargin) - ClientBounds(Handle(), Control("Group_Export")).right;
    for (const std::string_view name : RightColumn) {
        RECT bounds = ClientBounds(Handle(), Control(name));
        OffsetRect(&bounds, shift, 0);
        Place(Control(name), bounds);
    }
    RECT group = ClientBounds(Handle(), Control("Group_Cars"));
    group.right = ClientBounds(Handle(), Control("Group_Export")).left - scale(ColumnGap);
    group.bottom = height - scale(BottomMargin);
    Place(Control("Group_Cars"), group);
    RECT status = ClientBounds(Handle(), Control("Label_ListStatus"));
    status.right = group.right - scale(ListInset);
    status.bottom = group.bottom - scale(StatusBottomInset);
    status.top = status.bottom - scale(StatusHeight);
    Place(Control("Label_ListStatus"), status);
    RECT list = ClientBounds(Handle(), Control("List_ID"));
    list.right = status.right;
    list.bottom = status.top - scale(StatusGap);
    Place(Control("List_ID"), list);
    FitVehicleListColumns(Control("List_ID"), Dpi());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TFormMain::LimitToWrittenSize(MINMAXINFO& limits, SIZE writtenClientSize) const
{
    RECT smallest{0, 0, framework::ScaleToDpi(writtenClientSize.cx, Dpi()),
                  framework::ScaleToDpi(writtenClientSize.cy, Dpi())};
    AdjustWindowRectEx(&smallest, DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE)), TRUE,
                       DWORD(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    limits.ptMinTrackSize = {smallest.right - smallest.left, smallest.bottom - smallest.top};
}

} // namespace vehmira::gui
