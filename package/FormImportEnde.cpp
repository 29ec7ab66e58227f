#include "package/FormImportEnde.h"

#include "fileio/Errors.h"
#include "package/FormCarFiles.h"
#include "package/FormImportTyp.h"
#include "shell/Application.h"
#include "shell/ErrorBox.h"
#include "shell/VehicleListView.h"
#include "shell/FormMain.h"
#include "shell/WideText.h"

#include <commctrl.h>

#include <array>

namespace {

const TFormLayout TForm_ImportEndeSpec{
    .Caption = L"Импорт транспортного средства",
    .Width = 298,
    .Height = 379,
    .Border = TBorderKind::Dialog,
    .SystemMenu = true,
};

const std::array<TControlLayout, 5> ImportEndeControls{{
    {TControlKind::Label, "Label1", "", 37, 16, 161, 31, L"Какое транспортное средство\r\nВы хотите заменить?"},
    {TControlKind::GroupBox, "GroupBox1", "", 32, 56, 233, 265, L" Транспортные средства "},
    {TControlKind::ListView, "ListView1", "GroupBox1", 24, 32, 185, 209, L""},
    {TControlKind::Button, "Button1", "", 32, 336, 113, 25, L"Отмена"},
    {TControlKind::Button, "Button2", "", 152, 336, 113, 25, L"Импорт"},
}};

// A failure the user is told about before the general failure message.
TImportError FailureWithMessage(const std::string& message)
{
    return TImportError(message, message);
}

} // namespace

TForm_ImportEnde::TForm_ImportEnde(TVehmiraApp& app)
    : TForm(TForm_ImportEndeSpec, ImportEndeControls, app.FormMain->Handle()), App(app)
{
    SetUpVehicleListView(Control("ListView1"));
}

void TForm_ImportEnde::ShowModalForPackage(const std::filesystem::path& package)
{
    struct TForgetPackage {
        std::optional<std::filesystem::path>& Package;
        ~TForgetPackage() { Package.reset(); }
    };
    DroppedPackage = package;
    const TForgetPackage forget{DroppedPackage};
    ShowModal();
}

void TForm_ImportEnde::FormShow()
{
    CopyVehicleListRows(App.FormMain->Control("List_ID"), Control("ListView1"));
}

void TForm_ImportEnde::OnCommand(int id, int notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("Button1"))
        Button1Click();
    else if (id == ControlId("Button2"))
        Button2Click();
}

void TForm_ImportEnde::Button1Click()
{
    Close();
}

void TForm_ImportEnde::Button2Click()
{
    RunImport();
    Close();
}

// Every failure is trapped here: its own message, when it has one, then the failure message.
void TForm_ImportEnde::RunImport()
{
    std::string message;
    try {
        const TVehicleRecord& target = TargetVehicle();
        const TImportSource source = ChosenSource();
        ImportVehicle(App.FormMain->GameContext(), target, source);
        ShowPlainMessage(Handle(), Wide(ImportSucceededText));
        return;
    } catch (const TImportError& error) {
        message = error.UserMessage;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
    }
    if (!message.empty())
        ShowPlainMessage(Handle(), Wide(message));
    ShowPlainMessage(Handle(), Wide(ImportFailedText));
}

// The selected row's ID names the target; the last definition with that ID wins.
const TVehicleRecord& TForm_ImportEnde::TargetVehicle() const
{
    const TFormMain& main = *App.FormMain;
    if (main.GameContext().Archive == nullptr || main.VehicleDefs() == nullptr)
        throw FailureWithMessage(NoGameOpenText);
    HWND list = Control("ListView1");
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (row < 0)
        throw TImportError("", "no vehicle is selected");
    const std::string idText = Utf8(VehicleListText(list, row, 0));
    std::int32_t id = 0;
    if (!ParseVehicleID(idText, id))
        throw FailureWithMessage("\"" + idText + "\" не является целым числом.");
    const TVehicleRecord* vehicle = main.VehicleDefs()->FindLastByID(id);
    if (vehicle == nullptr)
        throw FailureWithMessage("Транспортное средство с ID " + std::to_string(id) +
                                 " не найдено в Data\\Vehicles.ide.");
    return *vehicle;
}

TImportSource TForm_ImportEnde::ChosenSource() const
{
    if (DroppedPackage)
        return *DroppedPackage;
    if (App.FormImportTyp->PackageImportSelected())
        return std::filesystem::path(App.FormImportTyp->ImportFileName());
    return App.FormCarFiles->ImportFiles();
}
