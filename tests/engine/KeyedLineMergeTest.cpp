#include "fileio/Errors.h"
#include "engine/KeyedLines.h"

#include <gtest/gtest.h>

namespace {

TVehicleRecord Cheetah()
{
    TVehicleRecord vehicle;
    vehicle.ID = 415;
    vehicle.ModelName = "cheetah";
    vehicle.TxdName = "cheetah";
    vehicle.VehicleType = "car";
    vehicle.HandlingID = "CHEETAH";
    vehicle.GameName = "CHEETAH";
    return vehicle;
}

} // namespace

TEST(KeyedLineMerge, VehiclesLineKeepsTheTargetsFirstSixFields)
{
    const std::string file = "cars\r\n"
                             "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0, -1, 0.7, 0.7, 1\r\n"
                             "end\r\n";
    const std::string imported =
        "402,buffalo,buffalo,car,BUFFALO,BUFFALO,null,executive,5,0,0,-1,0.68,0.68,0";
    const TMergeResult result = MergeKeyedLine(TKeyedLineKind::Vehicles, imported, file, Cheetah());
    EXPECT_EQ(result.ReplacedLines, 1u);
    EXPECT_EQ(result.Text, "cars\r\n"
                           "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 5, 0, 0, -1, 0.68, 0.68, 0\r\n"
                           "end\r\n");
}

TEST(KeyedLineMerge, TabSeparatedHandlingLineIsRebuiltWithSingleBlanks)
{
    const std::string file = "CHEETAH 1200.0 3000.0 2.0\n";
    const TMergeResult result =
        MergeKeyedLine(TKeyedLineKind::MainHandling, "\tINFERNUS\t1400.0\t\t2725.3 ,2.0 0.1s 5\t", file, Cheetah());
    EXPECT_EQ(result.Text, "CHEETAH 1400.0 2725.3 2.0 0.1 5\n");
}

TEST(KeyedLineMerge, EveryOtherLineStaysByteForByte)
{
    // Comments, blank lines, indentation, a comment-only match and mixed endings all survive;
    // the replaced line keeps its own (LF) ending and the last line has none.
    const std::string file = "; handling\r\n"
                             "\r\n"
                             "  LANDSTAL 1700.0 5008.3\r\n"
                             "# CHEETAH 1.0 2.0\r\n"
                             "CHEETAH\t1200.0\t3000.0 # tuned\n"
                             ";CHEETAH 9 9\r"
                             "! CHEETAH 0.1 0.2\r\n"
                             "POLICE_LA 1600.0";
    const TMergeResult result = MergeKeyedLine(TKeyedLineKind::MainHandling, "X 1 2 3", file, Cheetah());
    EXPECT_EQ(result.Text, "; handling\r\n"
                           "\r\n"
                           "  LANDSTAL 1700.0 5008.3\r\n"
                           "# CHEETAH 1.0 2.0\r\n"
                           "CHEETAH 1 2 3\n"
                           ";CHEETAH 9 9\r"
                           "! CHEETAH 0.1 0.2\r\n"
                           "POLICE_LA 1600.0");
}

TEST(KeyedLineMerge, EveryMatchingLineIsReplacedWithItsOwnKey)
{
    const std::string file = "car\r\ncheetah, 1,1\r\nCHEETAH,2,2\r\nlandstal, 4,1\r\n";
    const TMergeResult result = MergeKeyedLine(TKeyedLineKind::Carcols, "infernus, 12,12, 7,7", file, Cheetah());
    EXPECT_EQ(result.ReplacedLines, 2u);
    EXPECT_EQ(result.Text, "car\r\ncheetah, 12, 12, 7, 7\r\nCHEETAH, 12, 12, 7, 7\r\nlandstal, 4,1\r\n");
}

TEST(KeyedLineMerge, SpecialLineKeepsTheImportedMarkAndTheTargetsKey)
{
    // A line with a single field no longer breaks the special-line step.
    const std::string file = "%\r\nCHEETAH 1 2\r\n! cheetah 0.1 0.2\r\n";
    const TMergeResult result =
        MergeKeyedLine(TKeyedLineKind::SpecialHandling, "! FCR900 0.5 0.6 0.7", file, Cheetah());
    EXPECT_EQ(result.Text, "%\r\nCHEETAH 1 2\r\n! cheetah 0.5 0.6 0.7\r\n");
}

TEST(KeyedLineMerge, NoMatchingLineLeavesTheTextUnchanged)
{
    const std::string file = "# only comments\r\n\r\nLANDSTAL 1 2\r\n";
    const TMergeResult result = MergeKeyedLine(TKeyedLineKind::MainHandling, "X 1 2", file, Cheetah());
    EXPECT_EQ(result.ReplacedLines, 0u);
    EXPECT_EQ(result.Text, file);
}

TEST(KeyedLineMerge, LinesTooShortForTheirKindAreRefused)
{
    const std::string vehicles = "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null\r\n";
    const struct {
        const char* name;
        TKeyedLineKind kind;
        std::string imported;
        std::string file;
    } cases[] = {
        {"main line reduced to its key", TKeyedLineKind::MainHandling, "INFERNUS", "CHEETAH 1 2\r\n"},
        {"blank main line", TKeyedLineKind::MainHandling, "   ", "CHEETAH 1 2\r\n"},
        {"colour line reduced to its key", TKeyedLineKind::Carcols, "infernus", "cheetah, 1,1\r\n"},
        {"special line of one field", TKeyedLineKind::SpecialHandling, "!", "! CHEETAH 1\r\n"},
        {"Vehicles.ide line of five fields", TKeyedLineKind::Vehicles, "1, a, b, car, X", vehicles},
        {"game Vehicles.ide line of five fields", TKeyedLineKind::Vehicles, "1, a, b, car, X, Y, z",
         "415, cheetah, cheetah, car, CHEETAH\r\n"},
        {"line break inside the imported line", TKeyedLineKind::MainHandling, "X 1 2\r\nCHEETAH 0 0",
         "CHEETAH 1 2\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(MergeKeyedLine(c.kind, c.imported, c.file, Cheetah()), TVehmiraError) << c.name;
}

TEST(KeyedLines, FirstMatchingLineIsFoundInItsCleanedForm)
{
    const std::string file = "; CHEETAH 0\r\n"
                             "landstal, 4,1\r\n"
                             "cheetah, 20,1  # first\r\n"
                             "CHEETAH, 99,1\r\n";
    EXPECT_EQ(FindFirstKeyedLine(file, TKeyedLineKind::Carcols, Cheetah()), "cheetah, 20,1  ");
    EXPECT_EQ(FindFirstKeyedLine(file, TKeyedLineKind::SpecialHandling, Cheetah()), std::nullopt);
}
