#include "gui/framework/Window.h"

#include "win32/WindowQueries.h"
#include "gui/framework/Dpi.h"
#include "gui/framework/ErrorBox.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace vehmira::gui::framework {

namespace {

constexpr const wchar_t* FormClassName = L"VehmiraForm";

win32::TFontHandle MakeFormFont(bool bold, int dpi)
{
    return win32::TFontHandle(CreateFontW(-ScaleToDpi(11, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                          FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
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
    case TControlKind::TextBox:
        return {L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    throw std::logic_error("unknown control kind");
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

HFONT FormFont(bool bold, int dpi)
{
    static std::map<std::pair<int, bool>, win32::TFontHandle> fonts;
    win32::TFontHandle& font = fonts[{dpi, bold}];
    if (!font)
        font = MakeFormFont(bold, dpi);
    return font.get();
}

TForm::TForm(const TFormLayout& form, std::span<const TControlLayout> controls, HWND owner)
{
    RegisterFormClass(&TForm::WindowProcedure);
    const TWindowStyles styles = FormStyles(form);
    FormDpi = LayoutDpi();
    WrittenClient = {form.Width, form.Height};
    OuterSize = form.OuterSize;
    HasMenu = form.HasMenu;
    RECT bounds{0, 0, ScaleToDpi(form.Width, FormDpi), ScaleToDpi(form.Height, FormDpi)};
    if (!form.OuterSize)
        AdjustWindowRectEx(&bounds, styles.Style, form.HasMenu, styles.ExStyle);
    const std::wstring caption(form.Caption);
    HWND window = CreateWindowExW(styles.ExStyle, FormClassName, caption.c_str(), styles.Style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, bounds.right - bounds.left, bounds.bottom - bounds.top, owner,
                                  nullptr, GetModuleHandleW(nullptr), this);
    if (!window)
        throw std::runtime_error("a window cannot be created");
    FormDpi = WindowDpi(window); // the monitor's, where it differs from the system's
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(false, FormDpi)), FALSE);
    CreateControls(controls);
    LayOut();
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
        RECT written{};
        HWND control = CreateControl(layout, id, written);
        int parentIndex = -1;
        for (std::size_t i = 0; i < Controls.size(); ++i)
            if (Controls[i].Name == layout.Parent)
                parentIndex = static_cast<int>(i);
        const bool sizeToText = layout.Width == 0 &&
                                (layout.Kind == TControlKind::Label || layout.Kind == TControlKind::BoldLabel);
        Controls.push_back({std::string(layout.Name), control, id, layout.Kind, written, sizeToText, parentIndex});
        ++id;
    }
}

HWND TForm::CreateControl(const TControlLayout& layout, int id, RECT& written)
{
    int left = layout.Left;
    int top = layout.Top;
    if (!layout.Parent.empty()) {
        // Controls in a group box are siblings of it, placed over it, so that
        // their notifications reach the form.
        for (const TNamedControl& parent : Controls)
            if (parent.Name == layout.Parent) {
                left += parent.Written.left;
                top += parent.Written.top;
            }
        Control(layout.Parent); // an unknown parent is a programming error
    }
    written = {left, top, left + layout.Width, top + layout.Height};
    const TControlClass controlClass = ControlClass(layout.Kind);
    const bool bold = layout.Kind == TControlKind::BoldLabel;
    const std::wstring caption(layout.Caption);
    // Created at the written place; LayOut scales it and fits it to its text.
    HWND control = CreateWindowExW(controlClass.ExStyle, controlClass.ClassName, caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | controlClass.Style | layout.ExtraStyle, left, top,
                                   std::max(layout.Width, 1), std::max(layout.Height, 1), Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!control)
        throw std::runtime_error("a control cannot be created: " + std::string(layout.Name));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(bold, FormDpi)), FALSE);
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

std::wstring TForm::ControlText(std::string_view name) const { return win32::WindowTextOf(Control(name)); }

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

} // namespace vehmira::gui::framework
