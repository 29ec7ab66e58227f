#include "gui/wizard/FormCarFiles.h"

#include "fileio/Errors.h"
#include "gamedata/CodePage1251.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormWizardStep.h"
#include "gui/common/FormTexts.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/framework/ErrorBox.h"
#include "operations/Operations.h"
#include "gui/wizard/ImportCheckText.h"
#include "gui/framework/WideText.h"

#include <array>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout TFormCarFilesSpec{
    .Caption = L"",
    .Width = 410,
    .Height = 480,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

// In tab order. The "..." buttons pick a file for the field before them; a
// field's name is cut at its label's edge, not wrapped out of sight.
const std::array<framework::TControlLayout, 23> CarFilesControls{{
    {TControlKind::GroupBox, "FilesGroup", "", 24, 24, 361, 97, L""},
    {TControlKind::Label, "DffLabel", "FilesGroup", 32, 32, 49, 13, L"", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_DFF", "FilesGroup", 104, 28, 209, 21, L""},
    {TControlKind::Button, "BrowseDffButton", "FilesGroup", 318, 27, 27, 23, L"..."},
    {TControlKind::Label, "TxdLabel", "FilesGroup", 32, 56, 49, 13, L"", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_TXD", "FilesGroup", 104, 52, 209, 21, L""},
    {TControlKind::Button, "BrowseTxdButton", "FilesGroup", 318, 51, 27, 23, L"..."},
    {TControlKind::GroupBox, "LinesGroup", "", 24, 128, 361, 145, L""},
    {TControlKind::Label, "HandlingLabel", "LinesGroup", 24, 36, 60, 13, L"Handling.cfg", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Handling", "LinesGroup", 104, 32, 209, 21, L""},
    {TControlKind::Label, "HandlingSpecialLabel", "LinesGroup", 24, 60, 60, 13, L"", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_HandlingSpecial", "LinesGroup", 104, 56, 209, 21, L""},
    {TControlKind::Label, "VehiclesLabel", "LinesGroup", 24, 84, 56, 13, L"Vehicles.ide", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Vehicles", "LinesGroup", 104, 80, 209, 21, L""},
    {TControlKind::Label, "CarcolsLabel", "LinesGroup", 24, 108, 55, 13, L"Carcols.dat", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_Carcols", "LinesGroup", 104, 104, 209, 21, L""},
    {TControlKind::GroupBox, "NameGroup", "", 24, 280, 361, 81, L""},
    {TControlKind::Label, "NameLabel", "NameGroup", 24, 36, 48, 13, L"", SS_LEFTNOWORDWRAP},
    {TControlKind::Edit, "Edit_GXT", "NameGroup", 104, 32, 209, 21, L""},
    // The check of the model and its textures, once both files are given.
    {TControlKind::Label, "FilesCheckLabel", "", 24, 368, 361, 57, L""},
    {TControlKind::Button, "BackButton", "", 24, 436, 115, 25, L""},
    {TControlKind::Button, "CancelButton", "", 147, 436, 115, 25, L""},
    {TControlKind::Button, "NextButton", "", 270, 436, 115, 25, L""},
}};

const std::array<TControlText, 10> CarFilesTexts{{
    {"FilesGroup", TTextKey::FilesGroup},
    {"DffLabel", TTextKey::DffFile},
    {"TxdLabel", TTextKey::TxdFile},
    {"LinesGroup", TTextKey::LinesGroup},
    {"HandlingSpecialLabel", TTextKey::HandlingSpecialLabel},
    {"NameGroup", TTextKey::NameGroup},
    {"NameLabel", TTextKey::NameLabel},
    {"BackButton", TTextKey::BackButton},
    {"CancelButton", TTextKey::CancelButton},
    {"NextButton", TTextKey::NextButton},
}};

constexpr std::array<const char*, 7> ImportFields{"Edit_DFF",      "Edit_TXD",      "Edit_GXT",    "Edit_Handling",
                                                  "Edit_HandlingSpecial", "Edit_Vehicles", "Edit_Carcols"};

} // namespace

TFormCarFiles::TFormCarFiles(TImportWizardHost& host, const TImportWizardSteps& steps)
    : framework::TForm(TFormCarFilesSpec, CarFilesControls, host.WizardOwner()), Host(host), Steps(steps)
{
    SetDialogKeys("NextButton", "CancelButton");
    ApplyInterfaceTexts();
}

void TFormCarFiles::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::ImportCaption, CarFilesTexts);
}

void TFormCarFiles::ClearFields()
{
    for (const char* field : ImportFields)
        SetControlText(field, L"");
}

void TFormCarFiles::FormShow()
{
    WentBack = false;
}

void TFormCarFiles::OnCommand(int id, int notifyCode)
{
    if (notifyCode == EN_CHANGE && (id == ControlId("Edit_DFF") || id == ControlId("Edit_TXD"))) {
        ShowFilesCheck();
        return;
    }
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("BrowseDffButton"))
        BrowseDffButtonClick();
    else if (id == ControlId("BrowseTxdButton"))
        BrowseTxdButtonClick();
    else if (id == ControlId("CancelButton"))
        CancelButtonClick();
    else if (id == ControlId("BackButton"))
        BackButtonClick();
    else if (id == ControlId("NextButton"))
        NextButtonClick();
}

// Only when both fields name existing files: a path being typed says nothing yet.
void TFormCarFiles::ShowFilesCheck()
{
    const std::filesystem::path model(ControlText("Edit_DFF"));
    const std::filesystem::path textures(ControlText("Edit_TXD"));
    std::wstring verdict;
    std::error_code error;
    if (std::filesystem::is_regular_file(model, error) && std::filesystem::is_regular_file(textures, error)) {
        try {
            // Before a target is chosen the files alone are judged; the game's
            // verdict comes with the target, on the next step.
            verdict = CheckVerdictText(operations::CheckModelFiles(model, textures, Host.OpenGame()),
                                       TTextKey::FilesCheckPassed);
        } catch (const fileio::TVehmiraError& failure) {
            verdict = InterfaceText(TTextKey::CheckNotRun,
                                    {framework::Wide(WordedErrorMessage(failure).value_or(failure.what()))});
        } catch (const std::exception& failure) {
            verdict = InterfaceText(TTextKey::CheckNotRun, {framework::Wide(failure.what())});
        }
    }
    SetControlText("FilesCheckLabel", verdict);
}

void TFormCarFiles::PickFileInto(std::wstring& lastPicked, std::string_view field, TTextKey filter)
{
    const std::optional<std::wstring> picked = Host.FileDialogs().OpenFileName(Handle(), InterfaceText(filter), lastPicked);
    if (!picked)
        return;
    lastPicked = *picked;
    SetControlText(field, *picked);
}

void TFormCarFiles::BrowseDffButtonClick()
{
    PickFileInto(LastPickedFileName, "Edit_DFF", TTextKey::DffFileFilter);
}

void TFormCarFiles::BrowseTxdButtonClick()
{
    PickFileInto(OpenDialog2FileName, "Edit_TXD", TTextKey::TxdFileFilter);
}

void TFormCarFiles::CancelButtonClick()
{
    Close();
}

void TFormCarFiles::BackButtonClick()
{
    WentBack = true;
    Close();
}

void TFormCarFiles::NextButtonClick()
{
    if (!FieldsCanGoOn())
        return;
    ShowNextWizardStep(*this, *Steps.Replace);
    // A refused source, or the user back from the next step, leaves this step
    // open with every field as typed.
    if (!Steps.Replace->BackToSourceStep())
        Close();
}

// The checks the import would make of the fields, made here so that a wrong
// file or an empty form is told on this step, with every field kept.
bool TFormCarFiles::FieldsCanGoOn() const
{
    try {
        if (operations::CheckImportFiles(ImportFiles()))
            return true;
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NothingToImport));
    } catch (const fileio::TVehmiraError& error) {
        framework::ShowPlainMessage(Handle(), framework::Wide(WordedErrorMessage(error).value_or(error.what())));
    }
    return false;
}

std::string TFormCarFiles::GameText(std::string_view field, std::wstring_view fieldTitle) const
{
    const std::wstring text = ControlText(field);
    std::optional<std::string> converted = gamedata::Utf16ToCp1251(std::u16string(text.begin(), text.end()));
    if (!converted)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NotInCodePage, {fieldTitle}));
    return std::move(*converted);
}

engine::TImportFiles TFormCarFiles::ImportFiles() const
{
    engine::TImportFiles files;
    files.DFF = std::filesystem::path(ControlText("Edit_DFF"));
    files.TXD = std::filesystem::path(ControlText("Edit_TXD"));
    files.Name = GameText("Edit_GXT", InterfaceText(TTextKey::NameLabel));
    files.Handling = GameText("Edit_Handling", L"Handling.cfg");
    files.HandlingSpecial = GameText("Edit_HandlingSpecial", InterfaceText(TTextKey::HandlingSpecialField));
    files.Vehicles = GameText("Edit_Vehicles", L"Vehicles.ide");
    files.Carcols = GameText("Edit_Carcols", L"Carcols.dat");
    return files;
}

} // namespace vehmira::gui
