#pragma once
// Import wizard, the replace dialog: the target vehicle, the check's verdict
// for it, and the import runs here (after a confirmation when the check finds
// errors).

#include "gamedata/VehiclesIde.h"
#include "engine/Import.h"
#include "fileio/CheckFinding.h"
#include "operations/GameSession.h"
#include "gui/framework/Window.h"

#include <filesystem>
#include <optional>

namespace vehmira::gui {

class TVehmiraApp;

class TForm_ImportEnde : public framework::TForm {
public:
    explicit TForm_ImportEnde(TVehmiraApp& app);

    // Shows the dialog for a package dropped on the main window: the import
    // takes that package, whatever the wizard's choices are.
    void ShowModalForPackage(const std::filesystem::path& package);

    void FormShow() override;
    void CancelButtonClick();
    // Runs the import over the selected vehicle, tells the user how it went
    // and closes the dialog.
    void ReplaceButtonClick();
    // Shows the textures and the model of what is about to be imported
    // (gui/preview/PreviewLaunch.cpp).
    void PreviewButtonClick();
    void ApplyInterfaceTexts() override;

protected:
    void OnCommand(int id, int notifyCode) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RunImport();
    // The verdict of the check for the selected target, under the list.
    void ShowCheckVerdict();
    // Asks, naming the errors, whether to import anyway.
    bool ConfirmDespiteErrors(const fileio::TCheckFindings& findings) const;
    operations::TGameSession& OpenGameSession() const;
    std::int32_t TargetVehicleID(const operations::TGameSession& session) const;
    engine::TImportSource ChosenSource() const;

    TVehmiraApp& App;
    std::optional<std::filesystem::path> DroppedPackage;
};

} // namespace vehmira::gui
