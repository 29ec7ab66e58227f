// The main window's "Экспорт": the selected vehicle into a package, named
// after its model unless the user says otherwise.

#include "gui/windows/FormMain.h"

#include "fileio/Errors.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/common/Language.h"
#include "gui/framework/ErrorBox.h"
#include "gui/framework/WideText.h"
#include "operations/Operations.h"
#include "gui/windows/Application.h"

#include <cwctype>
#include <filesystem>

namespace vehmira::gui {

namespace {

// A name typed without ".car" gets it, so that the import's filter shows the package.
std::filesystem::path WithPackageExtension(const std::wstring& chosen)
{
    std::wstring extension = std::filesystem::path(chosen).extension().wstring();
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(c));
    return std::filesystem::path(extension == L".car" ? chosen : chosen + L".car");
}

} // namespace

engine::TExportChoices TFormMain::ExportChoices() const
{
    engine::TExportChoices choices;
    choices.DFF = IsChecked("Check_DFF");
    choices.TXD = IsChecked("Check_TXD");
    choices.GXT = IsChecked("Check_GXT");
    choices.Handling = IsChecked("Check_Handling");
    choices.Vehicles = IsChecked("Check_Vehicles");
    choices.Carcols = IsChecked("Check_Carcols");
    return choices;
}

void TFormMain::ExportButtonClick()
{
    const std::optional<std::wstring> idText = SelectedVehicleID();
    if (!idText) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NoVehicleSelected));
        return;
    }
    // The list can outlive the archive (a failed "Путь"): never export from a closed one.
    if (!Session)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoGameOpen));
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(framework::Utf8(*idText), id))
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NotAnInteger, {*idText}));
    const gamedata::TVehicleRecord* vehicle = Session->Definitions().FindLastByID(id);
    if (!vehicle)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoSuchVehicle, {std::to_wstring(id)}));
    const engine::TExportChoices choices = ExportChoices();
    if (!choices.DFF && !choices.TXD && !choices.GXT && !choices.Handling && !choices.Vehicles && !choices.Carcols) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NoPieceChosen));
        return;
    }
    const std::optional<std::wstring> chosen = App.Environment.FileDialogs->SaveFileName(
        Handle(), InterfaceText(TTextKey::CarFileFilter), framework::Wide(vehicle->ModelName) + L".car");
    if (!chosen)
        return;
    const std::filesystem::path package = WithPackageExtension(*chosen);
    if (std::filesystem::exists(package)) {
        const std::wstring question = InterfaceText(TTextKey::OverwriteQuestion, {package.wstring()});
        if (MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    operations::ExportVehicleByID(*Session, id, choices, package);
    framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::ExportDone, {package.wstring()}));
}

} // namespace vehmira::gui
