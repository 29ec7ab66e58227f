#include "fileio/Errors.h"
#include "engine/KeyedLines.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;
using namespace vehmira::package;

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

namespace {

TVehicleRecord Landstalker()
{
    TVehicleRecord vehicle;
    vehicle.ID = 400;
    vehicle.ModelName = "landstal";
    vehicle.TxdName = "landstal";
    vehicle.VehicleType = "car";
    vehicle.HandlingID = "LANDSTAL";
    vehicle.GameName = "LANDSTK";
    return vehicle;
}

std::string MergeMessage(TKeyedLineKind kind, const std::string& imported, const std::string& file,
                         const TVehicleRecord& target)
{
    try {
        MergeKeyedLine(kind, imported, file, target);
    } catch (const TVehmiraError& error) {
        return error.what();
    }
    return "(merged)";
}

} // namespace

TEST(KeyedLineMerge, ImportedSpecialLineMustCarryTheTargetsMarker)
{
    // Without its marker a special line would be read as a main line; "#!" as a comment.
    const std::string file = "LANDSTAL 1700.0 5008.3\r\n! LANDSTAL 0.10 0.20\r\n";
    const struct {
        std::string imported;
        std::string message;
    } cases[] = {
        {", NRG500 0.14 0.09", "starts with no marker, but Data\\Handling.cfg, line 2 \"! LANDSTAL 0.10 0.20\" "
                               "starts with \"!\""},
        {",! NRG500 0.14 0.09", "starts with no marker"},
        {"NRG500 0.14 0.09 1", "starts with the marker \"NRG500\""},
        {"$ NRG500 0.14 0.09", "starts with the marker \"$\""},
        {"#! NRG500 0.14 0.09", "is a comment line"},
        {"; NRG500 0.14 0.09", "is a comment line"},
    };
    for (const auto& c : cases) {
        const std::string message =
            MergeMessage(TKeyedLineKind::SpecialHandling, c.imported, file, Landstalker());
        EXPECT_NE(message.find(c.message), std::string::npos) << c.imported << ": " << message;
    }
    EXPECT_EQ(MergeKeyedLine(TKeyedLineKind::SpecialHandling, "! NRG500 0.14 0.09", file, Landstalker()).Text,
              "LANDSTAL 1700.0 5008.3\r\n! LANDSTAL 0.14 0.09\r\n");
}

TEST(KeyedLineMerge, EmptyImportedFieldsDoNotCount)
{
    const struct {
        TKeyedLineKind kind;
        std::string imported;
        std::string file;
    } refused[] = {
        {TKeyedLineKind::MainHandling, "CHEETAH,", "LANDSTAL 1700.0 5008.3\r\n"},
        {TKeyedLineKind::MainHandling, ",CHEETAH", "LANDSTAL 1700.0 5008.3\r\n"},
        {TKeyedLineKind::MainHandling, "CHEETAH # 1200.0 3000.0", "LANDSTAL 1700.0 5008.3\r\n"},
        {TKeyedLineKind::Carcols, "cheetah,", "landstal, 4,1\r\n"},
        {TKeyedLineKind::SpecialHandling, "! NRG500,", "! LANDSTAL 0.1 0.2\r\n"},
        {TKeyedLineKind::Vehicles, "1, a, b, car, X,", "400, landstal, landstal, car, LANDSTAL, LANDSTK, null\r\n"},
    };
    for (const auto& c : refused) {
        const std::string message = MergeMessage(c.kind, c.imported, c.file, Landstalker());
        EXPECT_NE(message.find("field(s); it needs at least"), std::string::npos) << c.imported << ": " << message;
    }
    // A trailing comma or comment adds nothing to the rebuilt line.
    EXPECT_EQ(MergeKeyedLine(TKeyedLineKind::MainHandling, "CHEETAH 1200.0,", "LANDSTAL 1700.0\n", Landstalker()).Text,
              "LANDSTAL 1200.0\n");
    EXPECT_EQ(MergeKeyedLine(TKeyedLineKind::Carcols, "cheetah, 1, 2 # mine", "landstal, 4,1\n", Landstalker()).Text,
              "landstal, 1, 2\n");
}

TEST(KeyedLineMerge, EmptyKeptFieldOfTheGameLineIsRefused)
{
    // The GXT key of this definition is empty: a rebuilt line cannot hold it in place.
    const std::string message = MergeMessage(TKeyedLineKind::Vehicles, "402, a, b, car, X, Y, L",
                                             "cars\r\n402, n n,S,L,\r\nend\r\n", [] {
                                                 TVehicleRecord vehicle;
                                                 vehicle.ID = 402;
                                                 return vehicle;
                                             }());
    EXPECT_EQ(message, "Data\\Vehicles.ide, line 2 \"402, n n,S,L,\" has an empty field 6");
    // The facts for a front to word it: which file, which line, the line.
    try {
        TVehicleRecord vehicle;
        vehicle.ID = 402;
        MergeKeyedLine(TKeyedLineKind::Vehicles, "402, a, b, car, X, Y, L", "cars\r\n402, n n,S,L,\r\nend\r\n", vehicle);
        ADD_FAILURE() << "merged";
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::GameLineDamaged);
        EXPECT_EQ(error.Facts().Subject, "Data\\Vehicles.ide");
        EXPECT_EQ(error.Facts().Number, 2);
        EXPECT_EQ(error.Facts().Text, "402, n n,S,L,");
    }
    // A special line whose marker is empty is no special line to keep.
    EXPECT_NE(MergeMessage(TKeyedLineKind::SpecialHandling, "! X 1 2", ",LANDSTAL 0.1 0.2\n", Landstalker())
                  .find("has an empty field 1"),
              std::string::npos);
}

TEST(KeyedLineMerge, RebuiltLineThatWouldReadAsACommentIsRefused)
{
    const std::string message =
        MergeMessage(TKeyedLineKind::SpecialHandling, " ; X 5 6", " ; LANDSTAL 0.1 0.2\n", Landstalker());
    EXPECT_NE(message.find("would not read back as its fields"), std::string::npos) << message;
}

TEST(KeyedLineMerge, MergingTheResultAgainChangesNothing)
{
    const std::string handling = "LANDSTAL 1700.0 5008.3\r\n! LANDSTAL 0.1 0.2,\r\n";
    const std::string vehicles = "cars\r\n400, landstal, landstal, car, LANDSTAL, LANDSTK, null,\r\nend\r\n";
    const struct {
        TKeyedLineKind kind;
        std::string imported;
        std::string file;
    } cases[] = {
        {TKeyedLineKind::MainHandling, ",CHEETAH 1200.0 0.1s 3000.0,", handling},
        {TKeyedLineKind::MainHandling, "CHEETAH 1 0.1s", handling},
        {TKeyedLineKind::SpecialHandling, "! NRG500 0.14 0.09,", handling},
        {TKeyedLineKind::Vehicles, ",402, n n,S,L,G,null,executive,", vehicles},
        {TKeyedLineKind::Vehicles, "402 n n S L G", vehicles},
        {TKeyedLineKind::Carcols, "cheetah,,1,2,", "landstal, 4,1,\n"},
    };
    for (const auto& c : cases) {
        const std::string once = MergeKeyedLine(c.kind, c.imported, c.file, Landstalker()).Text;
        EXPECT_NE(once, c.file) << c.imported;
        EXPECT_EQ(MergeKeyedLine(c.kind, c.imported, once, Landstalker()).Text, once) << c.imported;
    }
}

TEST(KeyedLineMerge, ZeroBytesAreNeverMergedAndRefusalsKeepTheirReason)
{
    const std::string file = "cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0\r\nend\r\n";
    const std::string zeroInImported("415, a, b, car, X, Y, null, executive, 1\0 0, 0, 0, -1, 0.7, 0.7, 0", 66);
    try {
        MergeKeyedLine(TKeyedLineKind::Vehicles, zeroInImported, file, Cheetah());
        ADD_FAILURE() << "merged";
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::ImportedLineZeroByte);
        EXPECT_EQ(error.Facts().Number, 41);
        // Read as a C string, the message still says what is wrong and where.
        EXPECT_NE(std::string(error.what()).find("holds a zero byte at byte 41"), std::string::npos) << error.what();
    }
    // A game line that carries a zero byte in a field the rebuilt line keeps is damaged; the
    // message shows the zero byte and goes on past it.
    const std::string zeroInGame =
        std::string("cars\r\n415, cheetah, cheetah, car, CHEETAH, CHEE\0TAH, null\r\nend\r\n", 64);
    const std::string message =
        MergeMessage(TKeyedLineKind::Vehicles, "1, a, b, car, X, Y, null, executive, 10, 0, 0", zeroInGame, Cheetah());
    EXPECT_NE(message.find("CHEE\\0TAH, null\" has a zero byte in field 6"), std::string::npos) << message;
}

TEST(KeyedLineMerge, SpecialLineWithoutAMarkerIsRefusedWhereTheTargetHasNone)
{
    try {
        MergeKeyedLine(TKeyedLineKind::SpecialHandling, "CHEETAH 0.1 0.2", "CHEETAH 1200.0 3000.0\r\n", Cheetah());
        ADD_FAILURE() << "merged";
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::ImportedLineNoMarker);
    }
    EXPECT_EQ(MergeKeyedLine(TKeyedLineKind::SpecialHandling, "$ CHEETAH 0.1 0.2", "CHEETAH 1200.0\r\n", Cheetah())
                  .ReplacedLines,
              0u);
}
