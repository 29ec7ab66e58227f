// The vehicle list as the main window shows it: Vehicles.ide joined with the
// GXT main table by the hash of field 5.

#include "gui/GuiFixture.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

#include <commctrl.h>

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
        {"only the main table: a vehicle it does not name shows its model",
         "cars\r\n415, cheetah, cheetah, car, CHEETAH, MISSCAR\r\nend\r\n", names, {{"MISSCAR", "Mission car"}},
         {{L"415", L"cheetah (без названия)"}}},
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

namespace {

// A click on a column's title, as the list tells its parent.
void ClickColumn(HWND list, int column)
{
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(GetAncestor(list, GA_ROOT), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

class TVehicleListUseTest : public TGuiTest {};

TEST_F(TVehicleListUseTest, ColumnsSortBothWaysAndTheOrderSurvivesARefill)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    HWND list = App->FormMain->Control("List_ID");
    EXPECT_NO_PROBLEMS(Act([&] { ClickColumn(list, 1); }));
    EXPECT_EQ(Rows(), (TListRows{{L"415", L"Cheetah"}, {L"523", L"HPV1000"}, {L"400", L"Landstalker"},
                                 {L"596", L"Police"}}));
    EXPECT_NO_PROBLEMS(Act([&] { ClickColumn(list, 1); }));
    EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"596"), std::wstring(L"Police"))) << "the other way round";
    EXPECT_NO_PROBLEMS(Act([&] { ClickColumn(list, 0); }));
    EXPECT_EQ(Rows().front().first, L"400") << "IDs as numbers";
    EXPECT_NO_PROBLEMS(Act([&] { ClickColumn(list, 0); }));
    EXPECT_EQ(Rows().front().first, L"596");
    EXPECT_NO_PROBLEMS(Act([&] { App->FormMain->RefreshVehicleList(); }));
    EXPECT_EQ(Rows().front().first, L"596") << "a refill keeps the chosen order";
}

TEST_F(TVehicleListUseTest, TypingFindsARowByTheStartOfItsNameOrID)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    HWND list = App->FormMain->Control("List_ID");
    const auto typeAndSelected = [&](const std::wstring& typed) {
        int selected = -1;
        EXPECT_NO_PROBLEMS(Act([&] {
            for (const wchar_t character : typed)
                SendMessageW(list, WM_CHAR, character, 1);
            selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        }));
        return selected < 0 ? std::wstring() : Rows()[std::size_t(selected)].second;
    };
    EXPECT_EQ(typeAndSelected(L"po"), L"Police") << "by name, whatever the case";
    Sleep(1100); // a pause starts a new search
    EXPECT_EQ(typeAndSelected(L"52"), L"HPV1000") << "by ID";
    Sleep(1100);
    EXPECT_EQ(typeAndSelected(L"x"), L"HPV1000") << "no match keeps the row";
}

} // namespace
