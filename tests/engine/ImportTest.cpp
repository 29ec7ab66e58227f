#include "archive/FreeRecords.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "gamedata/GXT.h"
#include "package/CAR.h"
#include "engine/Export.h"
#include "engine/Import.h"
#include "support/PackageBuilder.h"

#include <gtest/gtest.h>

#include <set>

#include <map>

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

using namespace GameFixture;

namespace {

constexpr TExportChoices Everything{true, true, true, true, true, true};

std::string Replaced(std::string text, std::string_view oldLine, std::string_view newLine)
{
    const std::size_t at = text.find(oldLine);
    if (at == std::string::npos)
        throw std::runtime_error("fixture text lacks " + std::string(oldLine));
    return text.replace(at, oldLine.size(), newLine);
}

// The failure of an import as its cause's kind and facts ("SourceMissing DFF
// <path>"), "Failure" for the kinds no front end words itself, or "<succeeded>".
std::string ImportFailure(TFixtureGame& game, std::int32_t target, const TImportSource& source)
{
    try {
        ImportVehicle(game.Context(), game.Vehicle(target), source);
        return "<succeeded>";
    } catch (const TImportError& error) {
        static const std::map<TErrorKind, std::string> names = {
            {TErrorKind::Failure, "Failure"},
            {TErrorKind::NotGXTFile, "NotGXTFile"},
            {TErrorKind::NotCarPackage, "NotCarPackage"},
            {TErrorKind::UnsupportedCarVersion, "UnsupportedCarVersion"},
            {TErrorKind::NoOpenArchive, "NoOpenArchive"},
            {TErrorKind::SourceMissing, "SourceMissing"},
            {TErrorKind::SourceUnreadable, "SourceUnreadable"},
            {TErrorKind::SourceNotRenderWare, "SourceNotRenderWare"},
            {TErrorKind::ImportedLineBreak, "ImportedLineBreak"},
            {TErrorKind::ImportedLineTooShort, "ImportedLineTooShort"},
            {TErrorKind::ImportedLineZeroByte, "ImportedLineZeroByte"},
            {TErrorKind::ImportedLineReadBack, "ImportedLineReadBack"},
            {TErrorKind::ImportedLineNoMarker, "ImportedLineNoMarker"},
        };
        std::string outcome = names.at(error.Kind());
        for (const std::string& fact : {error.Facts().Subject, error.Facts().Path})
            if (!fact.empty())
                outcome += " " + fact;
        return outcome;
    }
}

std::filesystem::path WritePackage(TFixtureGame& game, std::string_view name, const ByteBuffer& bytes)
{
    const std::filesystem::path path = game.Outside(name);
    game.Temp.Write("outside/" + std::string(name), bytes);
    return path;
}

bool Contains(const std::vector<std::string>& notes, std::string_view text)
{
    for (const std::string& note : notes)
        if (note.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(Import, PackageFromAnotherVehicleReplacesEveryPieceAndKeepsTheTargetsKeys)
{
    TFixtureGame source;
    const std::filesystem::path package = source.Outside("fast.car");
    ExportVehicle(source.Context(), source.Vehicle(415), Everything, package);

    TFixtureGame game;
    const auto before = game.Files();
    const TImportResult result = ImportVehicle(game.Context(), game.Vehicle(400), package);
    const auto after = game.Files();

    const ByteBuffer& archive = after.at("Models/GTA3.img");
    EXPECT_EQ(ArchiveEntryBytes(archive, "landstal.DFF"), SectorPadded(RenderWareBytes(RwUVAnimDictionaryChunk, 5000, 3)));
    EXPECT_EQ(ArchiveEntryBytes(archive, "landstal.TXD"), SectorPadded(RenderWareBytes(RwTextureDictionaryChunk, 4100, 4)));
    EXPECT_EQ(ArchiveEntryBytes(archive, "cheetah.dff"), ArchiveEntryBytes(before.at("Models/GTA3.img"), "cheetah.dff"));

    const ByteBuffer& gxt = after.at("Text/American.gxt");
    EXPECT_EQ(GXTMainText(gxt, "LANDSTK"), "Cheetah");
    EXPECT_EQ(GXTMainText(gxt, "DUMMY"), "\xC4\xE5\xEC\xEE");
    TGXTFile loaded;
    loaded.LoadFromBytes(gxt);
    ASSERT_EQ(loaded.Tables.size(), 2u);
    EXPECT_EQ(loaded.Tables[1].Texts, (std::vector<std::string>{"Go to the car.", "Mission cheetah"}));

    EXPECT_EQ(ToText(after.at("Data/Handling.cfg")),
              Replaced(game.Content.Handling, "LANDSTAL 1700.0 5008.3 2.5 0.0 0.0 -0.3 85 0.75 0.85 0.5 5 160.0 25.0 4 D",
                       "LANDSTAL 1200.0 3000.0 2.0 0.0 -0.2 -0.2 70 1.1 0.8 0.5 5 230.0 30.0 R P"));
    EXPECT_EQ(ToText(after.at("Data/Vehicles.ide")),
              Replaced(game.Content.VehiclesIde,
                       "400, landstal, landstal, car, LANDSTAL, LANDSTK, null, richfamily, 10, 0, 0, -1, 0.768, 0.768, 0",
                       "400, landstal, landstal, car, LANDSTAL, LANDSTK, null, executive, 10, 0, 0, -1, 0.7, 0.7, 1"));
    EXPECT_EQ(ToText(after.at("Data/Carcols.dat")),
              Replaced(game.Content.Carcols, "landstal, 4,1, 123,1, 113,1", "landstal, 20, 1, 25, 1, 36, 1"));
    // The cheetah has no special handling line: that step is skipped and reported.
    EXPECT_TRUE(Contains(result.SkippedSteps, "special handling line")) << result.SkippedSteps.size();
    // What was written, for the fronts to tell.
    EXPECT_EQ(result.WrittenEntries.size(), 2u);
    EXPECT_EQ(std::set<std::string>(result.WrittenFiles.begin(), result.WrittenFiles.end()),
              (std::set<std::string>{"Text/American.gxt", "Data/Handling.cfg", "Data/Vehicles.ide", "Data/Carcols.dat"}));
}

TEST(Import, MalformedPackagesChangeNothing)
{
    TFixtureGame game;
    const ByteBuffer model = RenderWareBytes(RwClumpChunk, 2048, 9);
    const ByteBuffer good = PackageBytes(1, {true, false, true, false, false, false},
                                         {model, ByteBuffer{}, ToBytes("Name"), {}, {}, {}, {}});
    ByteBuffer lowerMagic = good;
    lowerMagic[0] = 'c';
    ByteBuffer version3 = good;
    version3[3] = 3;
    const ByteBuffer truncated(good.begin(), good.end() - 1);
    const ByteBuffer texture = PackageBytes(1, {true, false, false, false, false, false},
                                            {RenderWareBytes(RwTextureDictionaryChunk, 100, 1), ByteBuffer{}, {}, {}, {}, {}, {}});
    const ByteBuffer shortModel = PackageBytes(1, {true, false, false, false, false, false},
                                               {ToBytes("\x10"), ByteBuffer{}, {}, {}, {}, {}, {}});
    const ByteBuffer clumpAsTexture = PackageBytes(1, {false, true, false, false, false, false},
                                                   {ByteBuffer{}, model, {}, {}, {}, {}, {}});
    const ByteBuffer lineBreak = PackageBytes(1, {false, false, false, false, false, true},
                                              {ByteBuffer{}, {}, {}, {}, {}, {}, ToBytes("x, 1,1\r\nlandstal, 9,9")});
    const ByteBuffer zeroInName = PackageBytes(1, {false, false, true, false, false, false},
                                               {ByteBuffer{}, {}, ToBytes(std::string_view("A\0B", 3)), {}, {}, {}, {}});
    const ByteBuffer shortVehicles = PackageBytes(1, {false, false, false, false, true, false},
                                                  {ByteBuffer{}, {}, {}, {}, {}, ToBytes("1, a, b, car, X"), {}});
    // The game's line ends at a zero byte: the fields after it would never be read.
    const ByteBuffer zeroInVehicles = PackageBytes(
        1, {false, false, false, false, true, false},
        {ByteBuffer{}, {}, {}, {}, {}, ToBytes(std::string_view("1, a, b, car, X, Y, null, normal, 10\0, 0, 0", 43)), {}});
    // The target has no special line: a line without its marker is refused all the same.
    const ByteBuffer unmarkedSpecial = PackageBytes(1, {false, false, false, true, false, false},
                                                    {ByteBuffer{}, {}, {}, {}, ToBytes("NRG500 0.14 0.09"), {}, {}});
    // A trailing field of control characters would be trimmed away once the line is rebuilt.
    const ByteBuffer trimmedColours = PackageBytes(1, {false, false, false, false, false, true},
                                                   {ByteBuffer{}, {}, {}, {}, {}, {}, ToBytes("x, 1,1, \x01,")});
    const struct {
        const char* name;
        ByteBuffer bytes;
        std::string message;
    } cases[] = {
        {"zero byte inside the definition line", zeroInVehicles, "ImportedLineZeroByte Vehicles.ide line"},
        {"special line without its marker", unmarkedSpecial, "ImportedLineNoMarker special handling line"},
        {"colour line that does not read back", trimmedColours, "ImportedLineReadBack Carcols.dat line"},
        {"lower-case magic", lowerMagic, "NotCarPackage"},
        {"version 3", version3, "UnsupportedCarVersion"},
        {"last piece cut short", truncated, "Failure"},
        {"13 bytes", ByteBuffer(good.begin(), good.begin() + 13), "Failure"},
        {"texture dictionary as model", texture, "SourceNotRenderWare DFF"},
        {"model shorter than a chunk type", shortModel, "SourceNotRenderWare DFF"},
        {"model as texture dictionary", clumpAsTexture, "SourceNotRenderWare TXD"},
        {"line break inside a line", lineBreak, "ImportedLineBreak Carcols.dat line"},
        {"zero byte inside the name", zeroInName, "Failure"},
        {"Vehicles.ide line of five fields", shortVehicles, "ImportedLineTooShort Vehicles.ide line"},
    };
    const auto before = game.Files(true);
    for (const auto& c : cases) {
        EXPECT_EQ(ImportFailure(game, 400, WritePackage(game, "bad.car", c.bytes)), c.message) << c.name;
        EXPECT_EQ(game.Files(true), before) << c.name;
    }
    EXPECT_EQ(ImportFailure(game, 400, WritePackage(game, "good.car", good)), "<succeeded>");
}

TEST(Import, EmptyLinePiecesAreSkippedAndReported)
{
    TFixtureGame game;
    // What an export of a vehicle with no handling or colour lines writes.
    const ByteBuffer package = PackageBytes(7, {false, false, true, true, false, true},
                                            {ByteBuffer{}, {}, {}, {}, {}, {}, {}});
    const auto before = game.Files();
    const TImportResult result = ImportVehicle(game.Context(), game.Vehicle(523), WritePackage(game, "empty.car", package));
    for (const char* step : {"main handling line", "special handling line", "Carcols.dat line"})
        EXPECT_TRUE(Contains(result.SkippedSteps, step)) << step;
    // A present but empty name is a name: the target's text becomes empty.
    auto expected = before;
    const auto after = game.Files();
    EXPECT_EQ(GXTMainText(after.at("Text/American.gxt"), "COPBIKE"), "");
    expected.erase("Text/American.gxt");
    auto unchanged = after;
    unchanged.erase("Text/American.gxt");
    EXPECT_EQ(unchanged, expected);
}

TEST(Import, SeparateInputsWithEveryFieldEmptyChangeNothing)
{
    TFixtureGame game;
    const auto before = game.Files(true);
    const TImportResult result = ImportVehicle(game.Context(), game.Vehicle(415), TImportFiles{});
    EXPECT_TRUE(result.SkippedSteps.empty());
    EXPECT_EQ(game.Files(true), before);

    TImportFiles blanks;
    blanks.Name = " ";
    blanks.Handling = "\t ";
    const TImportResult blankResult = ImportVehicle(game.Context(), game.Vehicle(415), blanks);
    EXPECT_TRUE(Contains(blankResult.SkippedSteps, "display name"));
    EXPECT_TRUE(Contains(blankResult.SkippedSteps, "main handling line"));
    EXPECT_EQ(game.Files(true), before);
}

// The entry names of an archive image as its directory records spell them,
// free records (the import's own bookkeeping) left out.
std::vector<std::string> LiveEntryNames(const ByteBuffer& archive)
{
    std::vector<std::string> names;
    for (const std::string& name : ArchiveEntryNames(archive))
        if (!vehmira::archive::IsFreeRecordName(name))
            names.push_back(name);
    return names;
}

TEST(Import, ReplacedEntriesKeepTheArchivesSpellingAndNewOnesAreLowerCase)
{
    const struct {
        const char* Name;
        std::string ModelEntry; // as the archive spells the target's entries; empty: it has none
        std::string TextureEntry;
        std::vector<std::string> Expected; // the target's entries afterwards
    } cases[] = {
        {"the game's own spelling", "copbike.dff", "copbike.txd", {"copbike.dff", "copbike.txd"}},
        {"another tool's spelling", "CopBike.DFF", "COPBIKE.txd", {"CopBike.DFF", "COPBIKE.txd"}},
        {"no entries yet: the definition line's names", "", "", {"copbike.dff", "copbike.txd"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TGameFixtureContent content = DefaultContent();
        std::erase_if(content.ArchiveEntries, [](const TFixtureArchiveEntry& entry) {
            return entry.Name.starts_with("copbike");
        });
        std::vector<std::string> expectedNames = LiveEntryNames(BuildArchive(content.ArchiveEntries, 1));
        if (!test.ModelEntry.empty()) {
            content.ArchiveEntries.push_back({test.ModelEntry, RenderWareBytes(RwClumpChunk, 1500, 5)});
            content.ArchiveEntries.push_back({test.TextureEntry, RenderWareBytes(RwTextureDictionaryChunk, 900, 6)});
        }
        expectedNames.insert(expectedNames.end(), test.Expected.begin(), test.Expected.end());
        TFixtureGame game(content);
        TImportFiles files;
        files.DFF = game.Temp.Write("outside/new.dff", RenderWareBytes(RwClumpChunk, 4097, 11));
        files.TXD = game.Temp.Write("outside/new.txd", RenderWareBytes(RwTextureDictionaryChunk, 10, 12));
        ImportVehicle(game.Context(), game.Vehicle(523), files);

        const ByteBuffer archive = game.Files().at("Models/GTA3.img");
        EXPECT_EQ(LiveEntryNames(archive), expectedNames);
        EXPECT_EQ(ArchiveEntryBytes(archive, "copbike.dff"), SectorPadded(ReadWholeFile(files.DFF)));
        EXPECT_EQ(ArchiveEntryBytes(archive, "copbike.txd"), SectorPadded(ReadWholeFile(files.TXD)));
    }
}

TEST(Import, SeparateInputsReplaceEachPiece)
{
    TFixtureGame game;
    TImportFiles files;
    files.DFF = game.Temp.Write("outside/new.dff", RenderWareBytes(RwClumpChunk, 4097, 11));
    files.TXD = game.Temp.Write("outside/new.txd", RenderWareBytes(RwTextureDictionaryChunk, 10, 12));
    files.Name = "Patriot";
    files.Handling = "PATRIOT\t1800.0\t4000.0,2.5";
    files.HandlingSpecial = "! PATRIOT 0.1 0.2";
    files.Vehicles = "470, patriot, patriot, car, PATRIOT, PATRIOT, null, normal, 10, 0, 0, -1, 0.8, 0.8, 0";
    files.Carcols = "patriot, 1,1";
    ImportVehicle(game.Context(), game.Vehicle(523), files);
    const auto after = game.Files();

    EXPECT_EQ(ArchiveEntryBytes(after.at("Models/GTA3.img"), "copbike.DFF"), SectorPadded(ReadWholeFile(files.DFF)));
    EXPECT_EQ(ArchiveEntryBytes(after.at("Models/GTA3.img"), "copbike.TXD"), SectorPadded(ReadWholeFile(files.TXD)));
    EXPECT_EQ(GXTMainText(after.at("Text/American.gxt"), "COPBIKE"), "Patriot");
    std::string handling = Replaced(game.Content.Handling, "COPBIKE 500.0 161.0 4.0 0.0 0.05 -0.1 103 1.6 0.9 0.48 5 190.0 50.0 R P",
                                    "COPBIKE 1800.0 4000.0 2.5");
    EXPECT_EQ(ToText(after.at("Data/Handling.cfg")),
              Replaced(handling, "! COPBIKE 0.05 0.7 0.2 35.0 38.0 -0.2 0.3 0.5", "! COPBIKE 0.1 0.2"));
    EXPECT_EQ(ToText(after.at("Data/Vehicles.ide")),
              Replaced(game.Content.VehiclesIde,
                       "523,\tcopbike,\tcopbike,\tbike,\tCOPBIKE,\tCOPBIKE,\tbiked,\tignore,\t10,\t0,\t0,\t23,\t0.58,\t0.58,\t0",
                       "523, copbike, copbike, bike, COPBIKE, COPBIKE, null, normal, 10, 0, 0, -1, 0.8, 0.8, 0"));
    EXPECT_EQ(ToText(after.at("Data/Carcols.dat")), Replaced(game.Content.Carcols, "copbike, 0,1", "copbike, 1, 1"));
}

TEST(Import, SeparateInputFilesMustExistAndBeRenderWare)
{
    TFixtureGame game;
    const std::filesystem::path texture = game.Temp.Write("outside/t.txd", RenderWareBytes(RwTextureDictionaryChunk, 64, 1));
    const std::filesystem::path missing = game.Outside("missing.dff");
    const auto failure = [&](const std::filesystem::path& dff, const std::filesystem::path& txd) {
        TImportFiles files;
        files.DFF = dff;
        files.TXD = txd;
        files.Name = "Never written";
        return ImportFailure(game, 415, files);
    };
    const auto before = game.Files(true);
    EXPECT_EQ(failure(missing, texture), "SourceMissing DFF " + PathToUtf8(missing));
    EXPECT_EQ(failure({}, game.Temp.Path()), "SourceMissing TXD " + PathToUtf8(game.Temp.Path()));
    EXPECT_EQ(failure(texture, {}), "SourceNotRenderWare DFF " + PathToUtf8(texture));
    EXPECT_EQ(game.Files(true), before);
    try {
        TImportFiles files;
        files.DFF = missing;
        ImportVehicle(game.Context(), game.Vehicle(415), files);
        ADD_FAILURE() << "imported a missing DFF file";
    } catch (const TImportError& error) {
        // The command line prints this description of the cause.
        EXPECT_EQ(std::string(error.what()), "The DFF file \"" + PathToUtf8(missing) + "\" does not exist.");
    }
    EXPECT_EQ(failure({}, texture), "<succeeded>");
}

TEST(Import, ShortLinesAndMissingKeysNeitherFailNorMatch)
{
    TGameFixtureContent content = DefaultContent();
    content.Handling = "%\r\n" + content.Handling; // a single-field line ahead of the special line
    content.MainTable = {{"OTHER", "Other"}};      // the target's GXT key is not in the main table
    TFixtureGame game(content);
    TImportFiles files;
    files.Name = "Nobody";
    files.HandlingSpecial = "! X 9 9";
    const auto before = game.Files();
    const TImportResult result = ImportVehicle(game.Context(), game.Vehicle(523), files);
    EXPECT_TRUE(Contains(result.SkippedSteps, "display name"));
    auto after = game.Files();
    EXPECT_EQ(ToText(after.at("Data/Handling.cfg")),
              Replaced(content.Handling, "! COPBIKE 0.05 0.7 0.2 35.0 38.0 -0.2 0.3 0.5", "! COPBIKE 9 9"));
    after.erase("Data/Handling.cfg");
    auto expected = before;
    expected.erase("Data/Handling.cfg");
    EXPECT_EQ(after, expected);
}

TEST(Import, RefusesToRunWithoutAnOpenArchiveOrWithABrokenGXTFile)
{
    TFixtureGame game;
    TImportFiles files;
    files.Name = "Name";
    game.Temp.Write("game/Text/American.gxt", std::string_view("\4\0\x8\0TABX\0\0\0\0"));
    const auto before = game.Files();
    EXPECT_EQ(ImportFailure(game, 415, files), "NotGXTFile");
    game.Archive.Close();
    EXPECT_EQ(ImportFailure(game, 415, TImportFiles{}), "NoOpenArchive");
    EXPECT_EQ(game.Files(), before);
}

TEST(Import, AnInterruptedImportLeavesTheGameDirectoryAsItWas)
{
    TFixtureGame source;
    const std::filesystem::path package = source.Outside("fast.car");
    ExportVehicle(source.Context(), source.Vehicle(415), Everything, package);

    std::map<std::string, ByteBuffer> imported;
    {
        TFixtureGame game;
        ImportVehicle(game.Context(), game.Vehicle(400), package);
        imported = game.Files();
    }
    // Fail the n-th write, flush or rename for every n until the import gets through:
    // each failure leaves the directory as it was, or (past the commit) as imported.
    bool completed = false;
    for (int n = 1; n < 200 && !completed; ++n) {
        TFixtureGame game;
        const auto before = game.Files();
        FaultInjection::FailAtOperation(n);
        try {
            ImportVehicle(game.Context(), game.Vehicle(400), package);
            completed = true;
        } catch (const TImportError& error) {
            FaultInjection::FailAtOperation(0);
            const auto after = game.Files();
            EXPECT_TRUE(after == before || after == imported) << "failing operation " << n << ": " << error.what();
        }
        FaultInjection::FailAtOperation(0);
    }
    EXPECT_TRUE(completed);
}
