#include "support/GameFixture.h"
#include "engine/VehicleList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;

using namespace GameFixture;

namespace {

std::vector<std::string> Rows(const std::string& vehiclesIde, const std::vector<TFixtureGXTText>& mainTable)
{
    TTempDir temp;
    TGameFixtureContent content = DefaultContent();
    content.VehiclesIde = vehiclesIde;
    content.MainTable = mainTable;
    WriteGameDirectory(temp.Path(), content);
    std::vector<std::string> rows;
    for (const TVehicleListRow& row : BuildVehicleList(temp.Path(), content.GXTFileName).Rows)
        rows.push_back(row.ID + "=" + row.Name);
    return rows;
}

using TRows = std::vector<std::string>;

} // namespace

TEST(VehicleList, DefaultGameListsEveryVehicleInFileOrder)
{
    EXPECT_EQ(Rows(DefaultContent().VehiclesIde, DefaultContent().MainTable),
              (TRows{"400=Landstalker", "415=Cheetah", "523=HPV1000", "596=Police"}));
}

TEST(VehicleList, JoinsDefinitionLinesWithTheMainTable)
{
    const std::vector<TFixtureGXTText> table = {{"CHEETAH", "Cheetah"}, {"INFERNUS", "Infernus"},
                                                {"TWIN", "One"},        {"TWIN", "Two"},
                                                {"LOWER", "\xCC\xE0\xF8\xE8\xED\xE0"}};
    const struct {
        const char* name;
        std::string file;
        TRows rows;
    } cases[] = {
        {"five fields are passed over, six take part", "1, a, b, car, CHEETAH\r\n2, a, b, car, X, CHEETAH\r\n",
         {"2=Cheetah"}},
        {"lines outside CARS take part", "objs\r\n7, a, b, c, d, INFERNUS\r\nend\r\ncars\r\nend\r\n", {"7=Infernus"}},
        {"the ID is kept as written", "0415, a, b, c, d, CHEETAH\r\n", {"0415=Cheetah"}},
        {"the key is upper-cased before hashing, as the game looks it up",
         "1, a, b, c, d, cheetah\r\n2, a, b, c, d, LoWeR\r\n", {"1=Cheetah", "2=\xCC\xE0\xF8\xE8\xED\xE0"}},
        {"every key with the hash gives a row", "9, a, b, c, d, TWIN\r\n", {"9=One", "9=Two"}},
        {"a key without an entry gives no row", "3, a, b, c, d, NOPE\r\n", {}},
        {"comments and end-of-line comments", "# 1, a, b, c, d, CHEETAH\r\n4, a, b, c, d # INFERNUS\r\n", {}},
        {"empty file", "", {}},
        {"comment-only file", "; x\r\n#y\r\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rows(c.file, table), c.rows) << c.name;
}
