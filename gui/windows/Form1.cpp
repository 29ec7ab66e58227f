#include "gui/windows/Form1.h"

#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormTexts.h"

namespace {

const TFormLayout Form1Spec{
    .Caption = L"",
    .Width = 543,
    .Height = 375,
    .Border = TBorderKind::Sizeable,
    .SystemMenu = true,
    .MinimizeBox = true,
    .MaximizeBox = true,
    .OuterSize = true,
};

} // namespace

TForm1::TForm1(TVehmiraApp& app) : TForm(Form1Spec, {}, app.FormMain->Handle())
{
    ApplyInterfaceTexts();
}

void TForm1::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::ExportCaption, {});
}
