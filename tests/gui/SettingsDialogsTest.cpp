// The path, language and about dialogs and their settings.

#include "gui/GuiFixture.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

#include <fstream>

using namespace vehmira::gui;

namespace {

class TSettingsDialogsTest : public TGuiTest {
protected:
    TFormPath& Path() { return *App->FormPath; }
    TFormLanguage& Language() { return *App->FormLanguage; }
    HWND PathControl(const char* name) { return Path().Control(name); }
    HWND LanguageControl(const char* name) { return Language().Control(name); }

    std::vector<std::string> ShowPath(const std::function<void(TUser&)>& steps)
    {
        return Act([this] { Path().ShowModal(); },
                   [&](TUser& user) {
                       user.WaitShown(Path().Handle(), "the path dialog");
                       steps(user);
                       user.WaitHidden(Path().Handle(), "the path dialog");
                   });
    }
    std::vector<std::string> ShowLanguage(const std::function<void(TUser&)>& steps)
    {
        return Menu(LanguageMenu, [&](TUser& user) {
            user.WaitShown(Language().Handle(), "the language dialog");
            steps(user);
            user.WaitHidden(Language().Handle(), "the language dialog");
        });
    }
    void WriteLanguageFile(const std::wstring& text)
    {
        std::ofstream file(LanguagePath(), std::ios::binary);
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    }
};

TEST_F(TSettingsDialogsTest, PathOkStoresTheTextEndingInOneBackslash)
{
    // OK takes only a folder holding the game, so each typed folder holds one.
    const std::filesystem::path cyrillic = Temp.Path() / L"Игры" / L"GTA SA";
    WriteGame();
    GameFixture::WriteGameDirectory(cyrillic);
    struct TCase {
        std::wstring Typed;
        std::wstring Stored;
    };
    const TCase cases[] = {
        {GameDir().wstring(), GamePathText()},
        {GamePathText(), GamePathText()},
        {cyrillic.wstring(), cyrillic.wstring() + L"\\"},
    };
    for (const TCase& c : cases) {
        WriteSettings(std::nullopt, L"English", L"American.gxt");
        App.reset();
        CreateApp();
        EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
            user.SetText(PathControl("Edit_Path"), c.Typed);
            user.Click(PathControl("Button_OK"));
        }));
        EXPECT_EQ(Path().GamePath, c.Stored);
        EXPECT_EQ(Path().ControlText("Edit_Path"), c.Stored);
        EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), c.Stored);
        // A Cyrillic directory survives the settings file whatever the system's code page.
        App.reset();
        CreateApp();
        EXPECT_EQ(Path().GamePath, c.Stored);
    }
}

TEST_F(TSettingsDialogsTest, AnEightBitSettingsFileKeepsItsKeysAndTakesACyrillicPath)
{
    const std::filesystem::path cyrillic = Temp.Path() / L"Игры" / L"GTA";
    GameFixture::WriteGameDirectory(cyrillic);
    const std::string keys = "[Dorvelin]\r\nPath=C:\\Old\\\r\n[Vehmira]\r\nLanguage=English\r\nGXT=American.gxt\r\n";
    for (const std::string& fileStart : {std::string(), std::string("\xEF\xBB\xBF")}) {
        SCOPED_TRACE(fileStart.empty() ? "code page text" : "UTF-8 text");
        App.reset();
        std::ofstream(SettingsPath(), std::ios::binary | std::ios::trunc) << fileStart + keys;
        CreateApp();
        ASSERT_EQ(Path().GamePath, L"C:\\Old\\");
        EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
            user.SetText(PathControl("Edit_Path"), cyrillic.wstring());
            user.Click(PathControl("Button_OK"));
        }));
        App.reset();
        CreateApp();
        EXPECT_EQ(Path().GamePath, cyrillic.wstring() + L"\\");
        EXPECT_EQ(Language().LanguageName, L"English");
        EXPECT_EQ(Language().GXTFileName, L"American.gxt");
    }
}

TEST_F(TSettingsDialogsTest, PathOkWithAnEmptyFieldStoresNothing)
{
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
        EXPECT_EQ(user.Text(PathControl("Edit_Path")), L"C:\\Old\\");
        user.SetText(PathControl("Edit_Path"), L"");
        user.Click(PathControl("Button_OK"));
    }));
    EXPECT_EQ(Path().GamePath, L"C:\\Old\\");
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\");
}

TEST_F(TSettingsDialogsTest, BrowsePicksAFolderStartingAtTheOneInTheField)
{
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    FileDialogs.Answers = {L"C:\\Games\\San Andreas", std::nullopt};
    EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
        HWND field = PathControl("Edit_Path");
        user.Click(PathControl("Button_Search"));
        user.WaitUntil([&] { return user.Text(field) == L"C:\\Games\\San Andreas\\"; }, "the chosen directory");
        user.Click(PathControl("Button_Search")); // cancelled: the field stays
        user.WaitUntil([&] { return FileDialogs.CallCount == 2; }, "the second folder picker");
        user.Pause();
        EXPECT_EQ(user.Text(field), L"C:\\Games\\San Andreas\\");
        user.Click(PathControl("Button_Cancel"));
    }));
    ASSERT_EQ(FileDialogs.Calls.size(), 2u);
    EXPECT_TRUE(FileDialogs.Calls[0].Folder) << "a folder picker, not a file dialog";
    EXPECT_EQ(FileDialogs.Calls[0].Filter, L"Выберите папку с игрой GTA: San Andreas:");
    EXPECT_EQ(FileDialogs.Calls[0].InitialName, L"C:\\Old\\") << "opened at the stored game folder";
    EXPECT_EQ(FileDialogs.Calls[1].InitialName, L"C:\\Games\\San Andreas\\") << "then at the one chosen";
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\") << "Cancel writes nothing";
    EXPECT_EQ(Path().GamePath, L"C:\\Old\\");
}

TEST_F(TSettingsDialogsTest, PathCancelKeepsEverythingAndTheNextShowingRereadsTheField)
{
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
        user.SetText(PathControl("Edit_Path"), L"X:\\New");
        user.Click(PathControl("Button_Cancel"));
    }));
    EXPECT_EQ(Path().GamePath, L"C:\\Old\\");
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\");
    EXPECT_EQ(Path().ControlText("Edit_Path"), L"X:\\New") << "the same window keeps its text while hidden";
    EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
        EXPECT_EQ(user.Text(PathControl("Edit_Path")), L"C:\\Old\\");
        user.Click(PathControl("Button_Cancel"));
    }));
}

TEST_F(TSettingsDialogsTest, EnterIsOkAndEscapeIsCancelInTheSettingsDialogs)
{
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowPath([&](TUser& user) {
        user.SetText(PathControl("Edit_Path"), L"X:\\New");
        user.PressKey(PathControl("Edit_Path"), VK_ESCAPE);
    }));
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\");
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) {
        user.SelectComboItem(LanguageControl("Combo_GXT"), 2);
        user.PressKey(LanguageControl("Combo_GXT"), VK_ESCAPE);
    }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"American.gxt") << "Escape is Cancel";
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) {
        user.SelectComboItem(LanguageControl("Combo_GXT"), 2);
        user.PressKey(LanguageControl("Combo_GXT"), VK_RETURN);
    }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"German.gxt") << "Enter is OK";
}

TEST_F(TSettingsDialogsTest, LanguagesComeFromTheLanguageFileInFileOrder)
{
    WriteLanguageFile(L"[Русский]\r\nName=1\r\n[English]\r\nName=2\r\n");
    WriteSettings(L"C:\\Old\\", L"English", L"German.gxt");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) {
        EXPECT_EQ(user.ComboItems(LanguageControl("Combo_Language")), (std::vector<std::wstring>{L"Русский", L"English"}));
        // The language in use is selected, so that OK for a new GXT file keeps it.
        EXPECT_EQ(user.ComboSelection(LanguageControl("Combo_Language")), 1) << "the stored language";
        user.SelectComboItem(LanguageControl("Combo_Language"), 0);
        EXPECT_EQ(user.ComboItems(LanguageControl("Combo_GXT")),
                  (std::vector<std::wstring>{L"American.gxt", L"French.gxt", L"German.gxt", L"Italian.gxt",
                                             L"Spanish.gxt"}));
        EXPECT_EQ(user.Text(LanguageControl("Combo_GXT")), L"American.gxt") << "the stored GXT file is not looked up";
        user.Click(LanguageControl("Button_OK"));
    }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"Русский");
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"American.gxt");
    EXPECT_EQ(Language().LanguageName, L"Русский");
    EXPECT_EQ(Language().GXTFileName, L"American.gxt");
}

TEST_F(TSettingsDialogsTest, LanguageCancelAndCloseBoxStoreNothingButKeepTheGxtChoice)
{
    WriteSettings(L"C:\\Old\\", L"English", L"German.gxt");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) {
        EXPECT_TRUE(user.ComboItems(LanguageControl("Combo_Language")).empty()) << "no language file";
        user.SelectComboItem(LanguageControl("Combo_GXT"), 4);
        user.Click(LanguageControl("Button_Cancel"));
    }));
    WriteLanguageFile(L"[Deutsch]\r\n");
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) {
        EXPECT_EQ(user.ComboItems(LanguageControl("Combo_Language")), std::vector<std::wstring>{L"Deutsch"})
            << "the language file is read at every showing";
        EXPECT_EQ(user.Text(LanguageControl("Combo_GXT")), L"Spanish.gxt");
        PostMessageW(Language().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    EXPECT_EQ(Language().LanguageName, L"English");
    EXPECT_EQ(Language().GXTFileName, L"German.gxt");
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"English");
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"German.gxt");
}

TEST_F(TSettingsDialogsTest, WithoutLanguageFileOkStoresAnEmptyLanguage)
{
    WriteSettings(L"C:\\Old\\", L"NONE", L"NONE");
    CreateApp();
    EXPECT_NO_PROBLEMS(ShowLanguage([&](TUser& user) { user.Click(LanguageControl("Button_OK")); }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"");
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"American.gxt");
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\");
}

TEST_F(TSettingsDialogsTest, AboutBoxIsModalOverTheMainWindow)
{
    GameFixture::WriteGameDirectory(GameDir());
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    HWND main = App->FormMain->Handle();
    TFormAbout& about = *App->FormAbout;
    EXPECT_NO_PROBLEMS(Menu(AboutMenu, [&](TUser& user) {
        user.WaitShown(about.Handle(), "the about box");
        EXPECT_FALSE(IsWindowEnabled(main)) << "the owner is disabled while the box is up";
        EXPECT_NE(user.Text(about.Control("CreditsLabel")).find(L"Vehmira contributors"), std::wstring::npos);
        user.Click(about.Control("OKButton"));
        user.WaitHidden(about.Handle(), "the about box");
    }));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindow(about.Handle())) << "hidden, not destroyed";
}

} // namespace
