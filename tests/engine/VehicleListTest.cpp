#include "support/GameFixture.h"
#include "engine/VehicleList.h"
#include "support/GXTSearchOracle.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vehmira::engine;

using namespace GameFixture;

namespace {

TVehicleList List(const std::string& vehiclesIde, const std::vector<TFixtureGXTText>& mainTable, bool keysInGivenOrder)
{
    TTempDir temp;
    TGameFixtureContent content = DefaultContent();
    content.VehiclesIde = vehiclesIde;
    content.MainTable = mainTable;
    content.KeysInGivenOrder = keysInGivenOrder;
    WriteGameDirectory(temp.Path(), content);
    return BuildVehicleList(temp.Path(), content.GXTFileName);
}

std::vector<std::string> Rows(const std::string& vehiclesIde, const std::vector<TFixtureGXTText>& mainTable,
                              bool keysInGivenOrder = false)
{
    std::vector<std::string> rows;
    for (const TVehicleListRow& row : List(vehiclesIde, mainTable, keysInGivenOrder).Rows)
        rows.push_back(row.ID + "=" + row.Name + (row.NameFromModel ? " (by its model)" : ""));
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

TEST(VehicleList, AMainTableOutOfHashOrderShowsOnlyWhatTheGameFinds)
{
    // Three keys in descending hash order: the game's search finds the middle
    // one, and of the other two only those its halving happens to meet.
    std::vector<TFixtureGXTText> table = {{"ALPHA", "Alpha"}, {"BRAVO", "Bravo"}, {"CHARLIE", "Charlie"}};
    std::sort(table.begin(), table.end(), [](const TFixtureGXTText& a, const TFixtureGXTText& b) {
        return FixtureKeyHash(a.Key) > FixtureKeyHash(b.Key);
    });
    std::vector<std::uint32_t> hashes;
    std::string ide;
    TRows found;
    for (const TFixtureGXTText& text : table)
        hashes.push_back(FixtureKeyHash(text.Key));
    for (std::size_t k = 0; k < table.size(); ++k) {
        ide += std::to_string(k + 1) + ", a, b, car, c, " + table[k].Key + "\r\n";
        if (GameKeySearchOracle(hashes, hashes[k]))
            found.push_back(std::to_string(k + 1) + "=" + table[k].Text);
    }
    ASSERT_LT(found.size(), table.size()) << "the oracle misses a key of a table out of order";
    EXPECT_EQ(Rows(ide, table, true), found);
    EXPECT_EQ(Rows(ide, table, false), (TRows{"1=" + table[0].Text, "2=" + table[1].Text, "3=" + table[2].Text}));

    const TVehicleList unsorted = List(ide, table, true);
    ASSERT_EQ(unsorted.Findings.size(), 1u);
    EXPECT_EQ(unsorted.Findings[0].Code, vehmira::fileio::TCheckCode::GXTKeysUnsorted);
    EXPECT_EQ(unsorted.Findings[0].Facts.Subject, "Text\\American.gxt");
    EXPECT_EQ(unsorted.Findings[0].Facts.Number, std::int64_t(table.size() - found.size()));
    EXPECT_TRUE(List(ide, table, false).Findings.empty());
}

TEST(VehicleList, RepeatedKeysOutOfOrderGiveOnlyTheOneTheGameFinds)
{
    // TWIN, OTHER, TWIN in that order whatever the hashes: only one TWIN can be found.
    const std::vector<TFixtureGXTText> table = {{"TWIN", "One"}, {"OTHER", "Other"}, {"TWIN", "Two"}};
    const std::vector<std::uint32_t> hashes = {FixtureKeyHash("TWIN"), FixtureKeyHash("OTHER"), FixtureKeyHash("TWIN")};
    const std::optional<std::size_t> found = GameKeySearchOracle(hashes, hashes[0]);
    const TRows expected = found ? TRows{"9=" + table[*found].Text} : TRows{};
    EXPECT_EQ(Rows("9, a, b, c, d, TWIN\r\n", table, true), expected);
}

// The trailers and the freight cars have no GXT name: the game's list of
// vehicles still holds them, and so does ours, by their model names.
TEST(VehicleList, AVehicleWithoutANameIsListedByItsModel)
{
    const std::vector<TFixtureGXTText> table = {{"CHEETAH", "Cheetah"}};
    const std::string file = "cars\r\n"
                             "415, cheetah, cheetah, car, CHEETAH, CHEETAH\r\n"
                             "435, artict1, artict1, trailer, ARTICT1, ARTICT1\r\n"
                             "590, freibox, freibox, train, FREIBOX, MISSION\r\n"
                             "end\r\n"
                             "objs\r\n"
                             "1000, box, box, 100, 0, NOKEY\r\n"
                             "end\r\n";
    EXPECT_EQ(Rows(file, table), (TRows{"415=Cheetah", "435=artict1 (by its model)", "590=freibox (by its model)"}))
        << "a line outside CARS without a name is no vehicle";
    const TVehicleList list = List(file, table, false);
    ASSERT_EQ(list.Rows.size(), 3u);
    EXPECT_EQ(list.Rows[0].Model, "cheetah");
    EXPECT_FALSE(list.Rows[0].NameFromModel);
}
