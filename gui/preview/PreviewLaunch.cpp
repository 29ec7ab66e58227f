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

namespace {
// A refusal in the window's words where it has them, else the core's facts.
void ShowRefusal(HWND owner, const TVehmiraError& error)
{
    ShowPlainMessage(owner, Wide(ImportFailureMessage(error).value_or(error.what())));
}
} // namespace

void TFormMain::PreviewMenuClick()
{
    const std::optional<std::wstring> idText = SelectedVehicleID();
    if (!idText) {
        ShowPlainMessage(Handle(), InterfaceText(TTextKey::NoVehicleSelected));
        return;
    }
    std::int32_t id = 0;
    if (!ParseVehicleID(Utf8(*idText), id)) {
        ShowPlainMessage(Handle(), InterfaceText(TTextKey::NotAnInteger, {*idText}) + L".");
        return;
    }
    TVehiclePreview preview;
    try {
        if (!Session)
            throw TVehmiraError(TErrorKind::NoOpenArchive, "no game directory is open");
        preview = PreviewGameVehicle(*Session, id);
    } catch (const TVehmiraError& error) {
        ShowRefusal(Handle(), error);
        return;
    }
    ShowVehiclePreview(Handle(), std::move(preview));
}

void TForm_ImportEnde::PreviewButtonClick()
{
    const TGameSession* session = App.FormMain->OpenGame();
    const std::optional<std::filesystem::path> game =
        session ? std::optional(session->Location().GameDirectory) : std::nullopt;
    TVehiclePreview preview;
    try {
        const TImportSource source = ChosenSource();
        if (const auto* package = std::get_if<std::filesystem::path>(&source))
            preview = PreviewPackage(*package, game);
        else
            preview = PreviewFiles(std::get<TImportFiles>(source).DFF, std::get<TImportFiles>(source).TXD, game);
    } catch (const TVehmiraError& error) {
        ShowRefusal(Handle(), error);
        return;
    }
    ShowVehiclePreview(Handle(), std::move(preview));
}
