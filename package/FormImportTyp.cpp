#include "package/FormImportTyp.h"

#include "shell/Application.h"
#include "shell/FormMain.h"

namespace {

const TFormSpec TFormImportTypSpec{
    .Caption = L"Импорт транспортного средства",
    .Width = 298,
    .Height = 213,
    .Border = TBorderKind::Dialog,
    .SystemMenu = true,
};

} // namespace

TFormImportTyp::TFormImportTyp(TVehmiraApp& app) : TForm(TFormImportTypSpec, {}, app.FormMain->Handle()), App(app) {}
