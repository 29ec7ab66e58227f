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
constexpr int Margin = 8;
constexpr int ButtonRowHeight = 32; // the buttons' 25 and the margins around them

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
    FitIntoWorkArea();
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
// what the window gains or loses, and every pane its height.
void TFormPreview::LayOutPanes(int clientWidth, int clientHeight)
{
    const auto scale = [this](int value) { return framework::ScaleToDpi(value, Dpi()); };
    const int margin = scale(Margin);
    const int panesBottom = clientHeight - scale(ButtonRowHeight);
    const int panelRight = scale(TexturePanelBounds.right);
    const int summaryWidth = scale(SummaryBounds.right - SummaryBounds.left);
    const int summaryLeft = std::max(clientWidth - margin - summaryWidth, panelRight + 3 * margin);
    const int modelLeft = panelRight + margin;
    const auto place = [](HWND window, int left, int top, int right, int bottom) {
        SetWindowPos(window, nullptr, left, top, std::max(right - left, 1), std::max(bottom - top, 1),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Panel->Handle(), margin, margin, panelRight, panesBottom);
    place(Model->Handle(), modelLeft, margin, summaryLeft - margin, panesBottom);
    place(Summary, summaryLeft, margin, summaryLeft + summaryWidth, panesBottom);
    const int buttonTop = panesBottom + margin;
    RECT close{};
    GetWindowRect(Control("CloseButton"), &close);
    const int closeWidth = close.right - close.left;
    SetWindowPos(Control("ResetViewButton"), nullptr, modelLeft, buttonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Control("CloseButton"), nullptr, clientWidth - margin - closeWidth, buttonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> TFormPreview::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && Panel && Model && Summary && wParam != SIZE_MINIMIZED) {
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
