#pragma once
// The path dialog: asks for the game directory and keeps it as GamePath.

#include "gui/framework/SettingsFile.h"
#include "gui/framework/Window.h"

#include <string>

namespace vehmira::gui {

class TVehmiraApp;

class TFormPath : public framework::TForm {
public:
    explicit TFormPath(TVehmiraApp& app);

    framework::TSettingsFile SettingsFile;
    // The game directory, ending in "\"; "NONE" while the settings hold no path.
    std::wstring GamePath;

    // "Обзор...": a folder picker opened at the folder in the field (or the stored one).
    void Button_SearchClick();
    // OK stores the folder only when it holds the game's files; otherwise an
    // error box names what is missing and the dialog stays open, storing nothing.
    void Button_OKClick();
    void Button_CancelClick();
    void ApplyInterfaceTexts() override;
    // Raises, in the interface language, when the folder lacks the game's files.
    void RequireGameFiles(const std::wstring& path) const;

protected:
    void FormShow() override;
    void OnCommand(int id, int notifyCode) override;

private:
    TVehmiraApp& App;
};

} // namespace vehmira::gui
