// The vehicle list as the main window shows it: Vehicles.ide joined with the
// GXT main table by the hash of field 5.

#include "gui/GuiFixture.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

using namespace vehmira::gui;

namespace {

class TVehicleListTest : public TGuiTest {};

TEST_F(TVehicleListTest, RowsJoinDefinitionLinesWithTheMainTable)
{
    struct TCase {
        const char* Name;
        std::string VehiclesIde;
        std::vector<TFixtureGXTText> MainTable;
        std::vector<TFixtureGXTText> MissionTable;
        TListRows Rows;
    };
    const std::vector<TFixtureGXTText> names{{"CHEETAH", "Cheetah"}, {"LANDSTK", "Landstalker"}};
    const TCase cases[] = {
        {"a six-field line", "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\nend\r\n", names, {},
         {{L"415", L"Cheetah"}}},
        {"five fields never match", "cars\r\n415, cheetah, cheetah, car, CHEETAH\r\nend\r\n", names, {}, {}},
        {"any section takes part", "objs\r\n7, a, b, c, d, LANDSTK\r\nend\r\n", names, {}, {{L"7", L"Landstalker"}}},
        {"the ID as written", "cars\r\n0415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\nend\r\n", names, {},
         {{L"0415", L"Cheetah"}}},
        {"the key upper-cased, as the game looks it up", "cars\r\n415, cheetah, cheetah, car, CHEETAH, cheetah\r\nend\r\n",
         names, {}, {{L"415", L"Cheetah"}}},
        {"every key with the hash", "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\nend\r\n",
         {{"CHEETAH", "First"}, {"LANDSTK", "Landstalker"}, {"CHEETAH", "Second"}}, {},
         {{L"415", L"First"}, {L"415", L"Second"}}},
        {"the same ID twice",
         "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\n415, landstal, landstal, car, LANDSTAL, LANDSTK\r\nend\r\n",
         names, {}, {{L"415", L"Cheetah"}, {L"415", L"Landstalker"}}},
        {"only the main table", "cars\r\n415, cheetah, cheetah, car, CHEETAH, MISSCAR\r\nend\r\n", names,
         {{"MISSCAR", "Mission car"}}, {}},
        {"comments and field rules", "# 1, a, b, c, d, CHEETAH\r\n\r\ncars\r\n415,cheetah\tcheetah , car,CHEETAH, CHEETAH # x\r\n",
         names, {}, {{L"415", L"Cheetah"}}},
        {"code page 1251 names", "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\nend\r\n",
         {{"CHEETAH", "\xC3\xE5\xEF\xE0\xF0\xE4 \xB8\xA8"}}, {}, {{L"415", L"Гепард ёЁ"}}},
        {"an empty file", "", names, {}, {}},
        {"only comments", "# nothing\r\n; here\r\n", names, {}, {}},
    };
    // The names are converted by the program itself, whatever this code page is (1252 under Wine).
    RecordProperty("AnsiCodePage", static_cast<int>(GetACP()));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGameFixtureContent content = GameFixture::DefaultContent();
        content.VehiclesIde = c.VehiclesIde;
        content.MainTable = c.MainTable;
        content.MissionTable = c.MissionTable;
        App.reset(); // closes the archive of the previous case
        std::filesystem::remove_all(GameDir());
        WriteGame(content);
        WriteCompleteSettings();
        EXPECT_NO_PROBLEMS(Start()); // no message, also for an empty list
        EXPECT_EQ(Rows(), c.Rows);
    }
}

TEST_F(TVehicleListTest, AFailedRefillLeavesTheListEmpty)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    ASSERT_FALSE(Rows().empty());
    std::filesystem::remove(GameDir() / "Text" / "American.gxt");
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.Click(App->FormPath->Control("Button_Cancel"));
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_TRUE(box.HasIcon);
        EXPECT_NE(box.Text.find(L"American.gxt"), std::wstring::npos);
    }));
    EXPECT_TRUE(Rows().empty());
}

} // namespace
