// The start-up sequence and the menu items that reopen the game.

#include "gui/GuiFixture.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

#include <algorithm>
#include <fstream>

using namespace vehmira::gui;

namespace {

const TListRows DefaultRows{{L"400", L"Landstalker"}, {L"415", L"Cheetah"}, {L"523", L"HPV1000"}, {L"596", L"Police"}};

class TStartUpTest : public TGuiTest {
protected:
    TFormPath& Path() { return *App->FormPath; }
    TFormLanguage& Language() { return *App->FormLanguage; }
    HWND PathControl(const char* name) { return App->FormPath->Control(name); }
    HWND LanguageControl(const char* name) { return App->FormLanguage->Control(name); }

    // The user presses Cancel in the path dialog.
    std::function<void(TUser&)> CancelPathDialog()
    {
        return [this](TUser& user) {
            user.WaitShown(Path().Handle(), "the path dialog");
            user.Click(PathControl("Button_Cancel"));
            user.WaitHidden(Path().Handle(), "the path dialog");
        };
    }
};

TEST_F(TStartUpTest, WithoutSettingsAsksLanguageThenPathAndStoresBoth)
{
    WriteGame();
    const std::wstring typedPath = GameDir().wstring(); // without the final backslash
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) {
        user.WaitShown(Language().Handle(), "the language dialog");
        EXPECT_EQ(user.Text(LanguageControl("Combo_GXT")), L"American.gxt");
        user.Click(LanguageControl("Button_OK"));
        user.WaitHidden(Language().Handle(), "the language dialog");
        user.WaitShown(Path().Handle(), "the path dialog");
        EXPECT_EQ(user.Text(PathControl("Edit_Path")), L"") << "no stored path shows an empty field, not NONE";
        user.SetText(PathControl("Edit_Path"), typedPath);
        user.Click(PathControl("Button_OK"));
        user.WaitHidden(Path().Handle(), "the path dialog");
    }));
    EXPECT_EQ(Rows(), DefaultRows);
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), typedPath + L"\\");
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"") << "no language file offers no language";
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"American.gxt");
    EXPECT_NE(App->FormMain->OpenGame(), nullptr);
}

TEST_F(TStartUpTest, CompleteSettingsOpenTheGameWithoutAnyDialog)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    EXPECT_EQ(Rows(), DefaultRows);
    ASSERT_NE(App->FormMain->OpenGame(), nullptr);
    EXPECT_TRUE(ArchiveOpensAsTheGameOpensIt()) << "the program holds the archive only while an operation runs";
    ASSERT_NE(App->FormMain->VehicleDefs(), nullptr);
    EXPECT_EQ(App->FormMain->VehicleDefs()->Vehicles.size(), 4u);
}

TEST_F(TStartUpTest, MissingGxtKeyAsksForTheLanguageAlthoughOneIsStored)
{
    WriteGame();
    WriteSettings(GamePathText(), L"Русский", std::nullopt);
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) {
        user.WaitShown(Language().Handle(), "the language dialog");
        user.Click(LanguageControl("Button_Cancel"));
        user.WaitHidden(Language().Handle(), "the language dialog");
        // Without a GXT file name the list cannot be filled: Text\NONE does not open.
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_TRUE(box.HasIcon);
        EXPECT_EQ(box.Title, L"Vehmira");
    }));
    EXPECT_EQ(Language().LanguageName, L"English") << "set in memory before the dialog";
    EXPECT_EQ(ReadSetting(L"Vehmira", L"Language"), L"Русский") << "the file is not written";
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"<missing>");
    EXPECT_TRUE(Rows().empty());
    EXPECT_NE(App->FormMain->OpenGame(), nullptr) << "the archive opened before the list failed";
}

TEST_F(TStartUpTest, CancelledPathDialogLeavesAnEmptyListWithoutMessage)
{
    WriteSettings(std::nullopt, L"English", L"American.gxt");
    EXPECT_NO_PROBLEMS(Start(CancelPathDialog()));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(App->FormMain->OpenGame(), nullptr);
    EXPECT_EQ(Path().GamePath, L"NONE");
}

TEST_F(TStartUpTest, DirectoryNamedLikeTheArchiveDoesNotCount)
{
    std::filesystem::create_directories(GameDir() / "Models" / "GTA3.img");
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start(CancelPathDialog()));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(App->FormMain->OpenGame(), nullptr);
}

TEST_F(TStartUpTest, PathMenuWithCancelRebuildsTheListFromTheSameDirectory)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    std::ofstream(GameDir() / "Data" / "Vehicles.ide", std::ios::app)
        << "cars\r\n611, utility, utility, car, UTILITY, POLICAR, null, worker, 10, 0, 0\r\nend\r\n";
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, CancelPathDialog()));
    TListRows expected = DefaultRows;
    expected.emplace_back(L"611", L"Police");
    EXPECT_EQ(Rows(), expected);
    EXPECT_TRUE(ArchiveOpensAsTheGameOpensIt());
    EXPECT_EQ(App->FormMain->VehicleDefs()->Vehicles.size(), 5u);
}

TEST_F(TStartUpTest, NewGxtChoiceShowsOnlyAfterTheNextRefill)
{
    TGameFixtureContent french = GameFixture::DefaultContent();
    french.GXTFileName = "French.gxt";
    french.MainTable = {{"LANDSTK", "Landstalker FR"}, {"CHEETAH", "Guepard"}};
    WriteGame(french);
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    EXPECT_NO_PROBLEMS(Menu(LanguageMenu, [&](TUser& user) {
        user.WaitShown(Language().Handle(), "the language dialog");
        const std::vector<std::wstring> items = user.ComboItems(LanguageControl("Combo_GXT"));
        const auto french = std::find(items.begin(), items.end(), L"French.gxt");
        ASSERT_NE(french, items.end());
        user.SelectComboItem(LanguageControl("Combo_GXT"), static_cast<int>(french - items.begin()));
        user.Click(LanguageControl("Button_OK"));
        user.WaitHidden(Language().Handle(), "the language dialog");
    }));
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"French.gxt");
    EXPECT_EQ(Rows(), DefaultRows) << "the language dialog does not refill the list";
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, CancelPathDialog()));
    EXPECT_EQ(Rows(), (TListRows{{L"400", L"Landstalker FR"},
                                 {L"415", L"Guepard"},
                                 {L"523", L"copbike (без названия)"},
                                 {L"596", L"copcarla (без названия)"}}))
        << "vehicles the French file does not name are listed by their models";
}

// A translation's own GXT file in the game's Text folder is offered beside the usual five.
TEST_F(TStartUpTest, TheGxtChoiceOffersTheGamesOwnFiles)
{
    TGameFixtureContent russian = GameFixture::DefaultContent();
    russian.GXTFileName = "russian.gxt";
    WriteGame(russian);
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    std::vector<std::wstring> items;
    EXPECT_NO_PROBLEMS(Menu(LanguageMenu, [&](TUser& user) {
        user.WaitShown(Language().Handle(), "the language dialog");
        items = user.ComboItems(LanguageControl("Combo_GXT"));
        user.Click(LanguageControl("Button_Cancel"));
        user.WaitHidden(Language().Handle(), "the language dialog");
    }));
    EXPECT_NE(std::find(items.begin(), items.end(), L"russian.gxt"), items.end());
    EXPECT_EQ(std::count(items.begin(), items.end(), L"American.gxt"), 1) << "the game's American.gxt is offered once";
    EXPECT_EQ(ReadSetting(L"Vehmira", L"GXT"), L"American.gxt");
}

TEST_F(TStartUpTest, PathMenuRefusesAFolderWithoutArchiveAndKeepsTheOpenGame)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    const std::filesystem::path empty = Temp / "Empty";
    std::filesystem::create_directories(empty);
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(Path().Handle(), "the path dialog");
        user.SetText(PathControl("Edit_Path"), empty.wstring());
        user.Click(PathControl("Button_OK"));
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_TRUE(box.HasIcon);
        EXPECT_NE(box.Text.find(L"Models\\GTA3.img"), std::wstring::npos) << "names what is missing";
        user.Click(PathControl("Button_Cancel"));
        user.WaitHidden(Path().Handle(), "the path dialog");
    }));
    EXPECT_EQ(Path().GamePath, GamePathText());
    EXPECT_NE(App->FormMain->OpenGame(), nullptr) << "the game stays open";
    EXPECT_EQ(Rows(), DefaultRows);
}

TEST_F(TStartUpTest, ExitAndClosingTheMainWindowReleaseTheArchive)
{
    for (const bool fromMenu : {true, false}) {
        WriteGame();
        WriteCompleteSettings();
        App.reset();
        EXPECT_NO_PROBLEMS(Start());
        ASSERT_NE(App->FormMain->OpenGame(), nullptr);
        if (fromMenu)
            EXPECT_NO_PROBLEMS(Menu(ExitMenu));
        else
            SendMessageW(App->FormMain->Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(App->FormMain->Handle(), nullptr) << "the main window is destroyed";
        EXPECT_EQ(App->FormMain->OpenGame(), nullptr);
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop is told to end";
    }
}

} // namespace
