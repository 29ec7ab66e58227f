#pragma once
// The language dialog: the language (a section of the language file) and the
// GXT file whose names the vehicle list shows.

#include "gui/framework/SettingsFile.h"
#include "gui/framework/Window.h"

#include <filesystem>
#include <string>

namespace vehmira::gui {

class TVehmiraApp;

class TFormLanguage : public framework::TForm {
public:
    explicit TFormLanguage(TVehmiraApp& app);

    framework::TSettingsFile SettingsFile;
    // Both "NONE" while not set.
    std::wstring LanguageName;
    std::wstring GXTFileName;
    // GXTFileName, or the GXT file the dialog offers first while none is chosen ("NONE").
    std::wstring GXTFileOrFirst() const;

    void Button_OKClick();
    void Button_CancelClick();
    void ApplyInterfaceTexts() override;

protected:
    void FormShow() override;
    void OnCommand(int id, int notifyCode) override;

private:
    void FillGXTChoices(const std::wstring& selected);
    TVehmiraApp& App;
    // A language was stored or OK pressed: the dialog then selects that one.
    bool LanguageChosen = false;
};

// The language Settings.ini holds, "NONE" when it holds none.
std::wstring StoredLanguageName(const std::filesystem::path& settingsFile);

// The selected item's text of a drop-down list, empty when none is selected.
std::wstring SelectedComboText(HWND combo);

} // namespace vehmira::gui
