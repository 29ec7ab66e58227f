// Opening the preview: from the main window for the selected vehicle, and
// from the replace dialog for the package or files about to be imported.

#include "gui/framework/ErrorBox.h"
#include "gui/framework/WideText.h"
#include "gui/preview/FormPreview.h"
#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/Language.h"
#include "gui/windows/InterfaceTexts.h"
#include "gui/wizard/FormImportEnde.h"
#include "operations/VehiclePreview.h"

#include <variant>

namespace vehmira::gui {

namespace {
// A refusal in the window's words where it has them, else the core's facts.
void ShowRefusal(HWND owner, const fileio::TVehmiraError& error)
{
    framework::ShowPlainMessage(owner, framework::Wide(ImportFailureMessage(error).value_or(error.what())));
}
} // namespace

void TFormMain::PreviewMenuClick()
{
    const std::optional<std::wstring> idText = SelectedVehicleID();
    if (!idText) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NoVehicleSelected));
        return;
    }
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(framework::Utf8(*idText), id)) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NotAnInteger, {*idText}) + L".");
        return;
    }
    operations::TVehiclePreview preview;
    try {
        if (!Session)
            throw fileio::TVehmiraError(fileio::TErrorKind::NoOpenArchive, "no game directory is open");
        preview = operations::PreviewGameVehicle(*Session, id);
    } catch (const fileio::TVehmiraError& error) {
        ShowRefusal(Handle(), error);
        return;
    }
    ShowVehiclePreview(Handle(), std::move(preview));
}

void TForm_ImportEnde::PreviewButtonClick()
{
    const operations::TGameSession* session = App.FormMain->OpenGame();
    const std::optional<std::filesystem::path> game =
        session ? std::optional(session->Location().GameDirectory) : std::nullopt;
    operations::TVehiclePreview preview;
    try {
        const engine::TImportSource source = ChosenSource();
        if (const auto* package = std::get_if<std::filesystem::path>(&source))
            preview = operations::PreviewPackage(*package, game);
        else
            preview = operations::PreviewFiles(std::get<engine::TImportFiles>(source).DFF,
                                               std::get<engine::TImportFiles>(source).TXD, game);
    } catch (const fileio::TVehmiraError& error) {
        ShowRefusal(Handle(), error);
        return;
    }
    ShowVehiclePreview(Handle(), std::move(preview));
}

} // namespace vehmira::gui
