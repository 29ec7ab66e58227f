// Placing a form's controls for its DPI and growing them to their texts.

#include "gui/framework/Dpi.h"
#include "gui/framework/Window.h"
#include "win32/WindowQueries.h"

#include <algorithm>

namespace vehmira::gui::framework {

namespace {

// A drop-down list's window height includes its opened list.
constexpr int DropDownListHeight = 200;
// Room a grown control keeps to the edge of its group box or form.
constexpr int EdgeMargin = 8;
// A button's text keeps this much room to each side of its edge.
constexpr int ButtonPadding = 6;
// A check box's or radio button's box and the gap after it.
constexpr int CheckBoxRoom = 13 + 6;
// A group box's caption starts this far in and needs as much room after it.
constexpr int GroupCaptionRoom = 2 * 9;

RECT Scaled(RECT written, int dpi)
{
    return {ScaleToDpi(written.left, dpi), ScaleToDpi(written.top, dpi), ScaleToDpi(written.right, dpi),
            ScaleToDpi(written.bottom, dpi)};
}

// The text as the control would draw it: DrawText with the control's font.
SIZE DrawnTextSize(HWND control, const std::wstring& text, UINT format, int width)
{
    if (text.empty())
        return {0, 0};
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

} // namespace

SIZE TForm::FittedSize(const TNamedControl& control, RECT placed, int rightLimit) const
{
    const std::wstring text = win32::WindowTextOf(control.Handle);
    SIZE size{placed.right - placed.left, placed.bottom - placed.top};
    const auto scale = [this](int written) { return ScaleToDpi(written, FormDpi); };
    const SIZE natural = DrawnTextSize(control.Handle, text, DT_EXPANDTABS, 0);
    switch (control.Kind) {
    case TControlKind::Label:
    case TControlKind::BoldLabel: {
        if (control.SizeToText)
            return {std::max<LONG>(natural.cx, 1), natural.cy};
        const bool wraps = (GetWindowLongPtrW(control.Handle, GWL_STYLE) & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
        if (!wraps)
            return {std::max(size.cx, natural.cx), std::max(size.cy, natural.cy)};
        // Wider first, as far as the next control or the form's edge, so that
        // lines break where they were written; then taller.
        const int room = rightLimit - placed.left - scale(EdgeMargin);
        size.cx = std::max<LONG>(size.cx, std::min<LONG>(natural.cx, room));
        const SIZE wrapped = DrawnTextSize(control.Handle, text, DT_EXPANDTABS | DT_WORDBREAK, size.cx);
        return {std::max(size.cx, wrapped.cx), std::max(size.cy, wrapped.cy)};
    }
    case TControlKind::Button:
        return {std::max<LONG>(size.cx, natural.cx + 2 * scale(ButtonPadding)), size.cy};
    case TControlKind::CheckBox:
    case TControlKind::RadioButton:
        return {std::max<LONG>(size.cx, natural.cx + scale(CheckBoxRoom)), std::max(size.cy, natural.cy)};
    case TControlKind::GroupBox:
        return {std::max<LONG>(size.cx, natural.cx + scale(GroupCaptionRoom)), size.cy};
    case TControlKind::Edit:
    case TControlKind::DropDownList:
    case TControlKind::ListView:
    case TControlKind::ProgressBar:
    case TControlKind::TextBox:
        break;
    }
    return size;
}

int TForm::RightLimit(std::size_t index, int clientWidth) const
{
    const TNamedControl& label = Controls[index];
    int limit = clientWidth;
    for (const TNamedControl& other : Controls) {
        const bool beside = other.ParentIndex == label.ParentIndex && other.Written.left >= label.Written.right &&
                            other.Written.top < label.Written.bottom && other.Written.bottom > label.Written.top;
        if (beside)
            limit = std::min(limit, ScaleToDpi(other.Written.left, FormDpi));
    }
    return limit;
}

void TForm::LayOut()
{
    const HFONT font = FormFont(false, FormDpi);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SIZE client{ScaleToDpi(WrittenClient.cx, FormDpi), ScaleToDpi(WrittenClient.cy, FormDpi)};
    std::vector<RECT> placed;
    for (const TNamedControl& control : Controls) {
        SendMessageW(control.Handle, WM_SETFONT,
                     reinterpret_cast<WPARAM>(FormFont(control.Kind == TControlKind::BoldLabel, FormDpi)), FALSE);
        RECT bounds = Scaled(control.Written, FormDpi);
        const SIZE fitted = FittedSize(control, bounds, RightLimit(placed.size(), client.cx));
        bounds.right = bounds.left + fitted.cx;
        bounds.bottom = bounds.top + fitted.cy;
        placed.push_back(bounds);
    }
    // A group box holds its grown controls, and the form holds everything.
    const int margin = ScaleToDpi(EdgeMargin, FormDpi);
    for (std::size_t i = placed.size(); i-- > 0;) {
        if (const int parent = Controls[i].ParentIndex; parent >= 0) {
            placed[parent].right = std::max(placed[parent].right, placed[i].right + margin);
            placed[parent].bottom = std::max(placed[parent].bottom, placed[i].bottom + margin);
        }
    }
    for (const RECT& bounds : placed) {
        client.cx = std::max<LONG>(client.cx, bounds.right + margin);
        client.cy = std::max<LONG>(client.cy, bounds.bottom + margin);
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const RECT& bounds = placed[i];
        const int listHeight =
            Controls[i].Kind == TControlKind::DropDownList ? ScaleToDpi(DropDownListHeight, FormDpi) : 0;
        SetWindowPos(Controls[i].Handle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top + listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ResizeForm(client);
    InvalidateRect(Handle(), nullptr, TRUE);
    OnLaidOut();
}

void TForm::ResizeForm(SIZE client)
{
    RECT bounds{0, 0, client.cx, client.cy};
    if (OuterSize) {
        bounds = {0, 0, ScaleToDpi(WrittenClient.cx, FormDpi), ScaleToDpi(WrittenClient.cy, FormDpi)};
    } else {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
        AdjustWindowRectEx(&bounds, style, HasMenu || GetMenu(Handle()) != nullptr, exStyle);
    }
    SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace vehmira::gui::framework
