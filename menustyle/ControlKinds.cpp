#include "menustyle/ControlKinds.h"

#include <string>

namespace vehmira::menustyle {

namespace {

constexpr wchar_t TagProperty[] = L"Vehmira.Tag";

std::wstring ClassOf(HWND window)
{
    wchar_t name[64]{};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

bool SameClass(const std::wstring& name, const wchar_t* expected)
{
    return lstrcmpiW(name.c_str(), expected) == 0;
}

TStyledControlKind ClassifyButton(LONG_PTR style)
{
    const LONG_PTR type = style & BS_TYPEMASK;
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return pushLike ? TStyledControlKind::SpeedButton : TStyledControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return pushLike ? TStyledControlKind::SpeedButton : TStyledControlKind::RadioButton;
    case BS_GROUPBOX:
        return TStyledControlKind::GroupBox;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return (style & (BS_BITMAP | BS_ICON)) ? TStyledControlKind::BitButton : TStyledControlKind::Button;
    default:
        return TStyledControlKind::None;
    }
}

bool IsPanel(const std::wstring& name, LONG_PTR style)
{
    const LONG_PTR type = style & SS_TYPEMASK;
    return SameClass(name, L"Static") && ((style & SS_SUNKEN) || type == SS_ETCHEDFRAME);
}

} // namespace

TStyledControlKind ClassifyControl(HWND control)
{
    const std::wstring name = ClassOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (SameClass(name, L"ComboBox"))
        return TStyledControlKind::Combo;
    if (SameClass(name, L"Edit"))
        return (style & ES_MULTILINE) ? TStyledControlKind::Memo : TStyledControlKind::Edit;
    if (SameClass(name, L"RichEdit20W") || SameClass(name, L"RichEdit20A") || SameClass(name, L"RICHEDIT50W"))
        return TStyledControlKind::RichEdit;
    if (SameClass(name, L"Button"))
        return ClassifyButton(style);
    if (SameClass(name, L"msctls_updown32"))
        return TStyledControlKind::UpDown;
    if (IsPanel(name, style))
        return TStyledControlKind::Panel;
    return TStyledControlKind::None;
}

TContainerKind ClassifyContainer(HWND window)
{
    if (!window)
        return TContainerKind::None;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const std::wstring name = ClassOf(window);
    if (!(style & WS_CHILD))
        return TContainerKind::Form;
    if (SameClass(name, L"#32770"))
        return TContainerKind::Frame;
    if (SameClass(name, L"ToolbarWindow32"))
        return TContainerKind::Toolbar;
    if (SameClass(name, L"ReBarWindow32"))
        return TContainerKind::Coolbar;
    if (IsPanel(name, style))
        return TContainerKind::Panel;
    if (SameClass(name, L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX)
        return TContainerKind::GroupBox;
    if (SameClass(name, L"SysTabControl32"))
        return TContainerKind::TabSheet;
    if (SameClass(name, L"SysPager"))
        return TContainerKind::PageScroller;
    return TContainerKind::None;
}

std::optional<TXPControl> RequiredControlElement(TStyledControlKind kind)
{
    switch (kind) {
    case TStyledControlKind::Combo: return xcCombo;
    case TStyledControlKind::Edit: return xcEdit;
    case TStyledControlKind::Memo: return xcMemo;
    case TStyledControlKind::RichEdit: return xcRichEdit;
    case TStyledControlKind::CheckBox: return xcCheckBox;
    case TStyledControlKind::RadioButton: return xcRadioButton;
    case TStyledControlKind::Button: return xcButton;
    case TStyledControlKind::BitButton: return xcBitBtn;
    case TStyledControlKind::UpDown: return xcButton;
    case TStyledControlKind::SpeedButton: return xcSpeedButton;
    case TStyledControlKind::Panel: return xcPanel;
    case TStyledControlKind::GroupBox: return xcGroupBox;
    case TStyledControlKind::None: break;
    }
    return std::nullopt;
}

std::optional<TXPContainer> RequiredContainerElement(TContainerKind kind)
{
    switch (kind) {
    case TContainerKind::Form: return xccForm;
    case TContainerKind::Frame: return xccFrame;
    case TContainerKind::Toolbar: return xccToolbar;
    case TContainerKind::Coolbar: return xccCoolbar;
    case TContainerKind::Panel: return xccPanel;
    case TContainerKind::GroupBox: return xccGroupBox;
    case TContainerKind::TabSheet: return xccTabSheet;
    case TContainerKind::PageScroller: return xccPageScroller;
    case TContainerKind::None: break;
    }
    return std::nullopt;
}

int WindowTag(HWND window)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, TagProperty)));
}

void SetWindowTag(HWND window, int tag)
{
    if (tag == 0)
        RemovePropW(window, TagProperty);
    else
        SetPropW(window, TagProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(tag)));
}

} // namespace vehmira::menustyle
