// The flat painters of the subclassed controls, run after a control has
// painted itself.

#include "menustyle/ControlSubClass.h"
#include "menustyle/MenuStyler.h"

#include <algorithm>

namespace vehmira::menustyle {

namespace {

RECT ClientRect(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

void FrameIn(TCanvas& canvas, TColor color, const RECT& rect)
{
    canvas.SetBrushColor(color);
    canvas.FrameRect(rect);
}

void FillIn(TCanvas& canvas, TColor color, const RECT& rect)
{
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(color);
    canvas.FillRect(rect);
}

void Frame3D(TCanvas& canvas, const RECT& r, TColor topLeft, TColor bottomRight)
{
    canvas.SetPenColor(topLeft);
    canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
    canvas.SetPenColor(bottomRight);
    canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
}

// The square of a check box or radio button: centred vertically in `area`, at
// the right edge when the caption stands left of it.
RECT MarkBox(const RECT& area, int size, bool atRight)
{
    RECT box{};
    box.top = area.top + (area.bottom - area.top - size) / 2;
    box.bottom = box.top + size;
    if (atRight) {
        box.left = area.right - size + 1;
        box.right = area.right;
    } else {
        box.left = area.left;
        box.right = area.left + size - 1;
    }
    return box;
}

// The drop-down arrow: three shrinking rows from (x, y).
void DrawComboArrow(TCanvas& canvas, int x, int y, TColor color)
{
    canvas.SetPenColor(color);
    canvas.Polyline({{x, y}, {x + 5, y}});
    canvas.Polyline({{x + 1, y + 1}, {x + 4, y + 1}});
    canvas.Polyline({{x + 2, y + 2}, {x + 3, y + 2}});
}

} // namespace

void TControlSubClass::PaintControl()
{
    if (!IsWindow(Target_))
        return;
    Focused = GetFocus() == Target_;
    struct TPaintingScope {
        bool& Flag;
        explicit TPaintingScope(bool& flag) : Flag(flag) { Flag = true; }
        ~TPaintingScope() { Flag = false; }
    } scope(Painting);
    if (Kind_ == TStyledControlKind::Memo || Kind_ == TStyledControlKind::RichEdit) {
        PaintBorder();
        return;
    }
    const win32::TWindowDc dc(Target_);
    if (!dc.Handle())
        return;
    TCanvas canvas(dc.Handle());
    Styler.PrepareColors(canvas);
    switch (Kind_) {
    case TStyledControlKind::Combo: PaintCombo(canvas); break;
    case TStyledControlKind::Edit: PaintEdit(canvas); break;
    case TStyledControlKind::CheckBox: PaintCheckBox(canvas); break;
    case TStyledControlKind::RadioButton: PaintRadio(canvas); break;
    case TStyledControlKind::Button:
    case TStyledControlKind::BitButton: PaintButton(canvas); break;
    case TStyledControlKind::SpeedButton:
        if (GetWindowLongPtrW(Target_, GWL_STYLE) & BS_FLAT)
            PaintSpeedButton(canvas);
        break;
    case TStyledControlKind::Panel:
        if (LastMessage == WM_PAINT)
            PaintPanel(canvas);
        break;
    case TStyledControlKind::GroupBox:
        if (LastMessage == WM_PAINT)
            PaintGroupBox(canvas);
        break;
    default: break;
    }
}

void TControlSubClass::PaintCombo(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    const TColor parent = ParentBackgroundColor(Target_);
    const TColor color = ControlColor(Target_, Kind_);
    TColor arrow = IsWindowEnabled(Target_) ? clBlack : clWhite;
    TColor border = work.WorkSelectBorderColor;
    TColor face = work.WorkSelectColor;
    if (!Hot) {
        border = color;
        face = WindowTag(Target_) == ParentColorTag ? LightenColor(canvas, parent, ControlLightStep) : clBtnFace;
        if (Focused) {
            border = LightenColor(canvas, work.WorkSelectBorderColor, 60);
            face = work.WorkCheckFillColor;
        }
    }
    const RECT client = ClientRect(Target_);
    RECT r = client;
    FrameIn(canvas, parent, r);
    InflateRect(&r, -1, -1);
    canvas.SetPenColor(parent);
    canvas.Polyline({{r.left, r.top}, {r.right, r.top}});
    InflateRect(&r, 0, -1);
    if (Hot || Focused)
        InflateRect(&r, 1, 1);
    FrameIn(canvas, color, r);
    r.bottom += 1;
    FrameIn(canvas, border, r);
    if (SendMessageW(Target_, CB_GETDROPPEDSTATE, 0, 0)) {
        border = work.WorkSelectBorderColor;
        arrow = clWhite;
        face = work.WorkCheckFillSelectedColor;
    }
    if ((GetWindowLongPtrW(Target_, GWL_STYLE) & 0x3) == CBS_SIMPLE)
        return;
    InflateRect(&r, -1, -1);
    const bool rightToLeft = (GetWindowLongPtrW(Target_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    const int buttonWidth = GetSystemMetrics(SM_CXHTHUMB) + 1;
    RECT button = rightToLeft ? RECT{r.left, r.top, r.left + buttonWidth, r.bottom}
                              : RECT{r.right - buttonWidth, r.top, r.right, r.bottom};
    if (Hot || Focused) {
        if (rightToLeft)
            button.right += 2;
        else
            button.left -= 1;
    }
    FillIn(canvas, face, button);
    const RECT strip = rightToLeft ? RECT{button.right - 5, button.top, button.right, button.bottom}
                                   : RECT{button.left, button.top, button.left + 5, button.bottom};
    FillIn(canvas, color, strip);
    const int lineX = rightToLeft ? strip.left - 1 : strip.right;
    canvas.SetPenColor(border);
    canvas.Polyline({{lineX, button.top}, {lineX, button.bottom}});
    DrawComboArrow(canvas, rightToLeft ? client.left + 5 : client.right - 10, client.top + 10, arrow);
}

void TControlSubClass::PaintEdit(TCanvas& canvas)
{
    if (GetWindowLongPtrW(Target_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        // The sunken edge gives way to the flat outline drawn below.
        SuppressUnhook = true;
        SetWindowLongPtrW(Target_, GWL_EXSTYLE, GetWindowLongPtrW(Target_, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
        SetWindowPos(Target_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    const TWorkColors& work = Styler.Work();
    const TColor parent = ParentBackgroundColor(Target_);
    TColor frame = SavedBorderSingle ? DarkenColor(canvas, parent, 60) : parent;
    if (Hot || Focused)
        frame = LightenColor(canvas, work.WorkSelectBorderColor, SavedBorderSingle ? 60 : 80);
    canvas.SetPenColor(frame);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.Rectangle(ClientRect(Target_));
}

void TControlSubClass::PaintBorder()
{
    const HWND parent = GetParent(Target_);
    if (!parent)
        return;
    if (SavedBorderSingle && (GetWindowLongPtrW(Target_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE ||
                              GetWindowLongPtrW(Target_, GWL_STYLE) & WS_BORDER)) {
        SuppressUnhook = true;
        SetWindowLongPtrW(Target_, GWL_EXSTYLE, GetWindowLongPtrW(Target_, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
        SetWindowLongPtrW(Target_, GWL_STYLE, GetWindowLongPtrW(Target_, GWL_STYLE) & ~WS_BORDER);
        SetWindowPos(Target_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        // The border width of 2 becomes a two-pixel text margin.
        SendMessageW(Target_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
    }
    const win32::TWindowDc dc(parent);
    TCanvas canvas(dc.Handle());
    Styler.PrepareColors(canvas);
    RECT bounds{};
    GetWindowRect(Target_, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    InflateRect(&bounds, 1, 1);
    const TColor parentColor = ParentBackgroundColor(Target_);
    TColor frame = SavedBorderSingle ? DarkenColor(canvas, parentColor, 60) : parentColor;
    if (Hot || Focused)
        frame = LightenColor(canvas, Styler.Work().WorkSelectBorderColor, 60);
    Frame3D(canvas, bounds, frame, frame);
}

void TControlSubClass::PaintCheckBox(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    const auto state = SendMessageW(Target_, BM_GETSTATE, 0, 0);
    const bool grayed = (state & 0x3) == BST_INDETERMINATE;
    const bool checked = (state & 0x3) == BST_CHECKED;
    TColor fill = clWindow;
    TColor frame = clBtnShadow;
    if (Hot || Focused) {
        fill = work.WorkSelectColor;
        frame = work.WorkSelectBorderColor;
    }
    if (SpaceDown || ButtonDown)
        fill = work.WorkCheckFillSelectedColor;
    if (grayed)
        fill = clSilver;
    RECT area = ClientRect(Target_);
    InflateRect(&area, 0, -3);
    const bool atRight = (GetWindowLongPtrW(Target_, GWL_STYLE) & BS_LEFTTEXT) != 0;
    RECT box = MarkBox(area, GetSystemMetrics(SM_CXHTHUMB), atRight);
    FillIn(canvas, ControlColor(Target_, Kind_), box);
    InflateRect(&box, -2, -2);
    canvas.SetBrushColor(fill);
    canvas.SetPenColor(frame);
    canvas.Rectangle(box);
    if (!checked && !grayed)
        return;
    TColor mark = clHighlight;
    if (!IsWindowEnabled(Target_))
        mark = work.WorkDisabledColor;
    else if (SpaceDown || ButtonDown)
        mark = clWindow;
    else if (grayed)
        mark = clGray;
    canvas.SetPenColor(mark);
    DrawCheckBoxMark(canvas, box.left, box.bottom);
}

void TControlSubClass::PaintRadio(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    TColor fill = clWindow;
    TColor outline = clBtnShadow;
    if (Hot) {
        fill = work.WorkSelectColor;
        outline = work.WorkSelectBorderColor;
    }
    if (Focused)
        fill = work.WorkSelectColor;
    RECT area = ClientRect(Target_);
    InflateRect(&area, 0, -4);
    const bool atRight = (GetWindowLongPtrW(Target_, GWL_STYLE) & BS_LEFTTEXT) != 0;
    RECT box = MarkBox(area, GetSystemMetrics(SM_CXHTHUMB) - 1, atRight);
    FillIn(canvas, ControlColor(Target_, Kind_), box);
    InflateRect(&box, -2, -2);
    canvas.SetBrushColor(fill);
    canvas.SetPenColor(outline);
    canvas.Ellipse(box);
    if ((SendMessageW(Target_, BM_GETCHECK, 0, 0) & BST_CHECKED) == 0)
        return;
    InflateRect(&box, -2, -2);
    const TColor dot = IsWindowEnabled(Target_) ? clHighlight : work.WorkDisabledColor;
    canvas.SetBrushColor(dot);
    canvas.SetPenColor(dot);
    canvas.Ellipse(box);
}

} // namespace vehmira::menustyle
