#include "gui/windows/FormPath.h"

#include "fileio/Errors.h"
#include "operations/GameSession.h"
#include "gui/windows/Application.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/common/FormTexts.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/framework/WideText.h"

#include <array>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

constexpr const wchar_t* PathSection = L"Dorvelin";
constexpr const wchar_t* PathKey = L"Path";

const framework::TFormLayout PathFormSpec{
    .Caption = L"",
    .Width = 362,
    .Height = 141,
    .Border = framework::TBorderKind::Single,
};

// In tab order, as the layout reads: the field, then the buttons left to right.
const std::array<framework::TControlLayout, 5> PathControls{{
    {TControlKind::Label, "Label_Path", "", 32, 24, 218, 13, L""},
    {TControlKind::Edit, "Edit_Path", "", 32, 48, 297, 21, L""},
    {TControlKind::Button, "Button_Search", "", 32, 88, 97, 25, L""},
    {TControlKind::Button, "Button_Cancel", "", 144, 88, 89, 25, L""},
    {TControlKind::Button, "Button_OK", "", 240, 88, 89, 25, L"OK"},
}};

const std::array<TControlText, 3> PathTexts{{
    {"Label_Path", TTextKey::PathLabel},
    {"Button_Cancel", TTextKey::CancelButton},
    {"Button_Search", TTextKey::BrowseButton},
}};

std::wstring WithFinalBackslash(std::wstring path)
{
    if (path.back() != L'\\')
        path += L'\\';
    return path;
}

} // namespace

TFormPath::TFormPath(TVehmiraApp& app)
    : framework::TForm(PathFormSpec, PathControls, app.FormMain->Handle()), SettingsFile(app.Environment.SettingsFile),
      App(app)
{
    GamePath = SettingsFile.ReadString(PathSection, PathKey, L"NONE");
    SetDialogKeys("Button_OK", "Button_Cancel");
    ApplyInterfaceTexts();
}

void TFormPath::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::PathCaption, PathTexts);
}

void TFormPath::FormShow()
{
    // Read anew at each showing; a missing key shows an empty field, not "NONE".
    SetControlText("Edit_Path", SettingsFile.ReadString(PathSection, PathKey, L""));
}

void TFormPath::OnCommand(int id, int notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("Button_Search"))
        Button_SearchClick();
    else if (id == ControlId("Button_OK"))
        Button_OKClick();
    else if (id == ControlId("Button_Cancel"))
        Button_CancelClick();
}

void TFormPath::Button_SearchClick()
{
    const std::wstring typed = ControlText("Edit_Path");
    const std::wstring start = !typed.empty() || GamePath == L"NONE" ? typed : GamePath;
    const std::optional<std::wstring> chosen =
        App.Environment.FileDialogs->FolderName(Handle(), InterfaceText(TTextKey::PathBrowseTitle), start);
    if (!chosen)
        return;
    SetControlText("Edit_Path", WithFinalBackslash(*chosen));
}

void TFormPath::Button_OKClick()
{
    const std::wstring typed = ControlText("Edit_Path");
    // An empty field would store a bare "\", the root of the current drive: keep what is stored.
    if (!typed.empty()) {
        const std::wstring path = WithFinalBackslash(typed);
        RequireGameFiles(path);
        SetControlText("Edit_Path", path);
        GamePath = path;
        WriteSetting(SettingsFile, App.Environment.SettingsFile, PathSection, PathKey, GamePath);
    }
    Close();
}

void TFormPath::RequireGameFiles(const std::wstring& path) const
{
    try {
        operations::RequireGameDirectory({std::filesystem::path(path), framework::Utf8(App.FormLanguage->GXTFileOrFirst())});
    } catch (const fileio::TVehmiraError& refused) {
        // Shown in the interface language; the dialog stays open with the typed text.
        throw fileio::TVehmiraError(WordedErrorMessage(refused).value_or(refused.what()));
    }
}

void TFormPath::Button_CancelClick()
{
    Close();
}

} // namespace vehmira::gui
