#include "gui/wizard/FormImportTyp.h"

#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormWizardStep.h"
#include "gui/common/FormTexts.h"

#include <array>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout TFormImportTypSpec{
    .Caption = L"",
    .Width = 298,
    .Height = 213,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

// In tab order. The first radio button opens the radio group, the Cancel button ends it.
const std::array<framework::TControlLayout, 5> ImportTypControls{{
    {TControlKind::Label, "Label_ImportType", "", 27, 16, 222, 30, L""},
    {TControlKind::RadioButton, "Radio_ImportCAR", "", 48, 72, 209, 17, L"", WS_GROUP},
    {TControlKind::RadioButton, "Radio_ImportFiles", "", 48, 96, 225, 17, L""},
    {TControlKind::Button, "Button_Cancel", "", 32, 152, 113, 25, L"", WS_GROUP},
    {TControlKind::Button, "Button_Next", "", 152, 152, 113, 25, L""},
}};

const std::array<TControlText, 5> ImportTypTexts{{
    {"Label_ImportType", TTextKey::ImportKindQuestion},
    {"Radio_ImportCAR", TTextKey::ImportPackageChoice},
    {"Radio_ImportFiles", TTextKey::ImportFilesChoice},
    {"Button_Cancel", TTextKey::CancelButton},
    {"Button_Next", TTextKey::NextButton},
}};

} // namespace

TFormImportTyp::TFormImportTyp(TImportWizardHost& host, const TImportWizardSteps& steps)
    : framework::TForm(TFormImportTypSpec, ImportTypControls, host.WizardOwner()), Host(host), Steps(steps)
{
    // Setting both states also leaves the tab stop on the checked one only.
    SendMessageW(Control("Radio_ImportCAR"), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Control("Radio_ImportFiles"), BM_SETCHECK, BST_UNCHECKED, 0);
    SetDialogKeys("Button_Next", "Button_Cancel");
    ApplyInterfaceTexts();
}

void TFormImportTyp::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::ImportCaption, ImportTypTexts);
}

void TFormImportTyp::OnCommand(int id, int notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("Button_Cancel"))
        Button_CancelClick();
    else if (id == ControlId("Button_Next"))
        Button_NextClick();
}

void TFormImportTyp::FormShow()
{
    Steps.Files->ClearFields();
}

void TFormImportTyp::Button_CancelClick()
{
    Close();
}

// Only one wizard window is on screen at a time: this one steps aside while
// the next is up, and the whole chain closes when the last one does.
void TFormImportTyp::Button_NextClick()
{
    if (PackageImportSelected()) {
        const std::optional<std::wstring> picked =
            Host.FileDialogs().OpenFileName(Handle(), InterfaceText(TTextKey::CarFileFilter), Dialog_ImportFileName);
        if (picked) {
            Dialog_ImportFileName = *picked;
            ShowNextWizardStep(*this, *Steps.Replace);
            // A refused package leaves the choice open for another one.
            if (Steps.Replace->BackToSourceStep())
                return;
        }
    } else {
        ShowNextWizardStep(*this, *Steps.Files);
        if (Steps.Files->WentBackToKind())
            return;
    }
    Close();
}

} // namespace vehmira::gui
