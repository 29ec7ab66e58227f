// Archives that end inside their last entry's last sector, as some tools
// leave them: an import over that entry, or one that could reuse a free
// record there, keeps every journal readable (history, the vehicle list,
// another import) and every kept undo valid; undo gives back every byte,
// the short length included. Also: a new entry after a duplicate the game
// skips is written where the game reads it.

#include "support/PackageBuilder.h"
#include "archive/ChainedReadOracle.h"

#include "archive/DIR.h"
#include "archive/FreeRecords.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"
#include "engine/VehicleList.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

constexpr std::uint64_t Sector = 2048;

std::filesystem::path ArchivePath(const TFixtureGame& game)
{
    return ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive);
}

// The fixture game with its archive cut cutBytes short of its last sector's end.
class TShortArchiveGame : public TFixtureGame {
public:
    TShortArchiveGame(const TGameFixtureContent& content, std::uint64_t cutBytes) : TFixtureGame(content)
    {
        Archive.Close();
        const std::uint64_t length = std::filesystem::file_size(ArchivePath(*this));
        std::filesystem::resize_file(ArchivePath(*this), length - cutBytes);
        Archive.Open(ArchivePath(*this));
    }
};

std::filesystem::path PackageOf(TFixtureGame& game, std::size_t modelBytes)
{
    const std::filesystem::path package = game.Outside("infernus-" + std::to_string(modelBytes) + ".car");
    ReplaceFileAtomically(package, InfernusPackage(modelBytes));
    return package;
}

ByteBuffer ImportedModel(std::size_t modelBytes)
{
    return GameFixture::SectorPadded(GameFixture::RenderWareBytes(RwClumpChunk, modelBytes, 21));
}

ByteBuffer EntryBytes(TFixtureGame& game, std::string_view name)
{
    TMemoryStream bytes;
    game.Archive.ExtractToStream(bytes, 0, name);
    return bytes.Bytes();
}

// What history, list and the start of every command read first: every
// journal loads, nothing is left to recover, nothing pins the whole archive.
void ExpectJournalsUsable(TFixtureGame& game, std::size_t committedImports)
{
    EXPECT_EQ(ListImportHistory(game.GameDirectory()).size(), committedImports);
    for (const std::string& id : ListJournalIds(game.GameDirectory()))
        EXPECT_NO_THROW(LoadManifest(JournalRoot(game.GameDirectory()) / id)) << id;
    for (const TArchiveRange& range : ArchiveBytesPinnedForUndo(game.GameDirectory()))
        EXPECT_NE(range.Length, std::numeric_limits<std::uint64_t>::max()) << "a journal could not be read";
    game.Archive.Close();
    try {
        EXPECT_TRUE(RecoverInterruptedImports(game.GameDirectory()).empty());
    } catch (const TVehmiraError& error) {
        ADD_FAILURE() << error.what();
    }
    EXPECT_EQ(BuildVehicleList(game.GameDirectory(), game.Content.GXTFileName).Rows.size(), 4u);
    game.Archive.Open(ArchivePath(game));
}

TEST(ShortLastSectorTest, PinsReachAsFarAsTheReaderCountsTheArchive)
{
    // An archive of three sectors and 100 bytes: the reader counts four sectors.
    const std::uint64_t length = 3 * Sector + 100;
    const struct {
        const char* Name;
        TArchiveRange Pin;
        bool Loads;
    } cases[] = {
        {"inside the file", {Sector, Sector}, true},
        {"the whole short sector", {3 * Sector, Sector}, true},
        {"up to the rounded end", {Sector, 3 * Sector}, true},
        {"a sector past it", {3 * Sector, 2 * Sector}, false},
        {"one byte past it", {4 * Sector, 1}, false},
        {"starting past it", {5 * Sector, 0}, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TJournalManifest manifest;
        manifest.State = TJournalState::Committed;
        manifest.ArchiveRelativePath = "Models/GTA3.img";
        manifest.ArchiveLength = length;
        manifest.HeadLength = 8 + 32 * 4;
        manifest.ArchiveLengthAfter = 9 * Sector;
        manifest.Pinned = {test.Pin};
        const std::string text = ManifestToText(manifest);
        if (!test.Loads) {
            EXPECT_THROW(ManifestFromText(text), TVehmiraError);
            continue;
        }
        const TJournalManifest loaded = ManifestFromText(text);
        ASSERT_EQ(loaded.Pinned.size(), 1u);
        EXPECT_EQ(loaded.Pinned.front().Offset, test.Pin.Offset);
        EXPECT_EQ(loaded.Pinned.front().Length, test.Pin.Length);
    }
}

TEST(ShortLastSectorTest, AnImportOverTheLastEntryKeepsHistoryListUndoAndImportsWorking)
{
    // copcarla.txd, 1200 bytes, is the last entry: the file stops 600 bytes into its zero fill.
    const struct {
        const char* Name;
        std::vector<std::size_t> ModelSizes; // one import each, over the police car
    } cases[] = {
        {"one import", {9000}},
        {"a second import over the first", {9000, 2000}},
        {"three imports", {9000, 3000, 12000}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TShortArchiveGame game(GameFixture::DefaultContent(), 600);
        ASSERT_NE(std::filesystem::file_size(ArchivePath(game)) % Sector, 0u);
        std::vector<std::map<std::string, ByteBuffer>> states{game.Files()};
        for (const std::size_t modelBytes : test.ModelSizes) {
            ImportVehicle(game.Context(), game.Vehicle(596), PackageOf(game, modelBytes));
            EXPECT_EQ(EntryBytes(game, "copcarla.dff"), ImportedModel(modelBytes));
            EXPECT_EQ(ChainedReadOracle::MisreadEntries(game.Files().at("Models/GTA3.img")), std::vector<std::string>{});
            ExpectJournalsUsable(game, states.size());
            states.push_back(game.Files());
        }
        // Back through every state, byte for byte: the last one is the short archive.
        for (std::size_t undone = 1; undone < states.size(); ++undone) {
            UndoLastImport(game.Context());
            EXPECT_EQ(game.Files(), states[states.size() - 1 - undone]) << "after undo " << undone;
        }
        ExpectJournalsUsable(game, states.size() - 1);
        // And an import after all that still works.
        ImportVehicle(game.Context(), game.Vehicle(596), PackageOf(game, 4000));
        EXPECT_EQ(EntryBytes(game, "copcarla.dff"), ImportedModel(4000));
    }
}

TEST(ShortLastSectorTest, AFreeRecordInTheShortSectorIsReusedOnlyWhenNoKeptUndoChecksIt)
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    content.ArchiveEntries.push_back({"vehmira-free-000001", ByteBuffer(1000, 0x33)});
    TShortArchiveGame game(content, 600);
    const std::uint32_t freeSector = game.Archive.Directory.Entries.back().Offset;
    ASSERT_TRUE(IsFreeRecord(game.Archive.Directory.Entries.back()));
    const auto before = game.Files();

    // The first import appends past the short sector, filling it with zeros its undo checks.
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    const auto afterFirst = game.Files();
    // A model of one sector would fit the free record; the first import's undo still needs it as it is.
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 2000));
    EXPECT_NE(game.Archive.Directory.FindEntry("cheetah.dff")->Offset, freeSector);
    ExpectJournalsUsable(game, 2);
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), afterFirst);
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);

    // With no undo kept, the record's sector takes the next small model.
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 2000));
    EXPECT_EQ(game.Archive.Directory.FindEntry("cheetah.dff")->Offset, freeSector);
    EXPECT_EQ(EntryBytes(game, "cheetah.dff"), ImportedModel(2000));
    EXPECT_EQ(ChainedReadOracle::MisreadEntries(game.Files().at("Models/GTA3.img")), std::vector<std::string>{});
    ExpectJournalsUsable(game, 1);
}

TEST(ShortLastSectorTest, NewEntriesAfterADuplicateTheGameSkipsAreReadRight)
{
    // Cheetah's entries missing, and the last entry a later copy of the first
    // model, whose data end where new data go: the game links copcarla.txd to
    // what comes next. Whole and with a short last sector.
    for (const std::uint64_t cut : {std::uint64_t(0), std::uint64_t(700)}) {
        SCOPED_TRACE(cut);
        TGameFixtureContent content = GameFixture::DefaultContent();
        std::erase_if(content.ArchiveEntries,
                      [](const TFixtureArchiveEntry& entry) { return entry.Name.rfind("cheetah", 0) == 0; });
        content.ArchiveEntries.push_back({"LANDSTAL.DFF", ByteBuffer(1300, 0x44)});
        TShortArchiveGame game(content, cut);
        const auto before = game.Files();

        ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
        const ByteBuffer image = game.Files().at("Models/GTA3.img");
        EXPECT_EQ(ChainedReadOracle::MisreadEntries(image), std::vector<std::string>{});
        // What the game reads for the new model, run by run, is the model.
        const std::vector<ChainedReadOracle::TEntry> entries = ChainedReadOracle::ParseDirectory(image);
        const std::vector<ByteBuffer> read = ChainedReadOracle::RunReadBytes(image);
        bool found = false;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (EntryNamesEqual(entries[i].Name, "cheetah.dff")) {
                EXPECT_EQ(read[i], ImportedModel(9000));
                found = true;
            }
        EXPECT_TRUE(found);
        UndoLastImport(game.Context());
        EXPECT_EQ(game.Files(), before);
    }
}

} // namespace
