#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "package/CAR.h"
#include "engine/Export.h"
#include "support/PackageBuilder.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;
using namespace vehmira::fileio;

using namespace GameFixture;

namespace {

constexpr TExportChoices Everything{true, true, true, true, true, true};

ByteBuffer EntryData(const TGameFixtureContent& content, std::string_view name)
{
    for (const TFixtureArchiveEntry& entry : content.ArchiveEntries)
        if (entry.Name == name)
            return SectorPadded(entry.Data);
    throw std::runtime_error("no fixture entry " + std::string(name));
}

std::string Lengths(const ByteBuffer& package)
{
    std::string text;
    for (std::size_t i = 0; i < 7; ++i)
        text += std::to_string(LoadU32LE(std::span(package).subspan(14 + 4 * i).first<4>())) + " ";
    return text;
}

} // namespace

TEST(Export, EveryPieceByteForByteAndNoGameFileTouched)
{
    TFixtureGame game;
    const auto before = game.Files(true);
    const std::filesystem::path destination = game.Outside("police.car");
    ExportVehicle(game.Context(), game.Vehicle(596), Everything, destination);

    // The colour line is found by the model name, the handling lines by the handling ID.
    const ByteBuffer expected = PackageBytes(
        596, {true, true, true, true, true, true},
        {EntryData(game.Content, "copcarla.dff"), EntryData(game.Content, "copcarla.txd"), ToBytes("Police"),
         ToBytes("POLICE_LA 1600.0 4500.0 2.0 0.0 0.3 -0.1 75 0.75 0.85 0.52 5 200.0 25.0 R P"), {},
         ToBytes("596, copcarla, copcarla, car, POLICE_LA, POLICAR, null, executive, 10, 0, 0, -1, 0.7, 0.7, 0"),
         ToBytes("copcarla, 0,1")});
    EXPECT_EQ(ReadWholeFile(destination), expected);
    EXPECT_EQ(game.Files(true), before);
}

TEST(Export, HandlingLinesAreExportedInTheirCleanedForm)
{
    TFixtureGame game;
    const std::filesystem::path bike = game.Outside("bike.car");
    ExportVehicle(game.Context(), game.Vehicle(523), {false, false, false, true, false, false}, bike);
    EXPECT_EQ(ReadWholeFile(bike),
              PackageBytes(523, {false, false, false, true, false, false},
                              {ByteBuffer{}, {}, {},
                               ToBytes("COPBIKE 500.0 161.0 4.0 0.0 0.05 -0.1 103 1.6 0.9 0.48 5 190.0 50.0 R P"),
                               ToBytes("! COPBIKE 0.05 0.7 0.2 35.0 38.0 -0.2 0.3 0.5"), {}, {}}));

    // The end-of-line comment is cut before "#", the blank in front of it stays.
    const std::filesystem::path fast = game.Outside("fast.car");
    ExportVehicle(game.Context(), game.Vehicle(415), {false, false, false, true, true, false}, fast);
    const std::string text = ToText(ReadWholeFile(fast));
    EXPECT_EQ(text.substr(42), "CHEETAH\t1200.0\t3000.0\t2.0\t0.0\t-0.2\t-0.2\t70\t1.1\t0.8\t0.5\t5\t230.0\t30.0\tR\tP "
                               "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0, -1, 0.7, "
                               "0.7, 1 ");
}

TEST(Export, PiecesWithNothingToWriteKeepTheirFlagAndLengthZero)
{
    TGameFixtureContent content = DefaultContent();
    content.Carcols = "car\r\nLANDSTAL_X, 1,1\r\nend\r\n";
    content.MainTable = {{"OTHER", "Other"}};
    TFixtureGame game(content);
    const std::filesystem::path destination = game.Outside("landstal.car");
    ExportVehicle(game.Context(), game.Vehicle(400), {false, false, true, true, false, true}, destination);
    const ByteBuffer package = ReadWholeFile(destination);
    EXPECT_EQ((ByteBuffer{package.begin() + 8, package.begin() + 14}), (ByteBuffer{0, 0, 1, 1, 0, 1}));
    // No name, a main handling line, no special line, no colour line.
    EXPECT_EQ(Lengths(package), "0 0 0 73 0 0 0 ");
}

TEST(Export, NonePackageIsExactly42Bytes)
{
    TFixtureGame game;
    const std::filesystem::path destination = game.Outside("none");
    ExportVehicle(game.Context(), game.Vehicle(415), {false, false, false, false, false, false}, destination);
    ByteBuffer expected = {'C', 'A', 'R', 2, 0x9F, 0x01, 0, 0};
    expected.resize(42, 0);
    EXPECT_EQ(ReadWholeFile(destination), expected);
}

TEST(Export, FirstMatchWinsAndShortLinesNeverBreakTheSearch)
{
    TGameFixtureContent content = DefaultContent();
    // A single-field line before the special line, then a second line of the same vehicle.
    content.Handling = "%\r\n;\r\nCHEETAH 1 2\r\n! CHEETAH 5 6\r\ncheetah 3 4\r\n! CHEETAH 7 8\r\n";
    content.Carcols = "cheetah, 1,1\r\nCHEETAH, 2,2\r\n";
    content.MainTable = {{"CHEETAH", "First"}, {"CHEETAH", "Second"}};
    TFixtureGame game(content);
    const std::filesystem::path destination = game.Outside("fast.car");
    ExportVehicle(game.Context(), game.Vehicle(415), {false, false, true, true, false, true}, destination);
    EXPECT_EQ(ToText(ReadWholeFile(destination)).substr(42), "FirstCHEETAH 1 2! CHEETAH 5 6cheetah, 1,1");
}

TEST(Export, MissingArchiveEntryWritesNothingAndKeepsAnExistingPackage)
{
    TGameFixtureContent content = DefaultContent();
    std::erase_if(content.ArchiveEntries, [](const TFixtureArchiveEntry& entry) { return entry.Name == "cheetah.txd"; });
    TFixtureGame game(content);
    const std::filesystem::path destination = game.Outside("fast.car");
    game.Temp.Write("outside/fast.car", std::string_view("old package"));
    try {
        ExportVehicle(game.Context(), game.Vehicle(415), Everything, destination);
        ADD_FAILURE() << "export without the TXD entry succeeded";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find("cheetah.TXD"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadText(destination), "old package");
    EXPECT_EQ(game.Temp.List("outside"), std::vector<std::string>{"fast.car"});
}

TEST(Export, FailureAfterThePackageWasStartedLeavesNoFileBehind)
{
    TGameFixtureContent content = DefaultContent();
    TFixtureGame game(content);
    // The GXT file is missing: the export fails before any package file is created.
    std::filesystem::remove(game.GameDirectory() / "Text" / "American.gxt");
    const std::filesystem::path destination = game.Outside("fast.car");
    EXPECT_THROW(ExportVehicle(game.Context(), game.Vehicle(415), Everything, destination), std::exception);
    EXPECT_TRUE(game.Temp.List("outside").empty());
    // A destination in a folder that does not exist fails without leaving anything.
    EXPECT_THROW(ExportVehicle(game.Context(), game.Vehicle(415), {}, game.Outside("missing/dir/x.car")),
                 std::exception);
    EXPECT_TRUE(game.Temp.List("outside").empty());
}

TEST(Export, RefusesToRunWithoutAnOpenArchive)
{
    TFixtureGame game;
    TGameContext noArchive = game.Context();
    noArchive.Archive = nullptr;
    game.Archive.Close();
    for (const TGameContext& context : {noArchive, game.Context()}) {
        try {
            ExportVehicle(context, game.Vehicle(415), {}, game.Outside("x.car"));
            ADD_FAILURE() << "export without an archive succeeded";
        } catch (const TVehmiraError& error) {
            EXPECT_EQ(error.Kind(), TErrorKind::NoOpenArchive);
        }
    }
    EXPECT_TRUE(game.Temp.List("outside").empty());
}

TEST(ExportDestination, NeverOneOfTheGameFiles)
{
    TFixtureGame game;
    const auto before = game.Files();
    for (const char* relative : {"Models/GTA3.img", "Data/Handling.cfg", "Data/Vehicles.ide", "Data/Carcols.dat",
                                 "Text/American.gxt"}) {
        try {
            ExportVehicle(game.Context(), game.Vehicle(415), Everything, game.GameDirectory() / relative);
            ADD_FAILURE() << "exported over " << relative;
        } catch (const TVehmiraError& error) {
            EXPECT_NE(std::string(error.what()).find("game's own file"), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(game.Files(), before);
}
