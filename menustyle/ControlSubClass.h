#pragma once
// A control subclassed by the styler: it follows focus, mouse and key state in
// front of the control's own window procedure and, after the control has
// painted itself, paints the flat look over it.
//
// The state changes the painting reacts to arrive as these Win32 messages:
// mouse enter is the first WM_MOUSEMOVE (which starts TrackMouseEvent), mouse
// leave WM_MOUSELEAVE, focus exit WM_KILLFOCUS, enabled-changed WM_ENABLE,
// text-changed WM_SETTEXT, colour-changed WM_SYSCOLORCHANGE, border-changed
// WM_STYLECHANGED, the child notification WM_PARENTNOTIFY. Every control here
// is a window, so no paint message is ever swallowed for a windowless one.

#include "menustyle/Canvas.h"
#include "menustyle/ControlKinds.h"

#include <windows.h>

namespace vehmira::menustyle {

class TMenuStyler;

class TControlSubClass {
public:
    TControlSubClass(TMenuStyler& styler, HWND target, TStyledControlKind kind);
    ~TControlSubClass();
    TControlSubClass(const TControlSubClass&) = delete;
    TControlSubClass& operator=(const TControlSubClass&) = delete;

    HWND Target() const { return Target_; }
    TStyledControlKind Kind() const { return Kind_; }
    bool Hooked() const { return Hooked_; }

    bool SuppressUnhook = false;
    bool Hot = false;
    bool ButtonDown = false;
    bool SpaceDown = false;
    bool SpaceRepeat = false;
    bool Focused = false;
    bool SavedCtl3D = false;        // the edit had a sunken client edge
    bool SavedBorderSingle = false; // the edit had a border of any kind
    UINT LastMessage = 0;

    void PaintControl();

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT ControlWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Returns true when the message changed what should be painted.
    bool TrackState(UINT message, WPARAM wParam, LPARAM lParam);
    void RestoreTarget();

    void PaintCombo(TCanvas& canvas);
    void PaintEdit(TCanvas& canvas);
    void PaintBorder();
    void PaintCheckBox(TCanvas& canvas);
    void PaintRadio(TCanvas& canvas);
    void PaintButton(TCanvas& canvas);
    void PaintButtonCaption(TCanvas& canvas, const RECT& client, const RECT& captionRect);
    void PaintGlyphAndCaption(TCanvas& canvas, const RECT& client, int cell, bool checked, bool selected);
    void PaintSpeedButton(TCanvas& canvas);
    void PaintSpeedButtonEdge(TCanvas& canvas, const RECT& client, TColor edge, bool sunk, bool parentTint);
    void PaintPanel(TCanvas& canvas);
    void PaintGroupBox(TCanvas& canvas);

    TMenuStyler& Styler;
    HWND Target_;
    TStyledControlKind Kind_;
    bool Hooked_ = false;
    bool TrackingMouse = false;
    // While painting, the painters' own queries (BM_GETCHECK and the like)
    // pass straight through.
    bool Painting = false;
};

// The check mark of a flat check box: three strokes above (x, y).
void DrawCheckBoxMark(TCanvas& canvas, int x, int y);

// Colours of a control as the painters see them.
TColor ParentBackgroundColor(HWND control);
TColor ControlColor(HWND control, TStyledControlKind kind);
TFont ControlFont(HWND control);

} // namespace vehmira::menustyle
