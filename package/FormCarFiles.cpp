#include "package/FormCarFiles.h"

#include "fileio/Errors.h"
#include "gamedata/CodePage1251.h"
#include "package/FormImportEnde.h"
#include "package/FormWizardStep.h"
#include "shell/Application.h"
#include "shell/FormMain.h"
#include "shell/WideText.h"

#include <array>

namespace {

const TFormLayout TFormCarFilesSpec{
    .Caption = L"Импорт транспортного средства",
    .Width = 410,
    .Height = 420,
    .Border = TBorderKind::Dialog,
    .SystemMenu = true,
};

// In tab order. The "..." labels answer clicks (SS_NOTIFY); a field's name is
// cut at its label's edge, not wrapped out of sight.
const std::array<TControlLayout, 20> CarFilesControls{{
    {TControlKind::GroupBox, "GroupBox1", "", 24, 24, 361, 97, L" Файлы "},
    {TControlKind::Label, "Label1", "GroupBox1", 32, 32, 49, 13, L"DFF-файл", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_DFF", "GroupBox1", 96, 28, 217, 21, L""},
    {TControlKind::Label, "Label3", "GroupBox1", 320, 32, 12, 13, L"...", SS_NOTIFY},
    {TControlKind::Label, "Label2", "GroupBox1", 32, 56, 49, 13, L"TXD-файл", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_TXD", "GroupBox1", 96, 52, 217, 21, L""},
    {TControlKind::Label, "Label4", "GroupBox1", 320, 56, 12, 13, L"...", SS_NOTIFY},
    {TControlKind::GroupBox, "GroupBox3", "", 24, 128, 361, 145, L" Файлы настроек транспортного средства "},
    {TControlKind::Label, "Label7", "GroupBox3", 24, 36, 60, 13, L"Handling.cfg", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Handling", "GroupBox3", 96, 32, 217, 21, L""},
    {TControlKind::Edit, "Edit_HandlingSpecial", "GroupBox3", 96, 56, 217, 21, L""},
    {TControlKind::Label, "Label6", "GroupBox3", 24, 84, 56, 13, L"Vehicles.ide", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Vehicles", "GroupBox3", 96, 80, 217, 21, L""},
    {TControlKind::Label, "Label8", "GroupBox3", 24, 108, 55, 13, L"Carcols.dat", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Carcols", "GroupBox3", 96, 104, 217, 21, L""},
    {TControlKind::GroupBox, "GroupBox2", "", 24, 280, 361, 81, L" Название транспортного средства "},
    {TControlKind::Label, "Label5", "GroupBox2", 24, 36, 48, 13, L"Название", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_GXT", "GroupBox2", 96, 32, 217, 21, L""},
    {TControlKind::Button, "Button1", "", 24, 376, 177, 25, L"Отмена"},
    {TControlKind::Button, "Button2", "", 208, 376, 177, 25, L"Далее >>"},
}};

constexpr std::array<const char*, 7> ImportFields{"Edit_DFF",      "Edit_TXD",      "Edit_GXT",    "Edit_Handling",
                                                  "Edit_HandlingSpecial", "Edit_Vehicles", "Edit_Carcols"};

} // namespace

TFormCarFiles::TFormCarFiles(TVehmiraApp& app)
    : TForm(TFormCarFilesSpec, CarFilesControls, app.FormMain->Handle()), App(app)
{
}

void TFormCarFiles::FormShow()
{
    // Every separate-files import starts blank.
    for (const char* field : ImportFields)
        SetControlText(field, L"");
}

void TFormCarFiles::OnCommand(int id, int notifyCode)
{
    // A label's STN_CLICKED has the same code as a button's BN_CLICKED.
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("Label3"))
        Label3Click();
    else if (id == ControlId("Label4"))
        Label4Click();
    else if (id == ControlId("Button1"))
        Button1Click();
    else if (id == ControlId("Button2"))
        Button2Click();
}

void TFormCarFiles::PickFileInto(std::wstring& lastPicked, std::string_view field)
{
    const std::optional<std::wstring> picked = App.Environment.FileDialogs->OpenFileName(Handle(), L"", lastPicked);
    if (!picked)
        return;
    lastPicked = *picked;
    SetControlText(field, *picked);
}

void TFormCarFiles::Label3Click()
{
    PickFileInto(OpenDialog1FileName, "Edit_DFF");
}

void TFormCarFiles::Label4Click()
{
    PickFileInto(OpenDialog2FileName, "Edit_TXD");
}

void TFormCarFiles::Button1Click()
{
    Close();
}

void TFormCarFiles::Button2Click()
{
    ShowNextWizardStep(*this, *App.Form_ImportEnde);
    Close();
}

std::string TFormCarFiles::GameText(std::string_view field, std::wstring_view fieldTitle) const
{
    const std::wstring text = ControlText(field);
    std::optional<std::string> converted = Utf16ToCp1251(std::u16string(text.begin(), text.end()));
    if (!converted)
        throw TVehmiraError("Поле «" + Utf8(fieldTitle) + "» содержит символы, которых нет в кодировке Windows-1251.");
    return std::move(*converted);
}

TImportFiles TFormCarFiles::ImportFiles() const
{
    TImportFiles files;
    files.DFF = std::filesystem::path(ControlText("Edit_DFF"));
    files.TXD = std::filesystem::path(ControlText("Edit_TXD"));
    files.Name = GameText("Edit_GXT", L"Название");
    files.Handling = GameText("Edit_Handling", L"Handling.cfg");
    files.HandlingSpecial = GameText("Edit_HandlingSpecial", L"Handling.cfg, особая строка");
    files.Vehicles = GameText("Edit_Vehicles", L"Vehicles.ide");
    files.Carcols = GameText("Edit_Carcols", L"Carcols.dat");
    return files;
}
