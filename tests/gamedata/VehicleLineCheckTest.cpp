// The line check: fields counted as the game counts them, and the handling
// lines each type reads, one fault per case.

#include "gamedata/VehicleLineCheck.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

using TCodes = std::vector<std::string>;

const std::string CarLine = "400, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 0, 0, -1, 0.77, 0.77, -1";
const std::string BikeLine = "522, nrg500, nrg500, bike, NRG500, NRG500, bikes, motorbike, 10, 0, 0, -1, 0.62, 0.62, -1";
const std::string HeliLine = "487, maverick, maverick, heli, MAVERICK, MAVERIC, null, ignore, 10, 0, 0, -1, 0.64, 0.4, -1";
const std::string BoatLine = "472, coastg, coastg, boat, COASTGRD, COASTG, null, ignore, 10, 0, 0";

std::string Values(std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += " 1.0";
    return text;
}

const std::string Handling = "; comment\r\n"
                             "LANDSTAL" + Values(35) + "\r\n"
                             "NRG500\t" + Values(35) + "\r\n"
                             "MAVERICK" + Values(35) + "\r\n"
                             "COASTGRD" + Values(35) + "\r\n"
                             "! NRG500" + Values(15) + "\r\n"
                             "$ MAVERICK" + Values(21) + "\r\n"
                             "% COASTGRD" + Values(14) + "\r\n"
                             "^ 400 1.0 1.0\r\n";

TCodes Codes(std::string_view line, std::string_view handling)
{
    TCodes codes;
    for (const TCheckFinding& finding : CheckVehicleLines(line, handling, TDefinitionOrigin::Import))
        codes.push_back(std::string(CheckCodeName(finding.Code)) +
                        (finding.Facts.Subject.empty() ? "" : " " + finding.Facts.Subject) +
                        (finding.Facts.Number ? " " + std::to_string(finding.Facts.Number) : ""));
    return codes;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

} // namespace

TEST(VehicleLineCheck, TheGamesOwnLinesPass)
{
    for (const std::string& line : {CarLine, BikeLine, HeliLine, BoatLine})
        EXPECT_EQ(Codes(line, Handling), TCodes{}) << line;
    // A real row lacks a comma: blanks and tabs separate fields as well.
    EXPECT_EQ(Codes("400,\tlandstal\t\tlandstal, \tcar, LANDSTAL, LANDSTK, null, normal, 10, 0, 0, -1, 0.77, 0.77, -1",
                    Handling),
              TCodes{});
}

TEST(VehicleLineCheck, EachFaultHasItsCode)
{
    const struct {
        const char* what;
        std::string line;
        std::string handling;
        TCodes codes;
    } cases[] = {
        {"car line of 14 fields", Replaced(CarLine, ", -1, 0.77, 0.77, -1", ", -1, 0.77, 0.77"), Handling,
         {"ide_fields car 14"}},
        {"a trailing comma makes no field", Replaced(CarLine, ", -1, 0.77, 0.77, -1", ", -1, 0.77, 0.77,"), Handling,
         {"ide_fields car 14"}},
        {"heli line of 12 fields", Replaced(HeliLine, ", 0.64, 0.4, -1", ""), Handling, {"ide_fields heli 12"}},
        {"boat line of 10 fields", Replaced(BoatLine, ", 0, 0", ", 0"), Handling, {"ide_fields boat 10"}},
        {"unknown type", Replaced(CarLine, " car,", " automobile,"), Handling, {"ide_type automobile"}},
        {"type in capitals", Replaced(CarLine, " car,", " CAR,"), Handling, {"ide_type CAR"}},
        {"handling ID without a line", Replaced(CarLine, "LANDSTAL", "NOSUCH"), Handling,
         {"handling_missing NOSUCH"}},
        {"handling IDs are case-sensitive", Replaced(CarLine, "LANDSTAL", "landstal"), Handling,
         {"handling_missing landstal"}},
        {"a line after ;the end is not read", CarLine, ";the end\r\n" + Handling, {"handling_missing LANDSTAL"}},
        {"bike without its ! line", BikeLine, Replaced(Handling, "! NRG500", "! OTHER"), {"handling_kind !"}},
        {"quad reads ! lines", Replaced(BikeLine, " bike,", " quad,"), Handling, {}},
        {"heli without its $ line", HeliLine, Replaced(Handling, "$ MAVERICK", "; MAVERICK"), {"handling_kind $"}},
        {"boat without its % line", BoatLine, Replaced(Handling, "% COASTGRD", "! COASTGRD"), {"handling_kind %"}},
        // "world" reads as no number: the game reads no value of the line.
        {"typed handling line of two words", CarLine, Replaced(Handling, "LANDSTAL" + Values(35), "LANDSTAL world"),
         {"handling_fields"}},
        {"standard line of 36 values", CarLine, Replaced(Handling, "LANDSTAL" + Values(35), "LANDSTAL" + Values(36)),
         {"handling_fields 36"}},
        {"! line of 14 values", BikeLine, Replaced(Handling, "! NRG500" + Values(15), "! NRG500" + Values(14)),
         {"handling_fields ! 14"}},
        {"$ line of 22 values", HeliLine, Replaced(Handling, "$ MAVERICK" + Values(21), "$ MAVERICK" + Values(22)),
         {"handling_fields $ 22"}},
        {"% line of 13 values", BoatLine, Replaced(Handling, "% COASTGRD" + Values(14), "% COASTGRD" + Values(13)),
         {"handling_fields % 13"}},
        {"front wheel size 0", Replaced(CarLine, "0.77, 0.77", "0, 0.77"), Handling, {"wheel_size_zero 13"}},
        {"rear wheel size 0.0", Replaced(CarLine, "0.77, 0.77", "0.77, 0.0"), Handling, {"wheel_size_zero 14"}},
        {"a flying plane's wheels are forced", Replaced(Replaced(CarLine, " car,", " f_plane,"), "0.77, 0.77", "0, 0"),
         Handling, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Codes(c.line, c.handling), c.codes) << c.what;
}

TEST(VehicleLineCheck, AFieldThatDoesNotReadAsItsNumberEndsTheDefinitionLine)
{
    const struct {
        const char* what;
        std::string line;
        TCodes codes;
    } cases[] = {
        {"frequency \"ten\"", Replaced(CarLine, "normal, 10,", "normal, ten,"), {"ide_fields car 8"}},
        {"front wheel \"O.77\"", Replaced(CarLine, "0.77, 0.77", "O.77, 0.77"), {"ide_fields car 12"}},
        // 10 is read, ".5" is taken for the flags and the rest slides.
        {"frequency \"10.5\"", Replaced(CarLine, "normal, 10,", "normal, 10.5,"), {"ide_fields car 9"}},
        {"rear wheel \"0.7.7\"", Replaced(CarLine, "0.77, 0.77", "0.77, 0.7.7"), {"ide_fields car 14"}},
        {"comprules in hexadecimal", Replaced(CarLine, "10, 0, 0,", "10, 0, 1f10,"), {}},
        {"comprules \"1g\"", Replaced(CarLine, "10, 0, 0,", "10, 0, 1g,"), {"ide_fields car 11"}},
        {"a boat's flags \"x\"", Replaced(BoatLine, "10, 0, 0", "10, x, 0"), {"ide_fields boat 9"}},
        // The last field read in part leaves nothing after it to misread.
        {"upgrade class \"-1x\"", Replaced(CarLine, "0.77, -1", "0.77, -1x"), {}},
        {"a wheel size of 0 past a misread is not read", Replaced(CarLine, "0.77, 0.77", "O.77, 0"), {"ide_fields car 12"}},
        {"an ID that reads in part", Replaced(CarLine, "400,", "400x,"), {"ide_fields car 1"}},
        {"an ID that does not read", Replaced(CarLine, "400,", "x400,"), {"ide_fields car"}},
        // The game reads the line as a C string.
        {"a zero byte ends the line", Replaced(CarLine, "0.77, 0.77", std::string("0.77\0, 0.77", 11)),
         {"ide_fields car 13"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Codes(c.line, Handling), c.codes) << c.what;
}

TEST(VehicleLineCheck, HandlingValuesThatReadAsNoNumberEndTheLine)
{
    const std::string landstal = "LANDSTAL" + Values(35);
    const std::string mass = Replaced(landstal, "LANDSTAL 1.0", "LANDSTAL ten");
    const std::string twelfth = "LANDSTAL" + Values(11) + " O.5" + Values(23);
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, mass)), TCodes{"handling_fields"});
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, twelfth)), TCodes{"handling_fields 11"});
    // The loader cuts the line into fields first: a value read in part keeps the next in place.
    const std::string typed = "LANDSTAL 1700.0 5008.3 2.5 0.0 0.0 -0.3 85 0.75 0.85 0.5 5 160.0 25.0 20.0 4 D 6.2 0.6 0 "
                              "30.0 1.1 0.1 0.0 0.3 -0.15 0.5 0.0 0.2 0.5 25000 20002000 1f00 1 1 1";
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, typed)), TCodes{});
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, Replaced(typed, " 4 D ", " 4WD D "))), TCodes{});
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, Replaced(typed, " 1f00 ", " zz "))),
              TCodes{"handling_fields 31"});
    const std::string cut = "LANDSTAL" + Values(10) + std::string("\0", 1) + Values(25);
    EXPECT_EQ(Codes(CarLine, Replaced(Handling, landstal, cut)), TCodes{"handling_fields 10"});
    const std::string bike = "! NRG500" + Values(15);
    EXPECT_EQ(Codes(BikeLine, Replaced(Handling, bike, Replaced(bike, "NRG500 1.0", "NRG500 x"))),
              TCodes{"handling_fields !"});
}

TEST(VehicleLineCheck, TheGamesOwnShortPlaneLineIsAWarningAnImportedOneAnError)
{
    const std::string skimmer = "460, skimmer, skimmer, plane, SEAPLANE, SKIMMER, null, ignore, 5, 0, 0";
    const std::string handling = Handling + "SEAPLANE" + Values(35) + "\r\n$ SEAPLANE" + Values(21) + "\r\n";
    const auto codes = [&](std::string_view line, TDefinitionOrigin origin) {
        TCodes found;
        for (const TCheckFinding& finding : CheckVehicleLines(line, handling, origin))
            found.push_back(std::string(CheckCodeName(finding.Code)) + (IsCheckError(finding.Code) ? " error" : " warning") +
                            " " + std::to_string(finding.Facts.Number));
        return found;
    };
    EXPECT_EQ(codes(skimmer, TDefinitionOrigin::GameFile), TCodes{"ide_fields_game_line warning 11"});
    EXPECT_EQ(codes(skimmer, TDefinitionOrigin::Import), TCodes{"ide_fields error 11"});
    // Only the stock fault is forgiven: another short line of the game's own stays an error.
    EXPECT_EQ(codes(skimmer + ", -1", TDefinitionOrigin::GameFile), TCodes{"ide_fields error 12"});
    EXPECT_EQ(codes(Replaced(skimmer, " plane,", " car,"), TDefinitionOrigin::GameFile), TCodes{"ide_fields error 11"});
    EXPECT_EQ(codes(Replaced(skimmer, ", 5,", ", five,"), TDefinitionOrigin::GameFile), TCodes{"ide_fields error 8"});
}
