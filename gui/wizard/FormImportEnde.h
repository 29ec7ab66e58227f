#pragma once
// Import wizard, the replace dialog: the target vehicle, the check's verdict
// for it, and the import runs here (after a confirmation when the check finds
// errors).

#include "gamedata/VehiclesIde.h"
#include "engine/Import.h"
#include "fileio/CheckFinding.h"
#include "operations/GameSession.h"
#include "gui/framework/Window.h"
#include "gui/wizard/ImportWizardHost.h"

#include <filesystem>
#include <optional>

namespace vehmira::gui {

class TForm_ImportEnde : public framework::TForm {
public:
    TForm_ImportEnde(TImportWizardHost& host, const TImportWizardSteps& steps);

    // Shows the dialog for a package dropped on the main window: the import
    // takes that package, whatever the wizard's choices are.
    void ShowModalForPackage(const std::filesystem::path& package);

    void FormShow() override;
    void CancelButtonClick();
    // Back to the step that chose the source, everything in it kept.
    void BackButtonClick();
    // Runs the import over the selected vehicle and tells the user how it
    // went, in one message box: the failure with its reason, "nothing to
    // import", or the success.
    void ReplaceButtonClick();
    // Shows the textures and the model of what is about to be imported.
    void PreviewButtonClick();
    void ApplyInterfaceTexts() override;

    // Whether the step that chose the source stays open, with everything as
    // the user left it: the user went back, declined to import despite errors
    // in typed files and lines, or the last run refused what that step chose
    // (a file, a line, the package, or nothing to import).
    bool BackToSourceStep() const { return BackToSource; }

protected:
    void OnCommand(int id, int notifyCode) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Declined: the user said no to importing despite the check's errors.
    enum class TRunOutcome { Imported, Declined, SourceRefused, TargetRefused };
    TRunOutcome RunImport();
    void ShowFailure(const std::string& reason) const;
    TRunOutcome TellNothingToImport() const;
    // The verdict of the check for the selected target, under the list.
    void ShowCheckVerdict();
    // Asks, naming the errors after the plain sentence, whether to import anyway.
    bool ConfirmDespiteErrors(const fileio::TCheckFindings& findings, const std::wstring& plainSentence) const;
    std::wstring SucceededText(const engine::TImportResult& written, std::int32_t target) const;
    // The plain sentence about the findings for the target, with a blank line
    // after it, or nothing.
    std::wstring PlainSentence(const fileio::TCheckFindings& findings, const operations::TGameSession& session,
                               std::int32_t target) const;
    operations::TGameSession& OpenGameSession() const;
    std::int32_t TargetVehicleID(const operations::TGameSession& session) const;
    engine::TImportSource ChosenSource() const;

    TImportWizardHost& Host;
    const TImportWizardSteps& Steps;
    std::optional<std::filesystem::path> DroppedPackage;
    bool BackToSource = false;
};

} // namespace vehmira::gui
