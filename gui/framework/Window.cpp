#include "gui/framework/Window.h"

#include "win32/WindowQueries.h"
#include "gui/framework/ErrorBox.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

constexpr const wchar_t* FormClassName = L"VehmiraForm";
// A drop-down list's window height includes its opened list.
constexpr int DropDownListHeight = 200;

TFontHandle MakeFormFont(bool bold)
{
    return TFontHandle(CreateFontW(-11, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
}

void RegisterFormClass(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = FormClassName;
        if (!RegisterClassExW(&windowClass))
            throw std::runtime_error("the form window class cannot be registered");
        return true;
    }();
    (void)registered;
}

struct TWindowStyles {
    DWORD Style;
    DWORD ExStyle;
};

TWindowStyles FormStyles(const TFormLayout& form)
{
    DWORD style = WS_CAPTION;
    DWORD exStyle = 0;
    switch (form.Border) {
    case TBorderKind::Single:
        style |= WS_BORDER;
        break;
    case TBorderKind::Dialog:
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TBorderKind::Sizeable:
        style |= WS_THICKFRAME;
        break;
    }
    if (form.SystemMenu)
        style |= WS_SYSMENU;
    if (form.MinimizeBox)
        style |= WS_MINIMIZEBOX;
    if (form.MaximizeBox)
        style |= WS_MAXIMIZEBOX;
    return {style, exStyle};
}

struct TControlClass {
    const wchar_t* ClassName;
    DWORD Style;
    DWORD ExStyle;
};

TControlClass ControlClass(TControlKind kind)
{
    switch (kind) {
    case TControlKind::Label:
    case TControlKind::BoldLabel:
        return {L"STATIC", SS_LEFT, 0};
    case TControlKind::Edit:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case TControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case TControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case TControlKind::RadioButton:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case TControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case TControlKind::DropDownList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case TControlKind::ListView:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case TControlKind::ProgressBar:
        return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    }
    throw std::logic_error("unknown control kind");
}

SIZE TextExtent(HFONT font, std::wstring_view text)
{
    SIZE size{};
    HDC screen = GetDC(nullptr);
    {
        TSelectGuard selected(screen, font);
        GetTextExtentPoint32W(screen, text.data(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(nullptr, screen);
    return size;
}

} // namespace

TWindowHandle& TWindowHandle::operator=(TWindowHandle&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

HWND TWindowHandle::Release()
{
    return std::exchange(Handle, nullptr);
}

void TWindowHandle::Reset(HWND handle)
{
    HWND old = std::exchange(Handle, handle);
    if (old && IsWindow(old))
        DestroyWindow(old);
}

HFONT FormFont(bool bold)
{
    static const TFontHandle normal = MakeFormFont(false);
    static const TFontHandle boldFont = MakeFormFont(true);
    return bold ? boldFont.get() : normal.get();
}

TForm::TForm(const TFormLayout& form, std::span<const TControlLayout> controls, HWND owner)
{
    RegisterFormClass(&TForm::WindowProcedure);
    const TWindowStyles styles = FormStyles(form);
    RECT bounds{0, 0, form.Width, form.Height};
    if (!form.OuterSize)
        AdjustWindowRectEx(&bounds, styles.Style, form.HasMenu, styles.ExStyle);
    const std::wstring caption(form.Caption);
    HWND window = CreateWindowExW(styles.ExStyle, FormClassName, caption.c_str(), styles.Style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, bounds.right - bounds.left, bounds.bottom - bounds.top, owner,
                                  nullptr, GetModuleHandleW(nullptr), this);
    if (!window)
        throw std::runtime_error("a window cannot be created");
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    CreateControls(controls);
    CentreOnScreen();
}

TForm::~TForm()
{
    if (HWND window = Window.Get())
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

void TForm::CreateControls(std::span<const TControlLayout> controls)
{
    int id = FirstControlId;
    for (const TControlLayout& layout : controls) {
        HWND control = CreateControl(layout, id);
        Controls.push_back({std::string(layout.Name), control, id});
        ++id;
    }
}

HWND TForm::CreateControl(const TControlLayout& layout, int id)
{
    int left = layout.Left;
    int top = layout.Top;
    if (!layout.Parent.empty()) {
        // Controls in a group box are siblings of it, placed over it, so that
        // their notifications reach the form.
        RECT parent{};
        GetWindowRect(Control(layout.Parent), &parent);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&parent), 2);
        left += parent.left;
        top += parent.top;
    }
    const TControlClass controlClass = ControlClass(layout.Kind);
    const bool bold = layout.Kind == TControlKind::BoldLabel;
    int width = layout.Width;
    int height = layout.Height;
    if (width == 0) {
        const SIZE text = TextExtent(FormFont(bold), layout.Caption);
        width = std::max<int>(text.cx, 1);
        height = text.cy;
    }
    if (layout.Kind == TControlKind::DropDownList)
        height += DropDownListHeight;
    const std::wstring caption(layout.Caption);
    HWND control = CreateWindowExW(controlClass.ExStyle, controlClass.ClassName, caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | controlClass.Style | layout.ExtraStyle, left, top, width,
                                   height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control)
        throw std::runtime_error("a control cannot be created: " + std::string(layout.Name));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(bold)), FALSE);
    return control;
}

HWND TForm::Control(std::string_view name) const
{
    for (const TNamedControl& control : Controls)
        if (control.Name == name)
            return control.Handle;
    throw std::logic_error("no control named " + std::string(name));
}

int TForm::ControlId(std::string_view name) const
{
    return GetDlgCtrlID(Control(name));
}

std::wstring TForm::ControlText(std::string_view name) const
{
    return WindowTextOf(Control(name));
}

void TForm::SetControlText(std::string_view name, std::wstring_view text)
{
    const std::wstring value(text);
    SetWindowTextW(Control(name), value.c_str());
}

bool TForm::IsChecked(std::string_view name) const
{
    return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm::CentreOnScreen()
{
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::OnCommand(int, int) {}

std::optional<LRESULT> TForm::OnMessage(UINT, WPARAM, LPARAM)
{
    return std::nullopt;
}
