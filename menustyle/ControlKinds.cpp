#include "menustyle/ControlKinds.h"

#include <string>

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

TControlKind ClassifyButton(LONG_PTR style)
{
    const LONG_PTR type = style & BS_TYPEMASK;
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return pushLike ? TControlKind::SpeedButton : TControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return pushLike ? TControlKind::SpeedButton : TControlKind::RadioButton;
    case BS_GROUPBOX:
        return TControlKind::GroupBox;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return (style & (BS_BITMAP | BS_ICON)) ? TControlKind::BitButton : TControlKind::Button;
    default:
        return TControlKind::None;
    }
}

bool IsPanel(const std::wstring& name, LONG_PTR style)
{
    const LONG_PTR type = style & SS_TYPEMASK;
    return SameClass(name, L"Static") && ((style & SS_SUNKEN) || type == SS_ETCHEDFRAME);
}

} // namespace

TControlKind ClassifyControl(HWND control)
{
    const std::wstring name = ClassOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (SameClass(name, L"ComboBox"))
        return TControlKind::Combo;
    if (SameClass(name, L"Edit"))
        return (style & ES_MULTILINE) ? TControlKind::Memo : TControlKind::Edit;
    if (SameClass(name, L"RichEdit20W") || SameClass(name, L"RichEdit20A") || SameClass(name, L"RICHEDIT50W"))
        return TControlKind::RichEdit;
    if (SameClass(name, L"Button"))
        return ClassifyButton(style);
    if (SameClass(name, L"msctls_updown32"))
        return TControlKind::UpDown;
    if (IsPanel(name, style))
        return TControlKind::Panel;
    return TControlKind::None;
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

std::optional<TXPControl> RequiredControlElement(TControlKind kind)
{
    switch (kind) {
    case TControlKind::Combo: return xcCombo;
    case TControlKind::Edit: return xcEdit;
    case TControlKind::Memo: return xcMemo;
    case TControlKind::RichEdit: return xcRichEdit;
    case TControlKind::CheckBox: return xcCheckBox;
    case TControlKind::RadioButton: return xcRadioButton;
    case TControlKind::Button: return xcButton;
    case TControlKind::BitButton: return xcBitBtn;
    case TControlKind::UpDown: return xcButton;
    case TControlKind::SpeedButton: return xcSpeedButton;
    case TControlKind::Panel: return xcPanel;
    case TControlKind::GroupBox: return xcGroupBox;
    case TControlKind::None: break;
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
