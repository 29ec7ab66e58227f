#include "gui/preview/FormPreview.h"

#include "gui/common/Language.h"

#include "gui/preview/PreviewTexts.h"
#include "gui/framework/Dpi.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace vehmira::gui {

namespace {

const framework::TFormLayout PreviewFormSpec{
    .Caption = L"",
    .Width = 924,
    .Height = 440,
    .Border = framework::TBorderKind::Sizeable,
    .SystemMenu = true,
    .MaximizeBox = true,
};

// The smallest client area the panes still make sense in, at 96 DPI.
constexpr SIZE SmallestClient{640, 320};

// The texture panel takes the left part (three thumbnails across), the model
// view the middle (its reset button beneath), the summary the right. They are
// created apart from the table: the panel and the view are windows of their
// own classes, and the summary wraps its lines, which the table's edit
// (scrolling sideways) does not.
constexpr RECT TexturePanelBounds{8, 8, 372, 400};
constexpr RECT ModelViewBounds{380, 8, 704, 400};
constexpr RECT SummaryBounds{712, 8, 916, 400};

const std::array<framework::TControlLayout, 2> PreviewControls{{
    {framework::TControlKind::Button, "ResetViewButton", "", 380, 408, 113, 25, L""},
    {framework::TControlKind::Button, "CloseButton", "", 841, 408, 75, 25, L""},
}};

// A pane's written bounds at the form's DPI, as the table's controls are placed.
RECT ScaledBounds(const RECT& written, int dpi)
{
    return RECT{framework::ScaleToDpi(written.left, dpi), framework::ScaleToDpi(written.top, dpi),
                framework::ScaleToDpi(written.right, dpi), framework::ScaleToDpi(written.bottom, dpi)};
}

// The outer size of a window whose client area is that large.
SIZE WindowSizeForClient(HWND window, SIZE client)
{
    RECT bounds{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&bounds, DWORD(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HWND CreateSummary(HWND form, const std::wstring& text, int dpi)
{
    const RECT bounds = ScaledBounds(SummaryBounds, dpi);
    HWND summary = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY,
                                   bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                   form, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!summary)
        throw std::runtime_error("the preview's summary cannot be created");
    SendMessageW(summary, WM_SETFONT, reinterpret_cast<WPARAM>(framework::FormFont(false, dpi)), FALSE);
    return summary;
}

} // namespace

TFormPreview::TFormPreview(HWND owner, operations::TVehiclePreview preview, std::wstring_view subject)
    : framework::TForm(PreviewFormSpec, PreviewControls, owner), Preview(std::move(preview))
{
    SetWindowTextW(Handle(), InterfaceText(TTextKey::PreviewCaptionOf, {subject}).c_str());
    SetControlText("CloseButton", InterfaceText(TTextKey::CloseButton));
    SetControlText("ResetViewButton", InterfaceText(TTextKey::ResetViewButton));
    EnableWindow(Control("ResetViewButton"), Preview.Drawing.has_value());
    SetDialogKeys({}, "CloseButton");
    Panel = std::make_unique<TTexturePanel>(Handle(), ScaledBounds(TexturePanelBounds, Dpi()),
                                            Preview.Dictionary ? &*Preview.Dictionary : nullptr, Dpi());
    Model = std::make_unique<TModelView>(Handle(), ScaledBounds(ModelViewBounds, Dpi()), Preview);
    Summary = CreateSummary(Handle(), PreviewSummaryText(Preview), Dpi());
    HWND summary = Summary;
    // Tab order left to right: the panel, the model view, the summary, then the buttons.
    SetWindowPos(summary, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Model->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Panel->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The written client area: the system may already have cut the window to the screen.
    LaidOutClient = {framework::ScaleToDpi(PreviewFormSpec.Width, Dpi()),
                     framework::ScaleToDpi(PreviewFormSpec.Height, Dpi())};
    FitIntoWorkArea();
    RECT client{};
    GetClientRect(Handle(), &client);
    LayOutPanes(client.right, client.bottom);
}

// A screen narrower than the written size (a 1280-pixel desktop at 144 DPI)
// gets the window as large as its work area, centred there.
void TFormPreview::FitIntoWorkArea()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const int width = std::min<int>(bounds.right - bounds.left, work.right - work.left);
    const int height = std::min<int>(bounds.bottom - bounds.top, work.bottom - work.top);
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The texture panel and the summary keep their widths; the model view takes
// what the window gains or loses beyond the size the layout gave it, and every
// pane its height; the buttons keep to the bottom, Close to the right.
void TFormPreview::LayOutPanes(int clientWidth, int clientHeight)
{
    const int gainX = clientWidth - int(LaidOutClient.cx);
    const int gainY = clientHeight - int(LaidOutClient.cy);
    const auto place = [this](HWND window, const RECT& written, int moveX, int moveY, int growX, int growY) {
        const RECT bounds = ScaledBounds(written, Dpi());
        SetWindowPos(window, nullptr, bounds.left + moveX, bounds.top + moveY,
                     std::max<int>(bounds.right - bounds.left + growX, 1),
                     std::max<int>(bounds.bottom - bounds.top + growY, 1), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Panel->Handle(), TexturePanelBounds, 0, 0, 0, gainY);
    place(Model->Handle(), ModelViewBounds, 0, 0, gainX, gainY);
    place(Summary, SummaryBounds, gainX, 0, 0, gainY);
    const auto move = [this](const char* name, int byX, int byY) {
        RECT bounds{};
        GetWindowRect(Control(name), &bounds);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(Control(name), nullptr, bounds.left + byX, bounds.top + byY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    move("ResetViewButton", 0, gainY - LastGain.cy);
    move("CloseButton", gainX - LastGain.cx, gainY - LastGain.cy);
    LastGain = {gainX, gainY};
}

std::optional<LRESULT> TFormPreview::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && LaidOutClient.cx > 0 && wParam != SIZE_MINIMIZED) {
        LayOutPanes(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    if (message == WM_GETMINMAXINFO) {
        const SIZE smallest = WindowSizeForClient(Handle(), {framework::ScaleToDpi(SmallestClient.cx, Dpi()),
                                                   framework::ScaleToDpi(SmallestClient.cy, Dpi())});
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {smallest.cx, smallest.cy};
        return 0;
    }
    return framework::TForm::OnMessage(message, wParam, lParam);
}

TFormPreview::~TFormPreview() = default;

void TFormPreview::OnCommand(int id, int notifyCode)
{
    if (notifyCode == BN_CLICKED && id == ControlId("CloseButton"))
        CloseButtonClick();
    else if (notifyCode == BN_CLICKED && id == ControlId("ResetViewButton"))
        ResetViewButtonClick();
}

void TFormPreview::ResetViewButtonClick()
{
    Model->ResetPose();
}

void TFormPreview::CloseButtonClick()
{
    Close();
}

void ShowVehiclePreview(HWND owner, operations::TVehiclePreview preview, std::wstring_view subject)
{
    TFormPreview form(owner, std::move(preview), subject);
    form.ShowModal();
}

} // namespace vehmira::gui
