#include "package/FormCarFiles.h"

#include "shell/Application.h"
#include "shell/FormMain.h"

namespace {

const TFormSpec TFormCarFilesSpec{
    .Caption = L"Импорт транспортного средства",
    .Width = 410,
    .Height = 420,
    .Border = TBorderKind::Dialog,
    .SystemMenu = true,
};

} // namespace

TFormCarFiles::TFormCarFiles(TVehmiraApp& app) : TForm(TFormCarFilesSpec, {}, app.FormMain->Handle()), App(app) {}
