#pragma once
// Import wizard, the separate-files dialog: DFF and TXD files, the name and the text lines.

#include "engine/Import.h"
#include "gui/common/TextKeys.h"
#include "gui/framework/Window.h"
#include "gui/wizard/ImportWizardHost.h"

#include <string>

namespace vehmira::gui {

class TFormCarFiles : public framework::TForm {
public:
    TFormCarFiles(TImportWizardHost& host, const TImportWizardSteps& steps);

    // The seven fields as the engine takes them: the two paths as typed, the
    // texts in the game's code page 1251. A character that code page cannot
    // hold is a TVehmiraError naming its field.
    engine::TImportFiles ImportFiles() const;

    // Every run of the wizard starts blank; going back and forth within one keeps the fields.
    void ClearFields();
    void FormShow() override;
    void BrowseDffButtonClick();
    void BrowseTxdButtonClick();
    void CancelButtonClick();
    // Back to the choice of the import's kind, every field kept for the next visit.
    void BackButtonClick();
    // Whether the user went back to the choice of the import's kind.
    bool WentBackToKind() const { return WentBack; }
    void NextButtonClick();
    void ApplyInterfaceTexts() override;

protected:
    void OnCommand(int id, int notifyCode) override;

private:
    // The check of the two files under the fields, once both name files.
    void ShowFilesCheck();
    // Shows an open dialog for the kind of file the filter names, starting
    // from its last picked name; a picked file's full path goes into the field.
    void PickFileInto(std::wstring& lastPicked, std::string_view field, TTextKey filter);
    std::string GameText(std::string_view field, std::wstring_view fieldTitle) const;
    // Tells what keeps the fields from an import, if anything; true when they can go on.
    bool FieldsCanGoOn() const;

    TImportWizardHost& Host;
    const TImportWizardSteps& Steps;
    std::wstring LastPickedFileName;
    std::wstring OpenDialog2FileName;
    bool WentBack = false;
};

} // namespace vehmira::gui
