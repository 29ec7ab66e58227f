#pragma once
// Import wizard, the import-kind dialog: a package or separate files.

#include "gui/framework/Window.h"
#include "gui/wizard/ImportWizardHost.h"

#include <string>

namespace vehmira::gui {

class TFormImportTyp : public framework::TForm {
public:
    TFormImportTyp(TImportWizardHost& host, const TImportWizardSteps& steps);

    // Which source the replace dialog imports from; the choice stays for the run.
    bool PackageImportSelected() const { return IsChecked("Radio_ImportCAR"); }
    // The name last picked in Dialog_Import; empty until one is picked.
    const std::wstring& ImportFileName() const { return Dialog_ImportFileName; }

    // A new run of the wizard: the separate-files step starts blank.
    void FormShow() override;
    void Button_CancelClick();
    void Button_NextClick();
    void ApplyInterfaceTexts() override;

protected:
    void OnCommand(int id, int notifyCode) override;

private:
    TImportWizardHost& Host;
    const TImportWizardSteps& Steps;
    std::wstring Dialog_ImportFileName;
};

} // namespace vehmira::gui
