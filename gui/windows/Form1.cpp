#include "gui/windows/Form1.h"

#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"
#include "gui/common/FormTexts.h"

namespace vehmira::gui {

namespace {

const framework::TFormLayout Form1Spec{
    .Caption = L"",
    .Width = 543,
    .Height = 375,
    .Border = framework::TBorderKind::Sizeable,
    .SystemMenu = true,
    .MinimizeBox = true,
    .MaximizeBox = true,
    .OuterSize = true,
};

} // namespace

TForm1::TForm1(TVehmiraApp& app) : framework::TForm(Form1Spec, {}, app.FormMain->Handle()) { ApplyInterfaceTexts(); }

void TForm1::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::ExportCaption, {});
}

} // namespace vehmira::gui
