#include "gamedata/VehiclesIde.h"

#include "fileio/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

std::vector<std::int32_t> IDsOf(const TVehicleFile& file)
{
    std::vector<std::int32_t> ids;
    for (const auto& record : file.Vehicles)
        ids.push_back(record.ID);
    return ids;
}

std::vector<std::int32_t> LoadIDs(std::string_view text)
{
    TVehicleFile file;
    file.LoadFromText(text);
    return IDsOf(file);
}

TEST(VehiclesIde, SectionsDecideWhichLinesAreRecords)
{
    struct TCase {
        std::string Name;
        std::string Text;
        std::vector<std::int32_t> IDs;
    };
    const std::vector<TCase> cases{
        {"no section", "400, a, b, car, h, K\n", {}},
        {"before first section", "401, a, b, car, h, K\ncars\n402, a, b, car, h, K\nend\n", {402}},
        {"between sections", "cars\n1,a,b,c,d,e\nend\n2,a,b,c,d,e\nCARS\n3,a,b,c,d,e\n", {1, 3}},
        {"letter case", "CaRs\n1,a,b,c,d,e\neNd\n2,a,b,c,d,e\n", {1}},
        {"other section", "peds\n1,a,b,c,d,e\nend\n", {}},
        {"section word with fields", "cars, x, y, z, w, v, u\n1,a,b,c,d,e\nend,a,b,c,d,e\n2,a,b,c,d,e\n", {1}},
        {"five fields skipped", "cars\n1,a,b,c,d\n2,a,b,c,d,e\n", {2}},
        {"comments and blanks", "cars\n# 9,a,b,c,d,e\n;9,a,b,c,d,e\n\n3,a,b,c,d,e # x\n", {3}},
        {"comment cuts fields", "cars\n4,a,b,c,d # e\n", {}},
        {"indented", "cars\n \t 5,a,b,c,d,e\n\tend\n6,a,b,c,d,e\n", {5}},
        {"signed ids", "cars\n+7,a,b,c,d,e\n-8,a,b,c,d,e\n", {7, -8}},
        {"duplicates", "cars\n9,a,b,c,d,e\n9,f,g,h,i,j\n", {9, 9}},
        {"section line not CR", "cars\r1,a,b,c,d,e\rend\r", {1}},
        {"'CARS' must be the whole field", "carsx\n1,a,b,c,d,e\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadIDs(c.Text), c.IDs) << c.Name;
}

TEST(VehiclesIde, RecordFieldsAndLine)
{
    TVehicleFile file;
    file.LoadFromText("cars\r\n"
                      "\t400, landstal, Landstal, car, LANDSTAL, LANDSTK, null, ignore, 1, 0  # comment\r\n"
                      "401 bravura,  bravura, car, 0.1s, 0.1s\r\n"
                      "402, boat1, boat1, boat, 0.1s, BOATKEY, x, y, 0, 0, 0,\t\t\r\n"
                      "403, m, t, car, h, G,\r\n"
                      "end\r\n");
    ASSERT_EQ(file.Vehicles.size(), 4u);
    const TVehicleRecord& first = file.Vehicles[0];
    EXPECT_EQ(first.ID, 400);
    EXPECT_EQ(first.ModelName, "landstal");
    EXPECT_EQ(first.TxdName, "Landstal");
    EXPECT_EQ(first.VehicleType, "car");
    EXPECT_EQ(first.HandlingID, "LANDSTAL");
    EXPECT_EQ(first.GameName, "LANDSTK");
    EXPECT_EQ(first.Line, "\t400, landstal, Landstal, car, LANDSTAL, LANDSTK, null, ignore, 1, 0  ");

    // No comma after the model name; "0.1s" becomes "0.1" except as the last field.
    EXPECT_EQ(file.Vehicles[1].ModelName, "bravura");
    EXPECT_EQ(file.Vehicles[1].HandlingID, "0.1");
    EXPECT_EQ(file.Vehicles[1].GameName, "0.1s");
    EXPECT_EQ(file.Vehicles[1].Line, "401 bravura,  bravura, car, 0.1s, 0.1s");

    EXPECT_EQ(file.Vehicles[2].HandlingID, "0.1");
    EXPECT_EQ(file.Vehicles[2].GameName, "BOATKEY");
    EXPECT_EQ(file.Vehicles[3].GameName, "G");
    EXPECT_EQ(file.Vehicles[3].Line, "403, m, t, car, h, G,");
}

TEST(VehiclesIde, BadIDNamesTheLineAndKeepsEarlierRecords)
{
    struct TCase {
        std::string BadField;
        std::string Line;
    };
    const std::vector<TCase> cases{
        {"4x1", "4x1, m, t, car, h, G"},
        {"2147483648", "2147483648, m, t, car, h, G"},
        {"-2147483649", "-2147483649, m, t, car, h, G"},
        {"-", "  -, m, t, car, h, G"},
        {"0x10", "0x10, m, t, car, h, G"},
    };
    for (const auto& c : cases) {
        TVehicleFile file;
        const std::string text = "# header\r\n\r\ncars\r\n400, a, b, car, h, K\r\n" + c.Line + "\r\n401, a, b, car, h, K\r\n";
        try {
            file.LoadFromText(text, "Data\\Vehicles.ide");
            ADD_FAILURE() << "no error for " << c.BadField;
        } catch (const TVehmiraError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Data\\Vehicles.ide, line 5: '" + c.BadField + "' is not a valid vehicle ID");
        }
        EXPECT_EQ(IDsOf(file), std::vector<std::int32_t>{400}) << c.BadField;
    }
}

TEST(VehiclesIde, ParseVehicleIDLimits)
{
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases{
        {"0", 0},
        {"-0", 0},
        {"0400", 400},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"1 ", std::nullopt},
        {"--1", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        std::int32_t value = 12345;
        const bool parsed = ParseVehicleID(text, value);
        EXPECT_EQ(parsed, expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(12345)) << text;
    }
}

TEST(VehiclesIde, LoadFromFileAppendsAndFindLastByIDTakesTheLast)
{
    TTempDir dir;
    const auto path = dir.Write("Data/Vehicles.ide", "cars\r\n400, a, b, car, h, K\r\n401, c, d, car, h, K\r\n"
                                                     "400, e, f, car, h, K\r\nend\r\n");
    TVehicleFile file;
    file.LoadFromFile(path);
    ASSERT_EQ(file.Vehicles.size(), 3u);
    ASSERT_NE(file.FindLastByID(400), nullptr);
    EXPECT_EQ(file.FindLastByID(400)->ModelName, "e");
    EXPECT_EQ(file.FindLastByID(401)->ModelName, "c");
    EXPECT_EQ(file.FindLastByID(402), nullptr);

    file.LoadFromFile(path);
    EXPECT_EQ(file.Vehicles.size(), 6u);
}

TEST(VehiclesIde, UnreadableFileRaisesAndAppendsNothing)
{
    TTempDir dir;
    TVehicleFile file;
    EXPECT_THROW(file.LoadFromFile(dir / "Data/missing.ide"), TVehmiraError);
    EXPECT_TRUE(file.Vehicles.empty());
}

} // namespace
