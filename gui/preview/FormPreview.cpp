#include "gui/preview/FormPreview.h"

#include "gui/common/Language.h"

#include "gui/preview/PreviewTexts.h"
#include "gui/framework/Dpi.h"

#include <array>
#include <stdexcept>
#include <string>

namespace vehmira::gui {

namespace {

const framework::TFormLayout PreviewFormSpec{
    .Caption = L"",
    .Width = 924,
    .Height = 440,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

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
    HWND summary = CreateSummary(Handle(), PreviewSummaryText(Preview), Dpi());
    // Tab order left to right: the panel, the model view, the summary, then the buttons.
    SetWindowPos(summary, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Model->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Panel->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
