#include "gui/windows/FormLanguage.h"

#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/common/FormTexts.h"
#include "gui/common/InterfaceTexts.h"

#include <array>
#include <cwchar>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

constexpr const wchar_t* LanguageSection = L"Vehmira";

const framework::TFormLayout LanguageFormSpec{
    .Caption = L"",
    .Width = 235,
    .Height = 234,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

// In tab order, as the layout reads: the two groups from the top down, then Cancel and OK.
const std::array<framework::TControlLayout, 6> LanguageControls{{
    {TControlKind::GroupBox, "GroupBox_Language", "", 16, 16, 201, 81, L""},
    {TControlKind::DropDownList, "Combo_Language", "GroupBox_Language", 30, 32, 145, 21, L""},
    {TControlKind::GroupBox, "Group_GXT", "", 16, 104, 201, 81, L""},
    {TControlKind::DropDownList, "Combo_GXT", "Group_GXT", 30, 32, 145, 21, L"", CBS_SORT},
    {TControlKind::Button, "Button_Cancel", "", 16, 192, 97, 25, L""},
    {TControlKind::Button, "Button_OK", "", 120, 192, 97, 25, L"OK"},
}};

const std::array<TControlText, 3> LanguageTexts{{
    {"GroupBox_Language", TTextKey::LanguageGroup},
    {"Button_Cancel", TTextKey::LanguageCancelButton},
    {"Group_GXT", TTextKey::GxtGroup},
}};

constexpr std::array<const wchar_t*, 5> GXTFileNames{L"American.gxt", L"French.gxt", L"German.gxt",
                                                     L"Italian.gxt", L"Spanish.gxt"};

} // namespace

std::wstring SelectedComboText(HWND combo)
{
    const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring TFormLanguage::GXTFileOrFirst() const
{
    return GXTFileName == L"NONE" ? std::wstring(GXTFileNames.front()) : GXTFileName;
}

TFormLanguage::TFormLanguage(TVehmiraApp& app)
    : framework::TForm(LanguageFormSpec, LanguageControls, app.FormMain->Handle()),
      SettingsFile(app.Environment.SettingsFile), App(app)
{
    LanguageName = SettingsFile.ReadString(LanguageSection, L"Language", L"NONE");
    GXTFileName = SettingsFile.ReadString(LanguageSection, L"GXT", L"NONE");
    LanguageChosen = LanguageName != L"NONE";
    FillGXTChoices(GXTFileNames.front());
    SetDialogKeys("Button_OK", "Button_Cancel");
    ApplyInterfaceTexts();
}

// The usual five names and every .gxt file of the game's Text folder (a
// translation's russian.gxt too), the named one selected.
void TFormLanguage::FillGXTChoices(const std::wstring& selected)
{
    HWND gxtList = Control("Combo_GXT");
    SendMessageW(gxtList, CB_RESETCONTENT, 0, 0);
    const auto add = [gxtList](const std::wstring& name) {
        // The list's own search ignores case, as Windows' file names do.
        if (SendMessageW(gxtList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())) ==
            CB_ERR)
            SendMessageW(gxtList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    };
    for (const wchar_t* name : GXTFileNames)
        add(name);
    const std::wstring& gamePath = App.FormPath->GamePath;
    std::error_code error;
    if (gamePath != L"NONE")
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(gamePath) / L"Text", error))
            if (entry.is_regular_file(error) && _wcsicmp(entry.path().extension().c_str(), L".gxt") == 0)
                add(entry.path().filename().wstring());
    if (SendMessageW(gxtList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(selected.c_str())) ==
        CB_ERR)
        SendMessageW(gxtList, CB_SETCURSEL, 0, 0);
}

void TFormLanguage::ApplyInterfaceTexts()
{
    ApplyFormTexts(*this, TTextKey::LanguageCaption, LanguageTexts);
}

std::wstring StoredLanguageName(const std::filesystem::path& settingsFile)
{
    return framework::TSettingsFile(settingsFile).ReadString(LanguageSection, L"Language", L"NONE");
}

// The languages are read anew at each showing. The language in use is
// selected (OK without a change keeps it), before any choice the one of the
// Windows interface, else the first; the GXT choice stays as the user last left it.
void TFormLanguage::FormShow()
{
    HWND languageList = Control("Combo_Language");
    SendMessageW(languageList, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& language : framework::ReadSectionNames(App.Environment.LanguageFile))
        SendMessageW(languageList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.c_str()));
    const std::wstring wanted = LanguageChosen ? LanguageName : LanguageForUiLanguage(GetUserDefaultUILanguage());
    const auto found =
        SendMessageW(languageList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()));
    SendMessageW(languageList, CB_SETCURSEL, found == CB_ERR ? 0 : found, 0);
    const std::wstring gxtShown = SelectedComboText(Control("Combo_GXT"));
    FillGXTChoices(gxtShown.empty() ? GXTFileOrFirst() : gxtShown);
}

void TFormLanguage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("Button_OK"))
        Button_OKClick();
    else if (id == ControlId("Button_Cancel"))
        Button_CancelClick();
}

void TFormLanguage::Button_OKClick()
{
    LanguageName = SelectedComboText(Control("Combo_Language"));
    GXTFileName = SelectedComboText(Control("Combo_GXT"));
    WriteSetting(SettingsFile, App.Environment.SettingsFile, LanguageSection, L"Language", LanguageName);
    WriteSetting(SettingsFile, App.Environment.SettingsFile, LanguageSection, L"GXT", GXTFileName);
    LanguageChosen = true;
    App.ApplyLanguage(LanguageName);
    Close();
}

void TFormLanguage::Button_CancelClick()
{
    Close();
}

} // namespace vehmira::gui
