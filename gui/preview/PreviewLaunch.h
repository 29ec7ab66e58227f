#pragma once
// Opening the preview: for a vehicle of the open game (the main window's
// "Просмотр"), and for the package or files about to be imported (the replace
// dialog's "Просмотр..."). A refusal is shown over the owner in a message box,
// in the window's words where it has them.

#include "engine/Import.h"
#include "fileio/Errors.h"
#include "operations/GameSession.h"

#include <windows.h>

#include <cstdint>

namespace vehmira::gui {

// session is null while no game directory is open.
void ShowGameVehiclePreview(HWND owner, operations::TGameSession* session, std::int32_t id);
// With a game open its shared vehicle dictionary is searched for textures too.
void ShowImportSourcePreview(HWND owner, const engine::TImportSource& source, const operations::TGameSession* session);
void ShowPreviewRefusal(HWND owner, const fileio::TVehmiraError& error);

} // namespace vehmira::gui
