#include "package/FormImportEnde.h"

#include "shell/Application.h"
#include "shell/FormMain.h"

namespace {

const TFormSpec TForm_ImportEndeSpec{
    .Caption = L"Импорт транспортного средства",
    .Width = 298,
    .Height = 379,
    .Border = TBorderKind::Dialog,
    .SystemMenu = true,
};

} // namespace

TForm_ImportEnde::TForm_ImportEnde(TVehmiraApp& app) : TForm(TForm_ImportEndeSpec, {}, app.FormMain->Handle()), App(app) {}
