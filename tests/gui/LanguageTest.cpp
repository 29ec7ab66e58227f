// The interface languages: the shipped language file, switching on OK in the
// language dialog, the fall-backs to the built-in Russian texts, and the
// language offered at the first start.

#include "gui/GuiFixture.h"
#include "gui/framework/WideText.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/common/Language.h"
#include "gui/windows/MainMenu.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

std::wstring Caption(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring MenuText(HMENU menu, UINT item, UINT flag)
{
    wchar_t caption[128] = {};
    GetMenuStringW(menu, item, caption, 128, flag);
    return caption;
}

std::wstring ColumnTitle(HWND list, int column)
{
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    Header_GetItem(ListView_GetHeader(list), column, &item);
    return text;
}

class TLanguageTest : public TGuiTest {
protected:
    void TearDown() override
    {
        TGuiTest::TearDown();
        SetCurrentLanguage(TLanguage()); // the next test starts in Russian
    }

    std::vector<std::string> ChooseLanguage(const std::wstring& language)
    {
        TFormLanguage& dialog = *App->FormLanguage;
        return Menu(LanguageMenu, [&](TUser& user) {
            user.WaitShown(dialog.Handle(), "the language dialog");
            const std::vector<std::wstring> items = user.ComboItems(dialog.Control("Combo_Language"));
            const auto found = std::find(items.begin(), items.end(), language);
            ASSERT_NE(found, items.end()) << Utf8(language);
            user.SelectComboItem(dialog.Control("Combo_Language"), static_cast<int>(found - items.begin()));
            user.Click(dialog.Control("Button_OK"));
            user.WaitHidden(dialog.Handle(), "the language dialog");
        });
    }
};

TEST_F(TLanguageTest, ShippedFileHoldsEveryTextInRussianAsBuiltInAndInEnglish)
{
    WriteShippedLanguageFile();
    EXPECT_EQ(ReadSectionNames(LanguagePath()), (std::vector<std::wstring>{L"Русский", L"English"}));
    const TLanguage russian = TLanguage::Load(LanguagePath(), L"Русский");
    const TLanguage english = TLanguage::Load(LanguagePath(), L"English");
    // Texts the same in both languages; every other one has its English words.
    const std::vector<TTextKey> sameInEnglish{TTextKey::IdColumn, TTextKey::LanguageCancelButton};
    for (TTextKey key : AllTextKeys()) {
        SCOPED_TRACE(Utf8(TextKeyName(key)));
        EXPECT_EQ(russian.Text(key), RussianText(key));
        EXPECT_FALSE(english.Text(key).empty());
        if (std::find(sameInEnglish.begin(), sameInEnglish.end(), key) == sameInEnglish.end()) {
            EXPECT_NE(english.Text(key), RussianText(key)) << "no English text";
        }
        EXPECT_EQ(english.Text(key).find_first_of(L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя"),
                  std::wstring::npos)
            << Utf8(english.Text(key));
    }
}

TEST_F(TLanguageTest, OkInTheLanguageDialogSwitchesEveryWindowAtOnce)
{
    WriteGame();
    WriteShippedLanguageFile();
    WriteSettings(GamePathText(), L"Русский", L"American.gxt");
    EXPECT_NO_PROBLEMS(Start());
    TFormMain& main = *App->FormMain;
    ASSERT_EQ(Caption(main.Handle()), L"Vehmira 1.0 :: Русская версия от Korvast Localisations");
    EXPECT_NO_PROBLEMS(ChooseLanguage(L"English"));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"English");

    EXPECT_EQ(Caption(main.Handle()), L"Vehmira 1.0 :: English version");
    const std::pair<const char*, std::wstring> mainTexts[] = {
        {"Group_Export", L" Export "}, {"Check_DFF", L"DFF file"},     {"Check_GXT", L"GXT file"},
        {"Group_Commands", L" Action "}, {"Button_Export", L"&Export"}, {"Button_Import", L"&Import"},
        {"Group_Cars", L" Vehicles "}, {"Check_Handling", L"Handling.cfg"},
    };
    for (const auto& [name, text] : mainTexts)
        EXPECT_EQ(Caption(main.Control(name)), text) << name;
    EXPECT_EQ(ColumnTitle(main.Control("List_ID"), 1), L"Name");
    EXPECT_EQ(Rows().size(), 4u) << "the game's names stay as they are";

    HMENU bar = GetMenu(main.Handle());
    EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), L"&File  ");
    EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), L"&Settings  ");
    EXPECT_EQ(MenuText(bar, 2, MF_BYPOSITION), L"&Help  ");
    const std::pair<UINT, std::wstring> items[] = {{UndoImportMenu, L"&Undo import"}, {ExitMenu, L"E&xit"},
                                                   {GamePathMenu, L"&Path"},          {LanguageMenu, L"&Language"},
                                                   {AboutMenu, L"&About"}};
    for (const auto& [command, text] : items)
        EXPECT_EQ(MenuText(bar, command, MF_BYCOMMAND), text);

    TFormImportTyp& kind = *App->FormImportTyp;
    EXPECT_EQ(Caption(kind.Handle()), L"Import a vehicle");
    EXPECT_EQ(kind.ControlText("Label_ImportType"), L"How do you want to import\r\nthe vehicle?");
    EXPECT_EQ(kind.ControlText("Radio_ImportFiles"), L"Import separate files");
    EXPECT_EQ(kind.ControlText("Button_Next"), L"&Next >>");
    TFormCarFiles& files = *App->FormCarFiles;
    EXPECT_EQ(files.ControlText("LinesGroup"), L" Vehicle settings files ");
    EXPECT_EQ(files.ControlText("NameLabel"), L"Name");
    EXPECT_EQ(files.ControlText("CancelButton"), L"Cancel");
    TForm_ImportEnde& replace = *App->Form_ImportEnde;
    EXPECT_EQ(replace.ControlText("QuestionLabel"), L"Which vehicle do you\r\nwant to replace?");
    EXPECT_EQ(ColumnTitle(replace.Control("TargetList"), 1), L"Name");
    EXPECT_EQ(Caption(App->FormPath->Handle()), L"Path");
    EXPECT_EQ(App->FormPath->ControlText("Button_Search"), L"&Browse...");
    EXPECT_EQ(Caption(App->FormLanguage->Handle()), L"Choose language");

    // A message and a file dialog's filter speak English too.
    EXPECT_NO_PROBLEMS(ClickMain("Button_Export", [](TUser& user) {
        EXPECT_EQ(user.AnswerMessageBox().Text, L"  Please select a vehicle first!");
    }));
    SelectRow(0);
    EXPECT_NO_PROBLEMS(ClickMain("Button_Export"));
    ASSERT_FALSE(FileDialogs.Calls.empty());
    EXPECT_EQ(FileDialogs.Calls.back().Filter, L"CAR files|*.car|All files|*.*");

    // And back: Russian gives exactly the built-in texts again.
    EXPECT_NO_PROBLEMS(ChooseLanguage(L"Русский"));
    EXPECT_EQ(Caption(main.Handle()), L"Vehmira 1.0 :: Русская версия от Korvast Localisations");
    EXPECT_EQ(MenuText(GetMenu(main.Handle()), 0, MF_BYPOSITION), L"&Файл  ");
    EXPECT_EQ(kind.ControlText("Radio_ImportFiles"), L"Импорт нескольких файлов");
}

TEST_F(TLanguageTest, AKeyMissingFromTheSectionShowsTheRussianText)
{
    WriteLanguageText(L"[Русский]\r\n[English]\r\nMainCaption=\"Vehmira :: partly English\"\r\nExportButton=Export\r\n");
    WriteSettings(std::nullopt, L"English", L"American.gxt");
    CreateApp();
    TFormMain& main = *App->FormMain;
    EXPECT_EQ(Caption(main.Handle()), L"Vehmira :: partly English");
    EXPECT_EQ(main.ControlText("Button_Export"), L"Export");
    EXPECT_EQ(main.ControlText("Button_Import"), L"&Импорт");
    EXPECT_EQ(main.ControlText("Group_Export"), L" Экспортировать ") << "blanks kept";
    EXPECT_EQ(MenuText(GetMenu(main.Handle()), ExitMenu, MF_BYCOMMAND), L"В&ыход");
}

TEST_F(TLanguageTest, AMissingOrDamagedLanguageFileGivesRussianWithoutAnyMessage)
{
    const std::vector<std::pair<const char*, std::string>> files{
        {"missing", {}},
        {"binary garbage", std::string("\xFF\xFE\x00\xD8[\x00\x01\x02\x03\x04]\x00=\xFF\xFF\xFF", 18)},
        {"no sections", "MainCaption=Broken\r\n=\r\n[[[\r\n"},
        {"English cut short", "[English]\r\nMainCaption=\"Vehmira"},
    };
    WriteGame();
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        App.reset();
        std::filesystem::remove(LanguagePath());
        if (!bytes.empty())
            std::ofstream(LanguagePath(), std::ios::binary) << bytes;
        WriteSettings(GamePathText(), L"English", L"American.gxt");
        EXPECT_NO_PROBLEMS(Start()); // no box of any kind
        TFormMain& main = *App->FormMain;
        EXPECT_EQ(main.ControlText("Button_Import"), L"&Импорт");
        EXPECT_EQ(MenuText(GetMenu(main.Handle()), 0, MF_BYPOSITION), L"&Файл  ");
        EXPECT_EQ(App->FormImportTyp->ControlText("Radio_ImportCAR"), L"Импорт файла *.car");
        EXPECT_EQ(Rows().size(), 4u);
    }
}

TEST_F(TLanguageTest, ASettingsFileThatCannotBeWrittenIsToldInTheInterfaceLanguage)
{
    WriteShippedLanguageFile();
    std::filesystem::create_directories(SettingsPath()); // a directory where the file should be
    WriteGame();
    CreateApp();
    App->ApplyLanguage(L"English");
    TFormPath& path = *App->FormPath;
    const std::vector<std::string> problems = Act([&] { path.ShowModal(); },
                                                  [&](TUser& user) {
                                                      user.WaitShown(path.Handle(), "the path dialog");
                                                      user.SetText(path.Control("Edit_Path"), GameDir().wstring());
                                                      user.Click(path.Control("Button_OK"));
                                                      const TMessageBoxSeen box = user.AnswerMessageBox();
                                                      EXPECT_TRUE(box.HasIcon);
                                                      EXPECT_EQ(box.Text, L"The settings cannot be written to " +
                                                                              SettingsPath().wstring() + L".");
                                                      user.Click(path.Control("Button_Cancel"));
                                                      user.WaitHidden(path.Handle(), "the path dialog");
                                                  });
    EXPECT_NO_PROBLEMS(problems);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

TEST(LanguageForUiLanguage, CyrillicInterfacesGetRussianAndAllOthersEnglish)
{
    const std::pair<LANGID, const wchar_t*> cases[] = {
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), L"Русский"},
        {MAKELANGID(LANG_UKRAINIAN, SUBLANG_DEFAULT), L"Русский"},
        {MAKELANGID(LANG_BELARUSIAN, SUBLANG_DEFAULT), L"Русский"},
        {MAKELANGID(LANG_BULGARIAN, SUBLANG_DEFAULT), L"Русский"},
        {MAKELANGID(LANG_KAZAK, SUBLANG_DEFAULT), L"Русский"},
        {MAKELANGID(LANG_SERBIAN, SUBLANG_SERBIAN_CYRILLIC), L"Русский"},
        {MAKELANGID(LANG_SERBIAN, SUBLANG_SERBIAN_LATIN), L"English"},
        {MAKELANGID(LANG_CROATIAN, SUBLANG_CROATIAN_CROATIA), L"English"},
        {MAKELANGID(LANG_UZBEK, SUBLANG_UZBEK_CYRILLIC), L"Русский"},
        {MAKELANGID(LANG_UZBEK, SUBLANG_UZBEK_LATIN), L"English"},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"English"},
        {MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT), L"English"},
        {MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), L"English"},
    };
    for (const auto& [language, expected] : cases)
        EXPECT_EQ(LanguageForUiLanguage(language), expected) << std::hex << language;
}

TEST_F(TLanguageTest, FirstStartOffersTheWindowsInterfaceLanguage)
{
    WriteGame();
    WriteShippedLanguageFile();
    WriteSettings(GamePathText(), std::nullopt, std::nullopt);
    const std::wstring expected = LanguageForUiLanguage(GetUserDefaultUILanguage());
    TFormLanguage* dialog = nullptr;
    CreateApp();
    dialog = App->FormLanguage.get();
    // Before any choice the windows already speak that language.
    EXPECT_EQ(App->FormMain->ControlText("Button_Import"), TLanguage::Load(LanguagePath(), expected).Text(TTextKey::ImportButton));
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) {
        user.WaitShown(dialog->Handle(), "the language dialog");
        const std::vector<std::wstring> items = user.ComboItems(dialog->Control("Combo_Language"));
        const int selected = user.ComboSelection(dialog->Control("Combo_Language"));
        ASSERT_GE(selected, 0);
        EXPECT_EQ(items[static_cast<std::size_t>(selected)], expected);
        user.Click(dialog->Control("Button_OK"));
        user.WaitHidden(dialog->Handle(), "the language dialog");
    }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), expected);
}

} // namespace
