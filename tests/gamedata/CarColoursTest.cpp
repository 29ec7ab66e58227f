#include "gamedata/CarColours.h"

#include <gtest/gtest.h>

using namespace vehmira::gamedata;

namespace {

const char* const Carcols = "# colours\r\n"
                            "col\n"
                            "0,0,0\t\t# 0 black\n"
                            "245,245,245 # 1 white\n"
                            "115.14,28\n"
                            "300,0,0\n"
                            "42 119 161\n"
                            "end\n"
                            "car\n"
                            "landstal, 4,1, 1,0\n"
                            "BRAVURA, 2,3\n"
                            "broken, 9,1\n"
                            "end\n"
                            "car4\n"
                            "sandking, 1,4,0,0\n"
                            "end\n";

TEST(CarColours, PaletteKeepsEveryPlaceAndReadsDotsAsCommas)
{
    const std::vector<TRgb> palette = ReadCarcolsPalette(Carcols);
    ASSERT_EQ(palette.size(), 5u);
    EXPECT_EQ(palette[1], (TRgb{245, 245, 245}));
    EXPECT_EQ(palette[2], (TRgb{115, 14, 28}));
    EXPECT_EQ(palette[3], (TRgb{0, 0, 0}));  // 300 is no colour: black keeps the place
    EXPECT_EQ(palette[4], (TRgb{42, 119, 161}));
}

TEST(CarColours, VehicleTakesItsFirstPair)
{
    struct TCase {
        const char* Model;
        std::optional<TRgb> Primary, Secondary;
    };
    const TCase cases[] = {
        {"landstal", TRgb{42, 119, 161}, TRgb{245, 245, 245}},
        {"bravura", TRgb{115, 14, 28}, TRgb{0, 0, 0}},
        {"sandking", TRgb{245, 245, 245}, TRgb{42, 119, 161}},
        {"broken", std::nullopt, std::nullopt},  // index 9 lies outside the palette
        {"nosuch", std::nullopt, std::nullopt},
    };
    for (const TCase& c : cases) {
        const auto colours = FindVehicleColours(Carcols, c.Model);
        ASSERT_EQ(colours.has_value(), c.Primary.has_value()) << c.Model;
        if (colours) {
            EXPECT_EQ(colours->Primary, *c.Primary) << c.Model;
            EXPECT_EQ(colours->Secondary, *c.Secondary) << c.Model;
        }
    }
}

TEST(CarColours, LineOnItsOwnUsesTheGivenPalette)
{
    const std::vector<TRgb> palette = ReadCarcolsPalette(Carcols);
    EXPECT_EQ(ColoursOfLine("mycar, 1, 4", palette)->Secondary, (TRgb{42, 119, 161}));
    EXPECT_FALSE(ColoursOfLine("mycar", palette));
    EXPECT_FALSE(ColoursOfLine("mycar, x, 1", palette));
}

} // namespace
