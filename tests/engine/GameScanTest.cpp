// The scan of a whole game on the demo game: clean as written, and with one
// fault seeded per rule, exactly the seeded vehicles and lines reported.

#include "engine/GameScan.h"

#include "archive/IMG.h"
#include "demo/DemoGame.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "fileio/Stream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vehmira;
using namespace vehmira::engine;

namespace {

class TScannedGame {
public:
    TScannedGame() { demo::WriteDemoGame(Directory()); }
    std::filesystem::path Directory() const { return Temp / "game"; }
    std::filesystem::path File(std::string_view gamePath) const
    {
        return fileio::ResolveGamePath(Directory(), gamePath);
    }
    std::string Read(std::string_view gamePath) const { return fileio::ReadWholeFileText(File(gamePath)); }
    void Write(std::string_view gamePath, std::string_view text) const
    {
        std::filesystem::create_directories(File(gamePath).parent_path());
        fileio::ReplaceFileAtomically(File(gamePath), text);
    }
    void Replace(std::string_view gamePath, const std::string& from, const std::string& to) const
    {
        std::string text = Read(gamePath);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        Write(gamePath, text.replace(at, from.size(), to));
    }
    void RenameEntry(const std::string& from, const std::string& to) const
    {
        archive::TIMGFile archive;
        archive.Open(File(fileio::GameFiles::ModelArchive));
        archive.Directory.FindEntry(from)->Name = to;
        archive.Directory.SaveToStream(archive.File());
    }
    fileio::ByteBuffer Entry(const std::string& name) const
    {
        archive::TIMGFile archive;
        archive.Open(File(fileio::GameFiles::ModelArchive));
        fileio::TMemoryStream bytes;
        archive.ExtractToStream(bytes, 0, name);
        return bytes.Bytes();
    }
    // Adds entries (name and bytes) to the game's archive, or replaces them.
    void AddEntries(const std::map<std::string, fileio::ByteBuffer>& entries) const
    {
        AddEntriesTo(File(fileio::GameFiles::ModelArchive), entries);
    }
    // A further archive holding the entries.
    void WriteArchive(std::string_view gamePath, const std::map<std::string, fileio::ByteBuffer>& entries) const
    {
        fileio::ReplaceFileAtomically(File(gamePath), std::string_view("VER2\0\0\0\0", 8));
        AddEntriesTo(File(gamePath), entries);
    }

private:
    static void AddEntriesTo(const std::filesystem::path& path, const std::map<std::string, fileio::ByteBuffer>& entries)
    {
        archive::TIMGFile archive;
        archive.Open(path);
        for (const auto& [name, bytes] : entries) {
            fileio::TMemoryStream stream(bytes);
            archive.AddStream(stream, 0, bytes.size(), name);
        }
    }
    TTempDir Temp;
};

using TFound = std::map<std::int32_t, std::set<std::string>>;

// Each vehicle with findings: its codes.
TFound VehicleCodes(const TGameScan& scan)
{
    TFound found;
    for (const TScannedVehicle& vehicle : scan.Vehicles)
        for (const fileio::TCheckFinding& finding : vehicle.Findings)
            found[vehicle.ID].insert(std::string(fileio::CheckCodeName(finding.Code)));
    return found;
}

std::set<std::string> FileCodes(const TGameScan& scan)
{
    std::set<std::string> found;
    for (const TScanFileFinding& file : scan.Files)
        found.insert(file.File + ":" + std::to_string(file.Line) + " " +
                     std::string(fileio::CheckCodeName(file.Finding.Code)));
    return found;
}

std::size_t LineOf(const std::string& text, const std::string& start)
{
    const std::size_t at = text.find(start);
    return std::size_t(std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n')) + 1;
}

const fileio::TCheckFinding& OnlyFinding(const TGameScan& scan, std::int32_t id)
{
    for (const TScannedVehicle& vehicle : scan.Vehicles)
        if (vehicle.ID == id && vehicle.Findings.size() == 1)
            return vehicle.Findings.front();
    throw std::runtime_error("vehicle " + std::to_string(id) + " has not exactly one finding");
}

TEST(GameScanTest, TheDemoGameScansCleanWithoutGtaDat)
{
    const TScannedGame game;
    ASSERT_FALSE(fileio::FileExists(game.File(fileio::GameFiles::GameFileList)));
    const TGameScan scan = ScanGame(game.Directory(), {});
    EXPECT_EQ(scan.Vehicles.size(), 13u);
    EXPECT_EQ(VehicleCodes(scan), TFound{});
    EXPECT_EQ(FileCodes(scan), std::set<std::string>{});
    EXPECT_FALSE(scan.HasErrors());
    EXPECT_EQ(scan.Layout.EntryCount, 28u);
}

TEST(GameScanTest, ReportsExactlyTheSeededFaults)
{
    const TScannedGame game;
    game.RenameEntry("bravura.dff", "bravura_old.dff");
    game.RenameEntry("ambulan_tx.txd", "ambulan_old.txd");
    game.AddEntries({{"buffalo.dff", fileio::ByteBuffer(300, 0x55)},
                     {"peren1.txd", game.Entry("peren.txd")}, {"peren2.txd", game.Entry("peren.txd")},
                     {"peren3.txd", game.Entry("peren.txd")}, {"Peren04.txd", game.Entry("peren.txd")},
                     {"peren5.txd", game.Entry("peren.txd")}});
    game.Write(fileio::GameFiles::GameFileList, "# the mod's archive\r\nIMG MODELS\\CARS.IMG\r\n"
                                                "IDE DATA\\MAPS\\VEH_MODS\\VEH_MODS.IDE\r\n");
    game.WriteArchive("Models\\cars.img", {{"cheetah.dff", game.Entry("cheetah.dff")}});
    game.Write("Data\\maps\\veh_mods\\veh_mods.ide", "objs\r\n1000, spl_b_mar_m, spl_b_mar_m, 50, 0\r\nend\r\n");
    game.Replace(fileio::GameFiles::Handling, "! NRG500 ", "; ! NRG500 ");
    game.Replace(fileio::GameFiles::Carcols, "copcarla, 0,1", "copcarla, 0,200");
    game.Replace(fileio::GameFiles::Carcols, "ambulan, 1,3", "ambulan, 1,3, 1,3, 1,3, 1,3, 1,3, 1,3, 1,3, 1,3, 1,3");
    game.Replace(fileio::GameFiles::Carcols, "taxi, 6,1", "taxi, 6,1\r\nghostcar, 1,1");
    game.Write(fileio::GameFiles::Carmods, "link\r\nspl_b_mar_m spl_b_mar_m\r\nend\r\nmods\r\n"
                                           "landstal, spl_b_mar_m, no_such_part\r\nghostcar, spl_b_mar_m\r\nend\r\n");

    const TGameScan scan = ScanGame(game.Directory(), {});
    EXPECT_EQ(VehicleCodes(scan), (TFound{{401, {"missing_model"}},
                                          {402, {"unreadable_model"}},
                                          {404, {"paintjob_limit"}},
                                          {415, {"archive_shadowed"}},
                                          {416, {"missing_txd"}},
                                          {522, {"handling_kind"}}}));
    const std::string carcols = game.Read(fileio::GameFiles::Carcols);
    const std::string carcolsName(fileio::GameFiles::Carcols);
    const std::string carmodsName(fileio::GameFiles::Carmods);
    EXPECT_EQ(FileCodes(scan),
              (std::set<std::string>{carcolsName + ":" + std::to_string(LineOf(carcols, "copcarla")) +
                                         " carcols_colour_range",
                                     carcolsName + ":" + std::to_string(LineOf(carcols, "ambulan")) +
                                         " carcols_too_many",
                                     carcolsName + ":" + std::to_string(LineOf(carcols, "ghostcar")) +
                                         " carcols_unknown_model",
                                     carmodsName + ":5 carmods_unknown_part", carmodsName + ":6 carmods_unknown_model"}));
    EXPECT_TRUE(scan.HasErrors());

    const fileio::TCheckFinding& paintjobs = OnlyFinding(scan, 404);
    EXPECT_EQ(paintjobs.Facts.Number, 5);
    EXPECT_EQ(paintjobs.Facts.Subject, "peren5.txd");
    const fileio::TCheckFinding& shadowed = OnlyFinding(scan, 415);
    EXPECT_EQ(shadowed.Facts.Subject, "cheetah.dff");
    EXPECT_EQ(shadowed.Facts.Path, fileio::GameFiles::ModelArchive);
    EXPECT_EQ(shadowed.Facts.Text, "MODELS\\CARS.IMG");
    EXPECT_EQ(OnlyFinding(scan, 401).Facts.Subject, "bravura.dff");

    // Only the vehicles asked for; the files are checked all the same.
    const TGameScan only = ScanGame(game.Directory(), {.OnlyIDs = {402, 400}});
    EXPECT_EQ(VehicleCodes(only), (TFound{{402, {"unreadable_model"}}}));
    EXPECT_EQ(only.Vehicles.size(), 2u);
    EXPECT_EQ(only.Files.size(), 5u);
}

TEST(GameScanTest, NamesTheArchiveTheGameLoadsAndChecksItsEntry)
{
    const TScannedGame game;
    const fileio::ByteBuffer taxi = game.Entry("taxi.dff");
    game.RenameEntry("taxi.dff", "taxi_old.dff");
    game.RenameEntry("infernus.dff", "infernus_old.dff");
    game.Write(fileio::GameFiles::GameFileList, "IMG models\\first.img\nIMG models\\missing.img\nIMG ..\\outside.img\n"
                                                "IMG models\\second.img\n");
    // The game loads taxi.dff from the first archive gta.dat names; the broken
    // one in the second is never read.
    game.WriteArchive("models\\first.img", {{"taxi.dff", taxi}});
    game.WriteArchive("models\\second.img", {{"TAXI.DFF", fileio::ByteBuffer(100, 1)},
                                             {"infernus.dff", fileio::ByteBuffer(100, 1)}});

    const TGameScan scan = ScanGame(game.Directory(), {});
    EXPECT_EQ(VehicleCodes(scan), (TFound{{411, {"unreadable_model"}}, {420, {"archive_shadowed"}}}));
    const fileio::TCheckFinding& shadowed = OnlyFinding(scan, 420);
    EXPECT_EQ(shadowed.Facts.Path, "models\\first.img");
    EXPECT_EQ(shadowed.Facts.Text, "models\\second.img");
}

TEST(GameScanTest, ADictionaryVehiclesShareIsCheckedForEach)
{
    const TScannedGame game;
    game.Replace(fileio::GameFiles::VehicleDefinitions, "401, bravura, bravura,", "401, bravura, peren,");
    game.AddEntries({{"peren.txd", fileio::ByteBuffer(300, 0x16)}});
    EXPECT_EQ(VehicleCodes(ScanGame(game.Directory(), {})),
              (TFound{{401, {"unreadable_textures"}}, {404, {"unreadable_textures"}}}));
}

TEST(GameScanTest, UnknownPartsNeedThePartDefinitions)
{
    const TScannedGame game;
    game.Write(fileio::GameFiles::Carmods, "wheel\r\n1, wheel_sr6, wheel_sr3\r\nend\r\nmods\r\nlandstal, anything\r\nend\r\n");
    EXPECT_EQ(FileCodes(ScanGame(game.Directory(), {})), std::set<std::string>{});

    game.Write(fileio::GameFiles::GameFileList, "IDE DATA\\MAPS\\veh_mods\\veh_mods.ide\n");
    game.Write("Data\\maps\\veh_mods\\veh_mods.ide", "objs\n1025, wheel_sr6, wheel_sr6, 50, 0\n"
                                                      "1026, anything, anything, 50, 0\nend\n");
    EXPECT_EQ(FileCodes(ScanGame(game.Directory(), {})),
              std::set<std::string>{std::string(fileio::GameFiles::Carmods) + ":2 carmods_unknown_part"});
}

TEST(GameScanTest, VehiclesOfOtherDefinitionFilesAreScanned)
{
    const TScannedGame game;
    game.Write(fileio::GameFiles::GameFileList, "IDE data\\more.ide\n");
    game.Write("data\\more.ide", "cars\n610, nomodel, notxd, car, TAXI, TAXI, null, taxi, 10, 0, 0, -1, 0.7, 0.7, -1\nend\n");
    const TGameScan scan = ScanGame(game.Directory(), {});
    EXPECT_EQ(VehicleCodes(scan), (TFound{{610, {"missing_model", "missing_txd"}}}));
    EXPECT_EQ(scan.Vehicles.back().File, "data\\more.ide");
    EXPECT_EQ(scan.Vehicles.back().Line, 2u);
}

} // namespace
