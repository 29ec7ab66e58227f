#include "gamedata/CarFileCheck.h"
#include "gamedata/CarMods.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vehmira::gamedata;
using namespace vehmira::fileio;

namespace {

// "line code subject number" for each finding.
std::vector<std::string> Described(const std::vector<TLineFinding>& findings)
{
    std::vector<std::string> described;
    for (const TLineFinding& finding : findings)
        described.push_back(std::to_string(finding.Line) + " " + std::string(CheckCodeName(finding.Finding.Code)) +
                            " " + finding.Finding.Facts.Subject + " " + std::to_string(finding.Finding.Facts.Number));
    return described;
}

TModelNames Names(std::initializer_list<std::string_view> names)
{
    TModelNames set;
    for (const std::string_view name : names)
        set.Add(name);
    return set;
}

TEST(CarFileCheckTest, ColourLinesAgainstTheVehiclesAndThePalette)
{
    using TLines = std::vector<std::string>;
    const std::string palette = "col\r\n0,0,0\r\n1,1,1\r\n2.2.2\r\nend\r\n";
    const struct {
        std::string Label;
        std::string Lines;
        TLines Expected;
    } cases[] = {
        {"known models in range, any case", "car\r\nSultan, 0,1, 2,2\r\nend\r\ncar4\r\nelegy, 0,1,2,0\r\nend\r\n", {}},
        {"an unknown model is only that", "car\r\n\r\nghost, 9,9\r\nend\r\n", {"8 carcols_unknown_model ghost 0"}},
        {"the first colour past the table", "car\r\nsultan, 0,1, 3,7\r\nend\r\n", {"7 carcols_colour_range sultan 3"}},
        {"eight pairs are the most", "car\r\nsultan, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0\r\nend\r\n", {}},
        {"a ninth pair is ignored", "car\r\nsultan, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 1\r\nend\r\n",
         {"7 carcols_too_many sultan 9"}},
        {"car4 sets of four", "car4\r\nelegy, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, "
                              "0,0,0,0, # nine\r\nend\r\n",
         {"7 carcols_too_many elegy 9"}},
        {"comments and other sections are no car lines", "# car\r\nghost, 1,1\r\ncar\r\n; ghost, 1,1\r\nend\r\n", {}},
    };
    const TModelNames vehicles = Names({"sultan", "ELEGY"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        EXPECT_EQ(Described(CheckCarcols(palette + c.Lines, vehicles)), c.Expected);
    }
}

TEST(CarFileCheckTest, UpgradeLinesAgainstTheVehiclesAndTheParts)
{
    using TLines = std::vector<std::string>;
    const std::string text = "link\n"
                             "exh_a_l exh_a_s\n"     // 2
                             "end\n"
                             "mods\n"
                             "sultan, exh_a_l, nto_b_l\n" // 5
                             "ghost, exh_a_l\n"      // 6
                             "end\n"
                             "wheel\n"
                             "1, wheel_sr6, wheel_x\n" // 9
                             "end\n"
                             "other\n"
                             "anything at all\n"
                             "end\n";
    const TModelNames vehicles = Names({"SULTAN"});
    const TModelNames parts = Names({"exh_a_l", "EXH_A_S", "nto_b_l", "wheel_sr6"});
    EXPECT_EQ(Described(CheckCarmods(text, vehicles, nullptr)), (TLines{"6 carmods_unknown_model ghost 0"}));
    EXPECT_EQ(Described(CheckCarmods(text, vehicles, &parts)),
              (TLines{"6 carmods_unknown_model ghost 0", "9 carmods_unknown_part wheel_x 0"}));
    const TModelNames fewParts = Names({"exh_a_l"});
    EXPECT_EQ(Described(CheckCarmods(text, vehicles, &fewParts)),
              (TLines{"2 carmods_unknown_part exh_a_s 0", "5 carmods_unknown_part nto_b_l 0",
                      "6 carmods_unknown_model ghost 0", "9 carmods_unknown_part wheel_sr6 0",
                      "9 carmods_unknown_part wheel_x 0"}));
}

TEST(CarFileCheckTest, AnUpgradeLineOfSeparatorsAloneNamesNothing)
{
    const std::vector<TCarmodsLine> lines = ReadCarmods("mods\n,\n,sultan,,exh_a_l\nend\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Line, 3u);
    EXPECT_EQ(lines[0].Vehicle, "sultan");
    EXPECT_EQ(lines[0].Parts, std::vector<std::string>{"exh_a_l"});
}

TEST(CarFileCheckTest, ReadsObjectNamesOfObjsSectionsOnly)
{
    EXPECT_EQ(ReadObjectNames("objs\n1000, spl_a, spl_a, 50, 0\n# 1001, commented\nend\n"
                              "tobj\n1002, timed, timed, 50, 0, 0, 24\nend\nOBJS\n1003,upper\n1004\nend\n"),
              (std::vector<std::string>{"spl_a", "upper"}));
}

TEST(CarFileCheckTest, TheScansCodesAreErrorsButForThreeWarnings)
{
    for (const TCheckCode code : {TCheckCode::MissingModel, TCheckCode::MissingTxd, TCheckCode::PaintjobLimit,
                                  TCheckCode::CarcolsUnknownModel, TCheckCode::CarmodsUnknownModel,
                                  TCheckCode::CarmodsUnknownPart})
        EXPECT_TRUE(IsCheckError(code)) << CheckCodeName(code);
    for (const TCheckCode code : {TCheckCode::ArchiveShadowed, TCheckCode::CarcolsColourRange,
                                  TCheckCode::CarcolsTooMany, TCheckCode::IdeFieldsGameLine})
        EXPECT_FALSE(IsCheckError(code)) << CheckCodeName(code);
}

} // namespace
