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
    framework::ShowPlainMessage(owner, framework::Wide(ImportFailureMessage(error).value_or(error.what())));
}

void ShowGameVehiclePreview(HWND owner, operations::TGameSession* session, std::int32_t id)
{
    operations::TVehiclePreview preview;
    try {
        if (!session)
            throw fileio::TVehmiraError(fileio::TErrorKind::NoOpenArchive, "no game directory is open");
        preview = operations::PreviewGameVehicle(*session, id);
    } catch (const fileio::TVehmiraError& error) {
        ShowPreviewRefusal(owner, error);
        return;
    }
    ShowVehiclePreview(owner, std::move(preview));
}

void ShowImportSourcePreview(HWND owner, const engine::TImportSource& source, const operations::TGameSession* session)
{
    const std::optional<std::filesystem::path> game =
        session ? std::optional(session->Location().GameDirectory) : std::nullopt;
    operations::TVehiclePreview preview;
    try {
        if (const auto* package = std::get_if<std::filesystem::path>(&source))
            preview = operations::PreviewPackage(*package, game);
        else
            preview = operations::PreviewFiles(std::get<engine::TImportFiles>(source).DFF,
                                               std::get<engine::TImportFiles>(source).TXD, game);
    } catch (const fileio::TVehmiraError& error) {
        ShowPreviewRefusal(owner, error);
        return;
    }
    ShowVehiclePreview(owner, std::move(preview));
}

} // namespace vehmira::gui
