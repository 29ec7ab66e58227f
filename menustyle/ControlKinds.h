#pragma once
// Which Win32 controls count as which styled control kind, and which parent
// windows count as which container kind.
//
//   combo box      "ComboBox"                         xcCombo
//   edit           "Edit" without ES_MULTILINE        xcEdit
//   memo           "Edit" with ES_MULTILINE           xcMemo
//   rich edit      "RichEdit20W/A", "RICHEDIT50W"     xcRichEdit
//   check box      "Button", a check-box style        xcCheckBox
//   radio button   "Button", a radio-button style     xcRadioButton
//   button         "Button", push-button style        xcButton
//   bit button     push button with BS_BITMAP         xcBitBtn
//   up-down        "msctls_updown32"                  xcButton
//   speed button   check or radio with BS_PUSHLIKE    xcSpeedButton
//   panel          "Static" with SS_SUNKEN or SS_ETCHEDFRAME   xcPanel
//   group box      "Button" with BS_GROUPBOX          xcGroupBox
// The masked and data-aware edits, navigators and lookup combos have no Win32
// counterpart and are never recognised.
//
// Containers: a top-level window is a form; a child dialog ("#32770") a frame;
// "ToolbarWindow32" a toolbar; "ReBarWindow32" a cool bar; a panel as above; a
// group box; "SysTabControl32" a tab sheet; "SysPager" a page scroller. Win32
// has no scroll box or control bar.

#include "menustyle/MenuStyler.h"

#include <windows.h>

#include <optional>

namespace vehmira::menustyle {

enum class TStyledControlKind {
    None, Combo, Edit, Memo, RichEdit, CheckBox, RadioButton, Button, BitButton, UpDown, SpeedButton, Panel, GroupBox
};
enum class TContainerKind { None, Form, Frame, Toolbar, Coolbar, Panel, GroupBox, TabSheet, PageScroller };

TStyledControlKind ClassifyControl(HWND control);
TContainerKind ClassifyContainer(HWND window);
std::optional<TXPControl> RequiredControlElement(TStyledControlKind kind);
std::optional<TXPContainer> RequiredContainerElement(TContainerKind kind);

// Win32 windows have no Tag; it is kept as a window property.
int WindowTag(HWND window);
void SetWindowTag(HWND window, int tag);
// A control with this Tag takes its face colour from its parent's background.
constexpr int ParentColorTag = 1000;

} // namespace vehmira::menustyle
