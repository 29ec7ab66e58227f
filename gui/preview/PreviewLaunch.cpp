#include "gui/preview/PreviewLaunch.h"

#include "gui/common/InterfaceTexts.h"
#include "gui/framework/ErrorBox.h"
#include "gui/framework/WideText.h"
#include "gui/preview/FormPreview.h"
#include "operations/VehiclePreview.h"

#include <variant>

namespace vehmira::gui {

void ShowPreviewRefusal(HWND owner, const fileio::TVehmiraError& error)
{
    framework::ShowPlainMessage(owner, framework::Wide(WordedErrorMessage(error).value_or(error.what())));
}

void ShowGameVehiclePreview(HWND owner, operations::TGameSession* session, std::int32_t id)
{
    operations::TVehiclePreview preview;
    std::wstring subject;
    try {
        if (!session)
            throw fileio::TVehmiraError(fileio::TErrorKind::NoOpenArchive, "no game directory is open");
        preview = operations::PreviewGameVehicle(*session, id);
        // The model's name as the game's definitions write it, and the ID the list shows.
        subject = framework::WideFromGameText(session->FindVehicle(id).ModelName) + L" (" + std::to_wstring(id) + L")";
    } catch (const fileio::TVehmiraError& error) {
        ShowPreviewRefusal(owner, error);
        return;
    }
    ShowVehiclePreview(owner, std::move(preview), subject);
}

void ShowImportSourcePreview(HWND owner, const engine::TImportSource& source, const operations::TGameSession* session)
{
    const std::optional<std::filesystem::path> game =
        session ? std::optional(session->Location().GameDirectory) : std::nullopt;
    operations::TVehiclePreview preview;
    std::filesystem::path shown;
    try {
        if (const auto* package = std::get_if<std::filesystem::path>(&source)) {
            preview = operations::PreviewPackage(*package, game);
            shown = *package;
        } else {
            const engine::TImportFiles& files = std::get<engine::TImportFiles>(source);
            preview = operations::PreviewFiles(files.DFF, files.TXD, game);
            shown = files.DFF.empty() ? files.TXD : files.DFF;
        }
    } catch (const fileio::TVehmiraError& error) {
        ShowPreviewRefusal(owner, error);
        return;
    }
    ShowVehiclePreview(owner, std::move(preview), shown.filename().wstring());
}

} // namespace vehmira::gui
