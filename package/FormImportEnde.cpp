#include "package/FormImportEnde.h"

#include "fileio/Errors.h"
#include "package/FormCarFiles.h"
#include "package/FormImportTyp.h"
#include "shell/Application.h"
#include "shell/ErrorBox.h"
#include "shell/FixedColumns.h"
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

struct TColumnSpec {
    const wchar_t* Caption;
    int Width;
};
constexpr std::array<TColumnSpec, 2> VehicleColumns{{{L"ID", 50}, {L"Название", 114}}};
constexpr std::size_t ListTextCapacity = 1024;

std::wstring ListItemText(HWND list, int row, int column)
{
    std::wstring text(ListTextCapacity, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length =
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void SetListItemText(HWND list, int row, int column, std::wstring& text)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Replaces the rows of target by a copy of the rows of source, both columns, none selected.
void CopyListRows(HWND source, HWND target)
{
    ListView_DeleteAllItems(target);
    const int rows = ListView_GetItemCount(source);
    for (int row = 0; row < rows; ++row) {
        std::wstring id = ListItemText(source, row, 0);
        std::wstring name = ListItemText(source, row, 1);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = id.data();
        const auto index = static_cast<int>(SendMessageW(target, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetListItemText(target, index, 1, name);
    }
}

// A failure the user is told about before the general failure message.
TImportError FailureWithMessage(const std::string& message)
{
    return TImportError(message, message);
}

} // namespace

TForm_ImportEnde::TForm_ImportEnde(TVehmiraApp& app)
    : TForm(TForm_ImportEndeSpec, ImportEndeControls, app.FormMain->Handle()), App(app)
{
    HWND list = Control("ListView1");
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < VehicleColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(VehicleColumns[i].Caption);
        column.cx = VehicleColumns[i].Width;
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
    FixColumnWidths(list);
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
    CopyListRows(App.FormMain->Control("List_ID"), Control("ListView1"));
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
    const std::string idText = Utf8(ListItemText(list, row, 0));
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
