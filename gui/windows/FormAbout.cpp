#include "gui/windows/FormAbout.h"

#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"
#include "gui/common/FormTexts.h"

#include "VehmiraVersion.h"

#include <array>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout AboutFormSpec{
    .Caption = L"",
    .Width = 301,
    .Height = 182,
    .Border = framework::TBorderKind::Dialog,
};

const std::array<framework::TControlLayout, 5> AboutControls{{
    {TControlKind::BoldLabel, "TitleLabel", "", 24, 3, 0, 0, L"Vehmira"},
    {TControlKind::Label, "VersionLabel", "", 25, 21, 0, 0, L""},
    {TControlKind::Label, "CreditsLabel", "", 24, 42, 253, 85, L""},
    {TControlKind::Label, "BlankLabel", "", 25, 150, 0, 0, L""},
    {TControlKind::Button, "OKButton", "", 203, 145, 75, 25, L"OK"},
}};

// The credits hold a label and its value per line.
const std::array<TControlText, 1> AboutTexts{{{"CreditsLabel", TTextKey::Credits}}};

} // namespace

TFormAbout::TFormAbout(TVehmiraApp& app) : framework::TForm(AboutFormSpec, AboutControls, app.FormMain->Handle())
{
    SetDialogKeys("OKButton", "OKButton");
    ApplyInterfaceTexts();
}

void TFormAbout::ApplyInterfaceTexts()
{
    SetControlText("VersionLabel", InterfaceText(TTextKey::VersionText, {VEHMIRA_VERSION_WIDE}));
    ApplyFormTexts(*this, TTextKey::AboutCaption, AboutTexts);
}

void TFormAbout::OnCommand(int id, int notifyCode)
{
    if (notifyCode == BN_CLICKED && id == ControlId("OKButton"))
        OKButtonClick();
}

void TFormAbout::OKButtonClick()
{
    Close();
}

} // namespace vehmira::gui
