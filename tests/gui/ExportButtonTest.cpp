// The export button: its checks, its messages, the save dialog and the package it writes.

#include "fileio/FileSystem.h"
#include "gui/GuiFixture.h"
#include "gui/ImportGuiSupport.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/framework/WideText.h"

#include <fstream>

using namespace vehmira::fileio;
using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

class TExportButtonTest : public TGuiTest {
protected:
    void StartGame(const TGameFixtureContent& content = GameFixture::DefaultContent())
    {
        WriteGame(content);
        WriteCompleteSettings();
        EXPECT_NO_PROBLEMS(Start());
    }
    std::vector<std::string> Export(const std::function<void(TUser&)>& steps = {})
    {
        return ClickMain("Button_Export", steps);
    }
    std::function<void(TUser&)> ExpectBox(const std::wstring& text, bool icon)
    {
        return [=](TUser& user) {
            const TMessageBoxSeen box = user.AnswerMessageBox();
            EXPECT_EQ(box.Title, L"Vehmira");
            EXPECT_EQ(box.Text, text);
            EXPECT_EQ(box.HasIcon, icon);
        };
    }
};

TEST_F(TExportButtonTest, WithoutSelectionAsksForAVehicleFirst)
{
    StartGame();
    EXPECT_NO_PROBLEMS(Export(ExpectBox(NoVehicleSelectedText, false)));
    EXPECT_TRUE(FileDialogs.Calls.empty()) << "no save dialog";
}

TEST_F(TExportButtonTest, CancelledSaveDialogTouchesNothing)
{
    StartGame();
    const auto before = GameFixture::Snapshot(GameDir(), true);
    SelectRow(1);
    FileDialogs.Answers = {std::nullopt};
    EXPECT_NO_PROBLEMS(Export());
    ASSERT_EQ(FileDialogs.Calls.size(), 1u);
    EXPECT_TRUE(FileDialogs.Calls[0].Save);
    EXPECT_EQ(FileDialogs.Calls[0].Filter, L"CAR-файлы (*.car)|*.car|Все файлы|*.*");
    EXPECT_EQ(FileDialogs.Calls[0].InitialName, L"cheetah.car") << "the model's name is suggested";
    EXPECT_EQ(GameFixture::Snapshot(GameDir(), true), before);
    EXPECT_EQ(Temp.List(), (std::vector<std::string>{"Game", "Settings.ini"}));
}

TEST_F(TExportButtonTest, WritesThePackageOfTheSelectedVehicleWithTheTickedPieces)
{
    StartGame();
    SelectRow(1); // 415 Cheetah
    HWND main = App->FormMain->Handle();
    for (const char* box : {"Check_TXD", "Check_Vehicles"})
        SendMessageW(App->FormMain->Control(box), BM_CLICK, 0, 0);
    ASSERT_TRUE(IsWindow(main));
    const std::filesystem::path typed = Temp / "cheetah"; // ".car" is added
    const std::filesystem::path package = Temp / "cheetah.car";
    FileDialogs.Answers = {typed.wstring()};
    EXPECT_NO_PROBLEMS(Export(ExpectBox(L"Пакет сохранён: \"" + package.wstring() + L"\".", false)));
    EXPECT_FALSE(std::filesystem::exists(typed));
    const ByteBuffer bytes = ReadWholeFile(package);
    ASSERT_GE(bytes.size(), 42u);
    const ByteBuffer header(bytes.begin(), bytes.begin() + 14);
    EXPECT_EQ(header, (ByteBuffer{'C', 'A', 'R', 2, 0x9F, 0x01, 0, 0, 1, 0, 1, 0, 1, 0}));
}

TEST_F(TExportButtonTest, TheLastDefinitionWithTheSelectedIdIsExported)
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    content.VehiclesIde = "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\n"
                          "415, landstal, landstal, car, LANDSTAL, LANDSTK\r\nend\r\n";
    StartGame(content);
    ASSERT_EQ(Rows(), (TListRows{{L"415", L"Cheetah"}, {L"415", L"Landstalker"}}));
    SelectRow(0);
    const std::filesystem::path package = Temp / "out.CAR";
    FileDialogs.Answers = {package.wstring()};
    EXPECT_NO_PROBLEMS(Export([](TUser& user) { user.AnswerMessageBox(); }));
    const ByteBuffer bytes = ReadWholeFile(package);
    ASSERT_GE(bytes.size(), 42u);
    // The model piece is landstal.dff: 3000 bytes in two sectors (cheetah.dff would take three).
    const std::int32_t lenDFF = bytes[14] | bytes[15] << 8 | bytes[16] << 16 | bytes[17] << 24;
    EXPECT_EQ(lenDFF, 4096);
}

TEST_F(TExportButtonTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    StartGame();
    SelectRow(1);
    const std::filesystem::path package = Temp / "mine.car";
    ReplaceFileAtomically(package, std::string_view("the user's own file"));
    for (const int answer : {IDNO, IDYES}) {
        FileDialogs.Answers = {package.wstring()};
        std::wstring question;
        EXPECT_NO_PROBLEMS(Export([&](TUser& user) {
            question = AnswerBoxWith(user, answer).Text;
            if (answer == IDYES)
                user.AnswerMessageBox(); // the package was saved
        }));
        EXPECT_EQ(question, L"Файл \"" + package.wstring() + L"\" уже существует. Заменить его?");
        const ByteBuffer bytes = ReadWholeFile(package);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), answer == IDYES ? "CAR" : "the");
    }
}

TEST_F(TExportButtonTest, WithNoPieceTickedSaysSoAndWritesNothing)
{
    StartGame();
    SelectRow(1);
    for (const char* box : {"Check_DFF", "Check_TXD", "Check_GXT"})
        SendMessageW(App->FormMain->Control(box), BM_CLICK, 0, 0);
    EXPECT_NO_PROBLEMS(Export(ExpectBox(L"Не отмечено ни одной части для экспорта: отметьте хотя бы одну.", false)));
    EXPECT_TRUE(FileDialogs.Calls.empty()) << "no save dialog";
    EXPECT_EQ(Temp.List(), (std::vector<std::string>{"Game", "Settings.ini"}));
}

TEST_F(TExportButtonTest, WithoutAnOpenArchiveNoVehicleIsOfferedNorAFileAskedFor)
{
    StartGame();
    // A game folder whose archive cannot be opened: the path is taken, the opening fails.
    const std::filesystem::path broken = Temp / "Broken";
    GameFixture::WriteGameDirectory(broken);
    std::ofstream(broken / "Models" / "GTA3.img", std::ios::binary | std::ios::trunc) << "not an archive";
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.SetText(App->FormPath->Control("Edit_Path"), broken.wstring());
        user.Click(App->FormPath->Control("Button_OK"));
        user.AnswerMessageBox(); // the archive cannot be opened
    }));
    EXPECT_TRUE(Rows().empty()) << "the old game's rows are gone";
    EXPECT_NO_PROBLEMS(Export(ExpectBox(NoVehicleSelectedText, false)));
    EXPECT_TRUE(FileDialogs.Calls.empty());
}

TEST_F(TExportButtonTest, ARowWithoutDefinitionIsRefusedClearly)
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    content.VehiclesIde += "objs\r\n9000, prop, prop, x, y, CHEETAH\r\nend\r\n";
    StartGame(content);
    ASSERT_EQ(Rows().back(), (std::pair<std::wstring, std::wstring>{L"9000", L"Cheetah"}));
    SelectRow(static_cast<int>(Rows().size()) - 1);
    const std::filesystem::path package = Temp / "prop.car";
    FileDialogs.Answers = {package.wstring()};
    EXPECT_NO_PROBLEMS(Export([](TUser& user) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_TRUE(box.HasIcon);
        EXPECT_NE(box.Text.find(L"9000"), std::wstring::npos);
    }));
    EXPECT_FALSE(std::filesystem::exists(package));
}

} // namespace
