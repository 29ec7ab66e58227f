#pragma once
// The path dialog: asks for the game directory and keeps it as GamePath.

#include "gui/framework/SettingsFile.h"
#include "gui/framework/Window.h"

#include <string>

namespace vehmira::gui {

class TVehmiraApp;

// The browse dialog's filter in the built-in Russian texts.
inline constexpr const wchar_t* GameExecutableFilter = L"Приложение San Andreas|*.exe|Все файлы|*.*";

class TFormPath : public framework::TForm {
public:
    explicit TFormPath(TVehmiraApp& app);

    framework::TSettingsFile SettingsFile;
    // The game directory, ending in "\"; "NONE" while the settings hold no path.
    std::wstring GamePath;

    void Button_SearchClick();
    void Button_OKClick();
    void Button_CancelClick();
    void ApplyInterfaceTexts() override;

protected:
    void FormShow() override;
    void OnCommand(int id, int notifyCode) override;

private:
    TVehmiraApp& App;
};

} // namespace vehmira::gui
