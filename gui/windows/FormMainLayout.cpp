// The main window at any size: the vehicle list takes what the window gains,
// the export choices and the commands keep to its right edge. Never smaller
// than the written layout.

#include "gui/windows/FormMain.h"

#include "gui/common/VehicleListView.h"
#include "gui/framework/Dpi.h"

#include <algorithm>

namespace vehmira::gui {

namespace {

RECT ClientBounds(HWND form, HWND control)
{
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

} // namespace

// What each control does with the room the window gains beyond its layout.
const std::array<TFormMain::TAnchor, 13> TFormMain::Anchors{{
    {"Group_Cars", TGain::Grow, TGain::Grow},
    {"List_ID", TGain::Grow, TGain::Grow},
    {"Label_ListStatus", TGain::Grow, TGain::Move},
    {"Group_Export", TGain::Move, TGain::Keep},
    {"Check_DFF", TGain::Move, TGain::Keep},
    {"Check_TXD", TGain::Move, TGain::Keep},
    {"Check_GXT", TGain::Move, TGain::Keep},
    {"Check_Handling", TGain::Move, TGain::Keep},
    {"Check_Vehicles", TGain::Move, TGain::Keep},
    {"Check_Carcols", TGain::Move, TGain::Keep},
    {"Group_Commands", TGain::Move, TGain::Keep},
    {"Button_Export", TGain::Move, TGain::Keep},
    {"Button_Import", TGain::Move, TGain::Keep},
}};

void TFormMain::OnLaidOut()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    LaidOutClient = {client.right, client.bottom};
    for (std::size_t i = 0; i < Anchors.size(); ++i)
        LaidOutBounds[i] = ClientBounds(Handle(), Control(Anchors[i].Name));
}

void TFormMain::LayOutForClientSize(int width, int height)
{
    if (LaidOutClient.cx == 0)
        return; // still being created
    const int gainX = std::max<int>(width - LaidOutClient.cx, 0);
    const int gainY = std::max<int>(height - LaidOutClient.cy, 0);
    const auto apply = [](TGain gain, LONG& low, LONG& high, int by) {
        if (gain == TGain::Move)
            low += by;
        if (gain != TGain::Keep)
            high += by;
    };
    for (std::size_t i = 0; i < Anchors.size(); ++i) {
        RECT bounds = LaidOutBounds[i];
        apply(Anchors[i].Horizontal, bounds.left, bounds.right, gainX);
        apply(Anchors[i].Vertical, bounds.top, bounds.bottom, gainY);
        SetWindowPos(Control(Anchors[i].Name), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitVehicleListColumns(Control("List_ID"), Dpi());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TFormMain::LimitToLaidOutSize(MINMAXINFO& limits) const
{
    if (LaidOutClient.cx == 0)
        return;
    RECT smallest{0, 0, LaidOutClient.cx, LaidOutClient.cy};
    AdjustWindowRectEx(&smallest, DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE)), TRUE,
                       DWORD(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    limits.ptMinTrackSize = {smallest.right - smallest.left, smallest.bottom - smallest.top};
}

} // namespace vehmira::gui
