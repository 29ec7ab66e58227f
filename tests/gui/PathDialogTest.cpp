// The path dialog's OK: only a folder holding the game is taken, and the main
// window's list then shows that game.

#include "gui/GuiFixture.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

#include <fstream>

using namespace vehmira::gui;

namespace {

class TPathDialogTest : public TGuiTest {
protected:
    TFormPath& Path() { return *App->FormPath; }
    HWND PathControl(const char* name) { return Path().Control(name); }
};

TEST_F(TPathDialogTest, OkRefusesAFolderWithoutTheGameNamingWhatIsMissingAndStoresNothing)
{
    const std::filesystem::path empty = Temp / "Empty";
    std::filesystem::create_directories(empty);
    const std::filesystem::path noDefinitions = Temp / "NoDefinitions";
    GameFixture::WriteGameDirectory(noDefinitions);
    std::filesystem::remove(noDefinitions / "Data" / "Vehicles.ide");
    const std::filesystem::path noText = Temp / "NoText";
    GameFixture::WriteGameDirectory(noText);
    std::filesystem::remove(noText / "Text" / "American.gxt");
    struct TCase {
        std::wstring Typed;
        std::wstring Message;
    };
    const std::wstring missing = (Temp / "Missing").wstring();
    const TCase cases[] = {
        {missing, L"Папка игры \"" + missing + L"\\\" не существует."},
        {empty.wstring(), L"В папке \"" + empty.wstring() + L"\\\" нет игры: не найден файл Models\\GTA3.img."},
        {noDefinitions.wstring(),
         L"В папке \"" + noDefinitions.wstring() + L"\\\" нет игры: не найден файл Data\\Vehicles.ide."},
        {noText.wstring(), L"В папке \"" + noText.wstring() + L"\\\" нет игры: не найден файл Text\\American.gxt."},
    };
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.Typed).string());
        TMessageBoxSeen box;
        EXPECT_NO_PROBLEMS(Act([this] { Path().ShowModal(); },
                               [&](TUser& user) {
                                   user.WaitShown(Path().Handle(), "the path dialog");
                                   user.SetText(PathControl("Edit_Path"), c.Typed);
                                   user.Click(PathControl("Button_OK"));
                                   box = user.AnswerMessageBox();
                                   user.Pause();
                                   EXPECT_TRUE(IsWindowVisible(Path().Handle())) << "the dialog stays open";
                                   EXPECT_EQ(user.Text(PathControl("Edit_Path")), c.Typed) << "the typed text stays";
                                   user.Click(PathControl("Button_Cancel"));
                                   user.WaitHidden(Path().Handle(), "the path dialog");
                               }));
        EXPECT_EQ(box.Text, c.Message);
        EXPECT_TRUE(box.HasIcon);
        EXPECT_EQ(Path().GamePath, L"C:\\Old\\");
        EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\");
    }
}

TEST_F(TPathDialogTest, AcceptingAnotherGameShowsItsListAndRefusingKeepsTheOpenOne)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    const TListRows first = Rows();
    ASSERT_FALSE(first.empty());
    TGameFixtureContent other = GameFixture::DefaultContent();
    other.VehiclesIde = "cars\r\n"
                        "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0, -1, 0.7, 0.7, 0\r\n"
                        "end\r\n";
    const std::filesystem::path otherGame = Temp / "Other";
    GameFixture::WriteGameDirectory(otherGame, other);

    // Refused: the dialog stays until Cancel, which keeps the open game's list.
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(Path().Handle(), "the path dialog");
        user.SetText(PathControl("Edit_Path"), (Temp / "Missing").wstring());
        user.Click(PathControl("Button_OK"));
        user.AnswerMessageBox();
        user.Click(PathControl("Button_Cancel"));
        user.WaitHidden(Path().Handle(), "the path dialog");
    }));
    EXPECT_EQ(Rows(), first);

    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(Path().Handle(), "the path dialog");
        user.SetText(PathControl("Edit_Path"), otherGame.wstring());
        user.Click(PathControl("Button_OK"));
        user.WaitHidden(Path().Handle(), "the path dialog");
    }));
    EXPECT_EQ(Rows(), (TListRows{{L"415", L"Cheetah"}}));
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), otherGame.wstring() + L"\\");
}

} // namespace
