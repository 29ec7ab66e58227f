#include "menustyle/ControlSubClass.h"

#include "menustyle/MenuStyler.h"

#include <commctrl.h>

namespace vehmira::menustyle {

namespace {

constexpr UINT_PTR SubclassId = 0x56454D53; // one styler subclass per control
constexpr wchar_t HookedProperty[] = L"Vehmira.SubClass";

} // namespace

TControlSubClass::TControlSubClass(TMenuStyler& styler, HWND target, TStyledControlKind kind)
    : Styler(styler), Target_(target), Kind_(kind)
{
    const LONG_PTR exStyle = GetWindowLongPtrW(target, GWL_EXSTYLE);
    const LONG_PTR style = GetWindowLongPtrW(target, GWL_STYLE);
    if (kind == TStyledControlKind::Edit || kind == TStyledControlKind::Memo || kind == TStyledControlKind::RichEdit) {
        SavedCtl3D = (exStyle & WS_EX_CLIENTEDGE) != 0;
        SavedBorderSingle = SavedCtl3D || (style & WS_BORDER) != 0;
    }
    // A control is hooked once, whichever styler asks.
    if (GetPropW(target, HookedProperty))
        return;
    Hooked_ = SetWindowSubclass(target, &TControlSubClass::SubclassProc, SubclassId,
                                reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (Hooked_)
        SetPropW(target, HookedProperty, reinterpret_cast<HANDLE>(this));
}

TControlSubClass::~TControlSubClass()
{
    RestoreTarget();
}

void TControlSubClass::RestoreTarget()
{
    if (!Hooked_)
        return;
    Hooked_ = false;
    if (!IsWindow(Target_))
        return;
    RemoveWindowSubclass(Target_, &TControlSubClass::SubclassProc, SubclassId);
    RemovePropW(Target_, HookedProperty);
    if (Kind_ == TStyledControlKind::Edit || Kind_ == TStyledControlKind::Memo || Kind_ == TStyledControlKind::RichEdit) {
        const LONG_PTR exStyle = GetWindowLongPtrW(Target_, GWL_EXSTYLE);
        const LONG_PTR wanted = SavedCtl3D ? (exStyle | WS_EX_CLIENTEDGE) : exStyle;
        if (wanted != exStyle) {
            SetWindowLongPtrW(Target_, GWL_EXSTYLE, wanted);
            SetWindowPos(Target_, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    InvalidateRect(Target_, nullptr, TRUE);
}

LRESULT CALLBACK TControlSubClass::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* subClass = reinterpret_cast<TControlSubClass*>(self);
    if (!subClass || subClass->Target_ != window)
        return DefSubclassProc(window, message, wParam, lParam);
    try {
        return subClass->ControlWndProc(message, wParam, lParam);
    } catch (...) {
        // No exception may cross into the system's message dispatch.
        return 0;
    }
}

LRESULT TControlSubClass::ControlWndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefSubclassProc(Target_, message, wParam, lParam);
    if (Painting)
        return result;
    // After the window is gone nothing may stay hooked to it, whatever
    // SuppressUnhook says.
    const bool destroyed = message == WM_NCDESTROY || (message == WM_DESTROY && !SuppressUnhook);
    if (!Styler.Active() || destroyed) {
        RestoreTarget();
        Styler.ReleaseSubClass(this); // frees this object
        return result;
    }
    LastMessage = message;
    if (TrackState(message, wParam, lParam))
        PaintControl();
    return result;
}

bool TControlSubClass::TrackState(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool enabled = IsWindowEnabled(Target_) != FALSE;
    switch (message) {
    case WM_SETFOCUS:
        Hot = true;
        return true;
    case WM_KILLFOCUS:
    case BM_GETCHECK:
    case BM_SETCHECK:
        Hot = false;
        return true;
    case WM_PAINT:
        SuppressUnhook = false;
        return true;
    case WM_WINDOWPOSCHANGED:
    case EM_GETMODIFY:
    case WM_STYLECHANGED:
    case WM_PARENTNOTIFY:
        SuppressUnhook = true;
        return false;
    case BM_SETSTATE:
    case WM_SETTEXT:
    case WM_SYSCOLORCHANGE:
        return true;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE)
            return false;
        SpaceDown = true;
        if (SpaceRepeat)
            return false;
        SpaceRepeat = true;
        return true;
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            return false;
        SpaceDown = false;
        SpaceRepeat = false;
        return true;
    case WM_LBUTTONDOWN:
        ButtonDown = true;
        return true;
    case WM_LBUTTONUP:
        ButtonDown = false;
        return true;
    case WM_LBUTTONDBLCLK:
        // A double click counts as a second press on buttons and check boxes.
        if (Kind_ == TStyledControlKind::Button || Kind_ == TStyledControlKind::BitButton || Kind_ == TStyledControlKind::CheckBox ||
            Kind_ == TStyledControlKind::RadioButton)
            SendMessageW(Target_, WM_LBUTTONDOWN, wParam, lParam);
        return false;
    case WM_ENABLE:
        if (wParam == 0)
            Hot = false;
        return true;
    case WM_MOUSEMOVE: {
        if (TrackingMouse)
            return false;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Target_, 0};
        TrackingMouse = TrackMouseEvent(&track) != FALSE;
        if (!enabled)
            return false;
        Hot = true;
        return true;
    }
    case WM_MOUSELEAVE:
        TrackingMouse = false;
        if (!enabled)
            return false;
        Hot = false;
        return true;
    default:
        return false;
    }
}

void DrawCheckBoxMark(TCanvas& canvas, int x, int y)
{
    for (int i = 0; i < 3; ++i)
        canvas.Polyline({{x + 2, y - i - 5}, {x + 4, y - i - 3}, {x + 9, y - i - 8}});
}

TColor ParentBackgroundColor(HWND control)
{
    const HWND parent = GetParent(control);
    if (!parent)
        return clBtnFace;
    const auto background = static_cast<ULONG_PTR>(GetClassLongPtrW(parent, GCLP_HBRBACKGROUND));
    // A class background of (system colour index + 1) names a system colour.
    if (background > 0 && background <= COLOR_MENUBAR + 1)
        return SystemColor(static_cast<int>(background - 1));
    LOGBRUSH brush{};
    if (background && GetObjectW(reinterpret_cast<HGDIOBJ>(background), sizeof(brush), &brush) &&
        brush.lbStyle == BS_SOLID)
        return brush.lbColor;
    return clBtnFace;
}

TColor ControlColor(HWND control, TStyledControlKind kind)
{
    switch (kind) {
    case TStyledControlKind::Combo:
    case TStyledControlKind::Edit:
    case TStyledControlKind::Memo:
    case TStyledControlKind::RichEdit:
        return clWindow;
    default:
        return ParentBackgroundColor(control);
    }
}

TFont ControlFont(HWND control)
{
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof(logFont), &logFont);
    return TFont::FromLogFont(logFont, clBtnText);
}

} // namespace vehmira::menustyle
