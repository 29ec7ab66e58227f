// Imports never copy the archive: data larger than the replaced entry's
// sectors, data that fit, and new names in a full directory all go into free
// space, the old bytes stay under free records, and the game reads every entry
// right. The journal records directory records, not data; undo puts the
// archive back byte for byte and refuses when the new data changed since; a
// cancel leaves everything as it was.

#include "support/PackageBuilder.h"
#include "archive/ChainedReadOracle.h"

#include "archive/ArchiveLayout.h"
#include "archive/IMG.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

std::filesystem::path ArchivePath(const TFixtureGame& game)
{
    return ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive);
}

std::filesystem::path PackageOf(TFixtureGame& game, std::size_t modelBytes)
{
    const std::filesystem::path package = game.Outside("infernus-" + std::to_string(modelBytes) + ".car");
    ReplaceFileAtomically(package, InfernusPackage(modelBytes));
    return package;
}

std::vector<std::string> DirectoryNames(const ByteBuffer& image)
{
    std::vector<std::string> names;
    for (const ChainedReadOracle::TEntry& entry : ChainedReadOracle::ParseDirectory(image))
        names.push_back(entry.Name);
    return names;
}

std::filesystem::path OnlyJournal(const TFixtureGame& game)
{
    const std::vector<std::string> ids = ListJournalIds(game.GameDirectory());
    if (ids.size() != 1)
        throw std::runtime_error("expected one journal");
    return JournalRoot(game.GameDirectory()) / ids.front();
}

struct TImportCase {
    const char* Name;
    TGameFixtureContent Content;
    std::size_t ModelBytes;
};

// Bytes [from, to) of both images are the same.
bool SameBytes(const ByteBuffer& a, const ByteBuffer& b, std::size_t from, std::size_t to)
{
    return a.size() >= to && b.size() >= to && std::equal(a.begin() + std::ptrdiff_t(from), a.begin() + std::ptrdiff_t(to),
                                                          b.begin() + std::ptrdiff_t(from));
}

TEST(CopyOnWriteImportTest, NewDataGoElsewhereAndUndoGivesBackTheOldArchive)
{
    const TImportCase cases[] = {
        {"model larger than its sectors", GameFixture::DefaultContent(), 9000},
        {"model that fits its sectors", GameFixture::DefaultContent(), 6000},
        {"new names in a full directory", FullDirectoryWithoutTarget(), 3000},
    };
    for (const TImportCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TFixtureGame game(test.Content);
        const std::filesystem::path package = PackageOf(game, test.ModelBytes);
        const auto before = game.Files();
        const ByteBuffer oldArchive = before.at("Models/GTA3.img");

        ImportVehicle(game.Context(), game.Vehicle(415), package);
        const ByteBuffer after = game.Files().at("Models/GTA3.img");
        EXPECT_EQ(ChainedReadOracle::MisreadEntries(after), std::vector<std::string>{});
        // Nothing but the directory changed where the old archive lay.
        const TJournalManifest manifest = LoadManifest(OnlyJournal(game));
        EXPECT_FALSE(manifest.ArchiveReplaced);
        EXPECT_FALSE(FileExists(OnlyJournal(game) / SavedArchiveFileName));
        EXPECT_TRUE(SameBytes(oldArchive, after, manifest.HeadLength, oldArchive.size()));
        EXPECT_EQ(std::filesystem::file_size(OnlyJournal(game) / SavedBytesFileName),
                  manifest.HeadLength + [&] {
                      std::uint64_t files = 0;
                      for (const TJournaledFile& file : manifest.Files)
                          files += file.Before.Length;
                      return files;
                  }());
        // The old names keep their order and the game's entries are the new ones.
        const std::vector<std::string> oldNames = DirectoryNames(oldArchive);
        std::vector<std::string> newNames = DirectoryNames(after);
        std::erase_if(newNames, [](const std::string& name) { return name.starts_with("vehmira-free-"); });
        ASSERT_GE(newNames.size(), oldNames.size());
        for (std::size_t i = 0; i < oldNames.size(); ++i)
            EXPECT_TRUE(EntryNamesEqual(newNames[i], oldNames[i])) << i;
        TMemoryStream model;
        game.Archive.ExtractToStream(model, 0, "cheetah.dff");
        EXPECT_EQ(model.Bytes(), GameFixture::SectorPadded(GameFixture::RenderWareBytes(RwClumpChunk, test.ModelBytes, 21)));

        UndoLastImport(game.Context());
        EXPECT_EQ(game.Files(), before);
        EXPECT_EQ(game.Archive.Directory.Entries.size(), oldNames.size());
    }
}

TEST(CopyOnWriteImportTest, UndoRefusesWhenTheNewDataChanged)
{
    TFixtureGame game;
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    // One byte of the new model, appended at the end.
    TFileStream& archive = game.Archive.File();
    const std::uint64_t middle = archive.Size() - 2048 * 2 - 7;
    archive.Seek(middle);
    std::uint8_t byte = 0;
    archive.Read(std::span(&byte, 1));
    byte ^= 0x5A;
    archive.Seek(middle);
    archive.Write(std::span(&byte, 1));
    const auto changed = game.Files(true);
    try {
        UndoLastImport(game.Context());
        FAIL() << "the undo went ahead";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find("has changed since"), std::string::npos) << error.what();
    }
    EXPECT_EQ(game.Files(true), changed);
}

class TCancelAt : public TProgressSink {
public:
    explicit TCancelAt(std::uint64_t bytes) : CancelBytes(bytes) {}
    void Progress(std::uint64_t done, std::uint64_t total) override
    {
        Done = done;
        Total = total;
        ++Calls;
    }
    bool CancelRequested() override { return Done >= CancelBytes; }
    std::uint64_t CancelBytes;
    std::uint64_t Done = 0;
    std::uint64_t Total = 0;
    int Calls = 0;
};

TEST(CopyOnWriteImportTest, ACancelledImportLeavesTheGameAsItWas)
{
    TFixtureGame game;
    const std::filesystem::path package = PackageOf(game, 9000);
    const auto before = game.Files(true);
    TCancelAt cancel(1);
    EXPECT_THROW(ImportVehicle(game.Context(), game.Vehicle(415), package, &cancel), TImportError);
    EXPECT_GT(cancel.Calls, 0);
    EXPECT_EQ(game.Files(), before);
    EXPECT_TRUE(ListJournalIds(game.GameDirectory()).empty());
    ASSERT_TRUE(game.Archive.IsOpen());

    TCancelAt never(~std::uint64_t(0));
    ImportVehicle(game.Context(), game.Vehicle(415), package, &never);
    EXPECT_EQ(never.Done, never.Total);
}

TEST(CopyOnWriteImportTest, AnImportCostsTheVehiclesBytesAndReportsItsFreeSpace)
{
    TFixtureGame game;
    const std::uint64_t archiveLength = std::filesystem::file_size(ArchivePath(game));
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    // 9000 bytes of model (5 sectors) and the package's texture dictionary (3), nothing more.
    EXPECT_EQ(std::filesystem::file_size(ArchivePath(game)) - archiveLength, 8u * 2048);
    const TArchiveLayout layout = AnalyseLayout(game.Archive.File());
    EXPECT_TRUE(layout.ReadsCorrectly());
    EXPECT_EQ(layout.HoleBytes, 0u);
    EXPECT_GE(layout.FreeRecords, 2u);
    EXPECT_EQ(layout.FreeBytes, 6u * 2048); // cheetah's old model and dictionary, 3 sectors each
}

TEST(CopyOnWriteImportTest, AnImportOverADuplicatedNameWritesTheEntryTheGameLoads)
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    content.ArchiveEntries.push_back({"CHEETAH.DFF", ByteBuffer(3000, 0x77)});
    TFixtureGame game(content);
    const auto before = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    const ByteBuffer image = game.Files().at("Models/GTA3.img");
    EXPECT_EQ(ChainedReadOracle::MisreadEntries(image), std::vector<std::string>{});
    // The game keeps the first entry of a name: it holds the new model.
    const std::vector<ChainedReadOracle::TEntry> entries = ChainedReadOracle::ParseDirectory(image);
    const auto first = std::find_if(entries.begin(), entries.end(),
                                    [](const auto& entry) { return EntryNamesEqual(entry.Name, "cheetah.dff"); });
    ASSERT_NE(first, entries.end());
    EXPECT_EQ(ChainedReadOracle::OwnBytes(image, *first),
              GameFixture::SectorPadded(GameFixture::RenderWareBytes(RwClumpChunk, 9000, 21)));
    const auto later = std::find_if(first + 1, entries.end(),
                                    [](const auto& entry) { return EntryNamesEqual(entry.Name, "cheetah.dff"); });
    ASSERT_NE(later, entries.end());
    EXPECT_EQ(ChainedReadOracle::OwnBytes(image, *later), GameFixture::SectorPadded(ByteBuffer(3000, 0x77)));
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);
}

TEST(CopyOnWriteImportTest, FreeSpaceIsReusedOnlyOnceNoKeptUndoNeedsIt)
{
    TFixtureGame game;
    const std::filesystem::path package = PackageOf(game, 9000);
    ImportVehicle(game.Context(), game.Vehicle(415), package);
    const std::uint64_t afterFirst = std::filesystem::file_size(ArchivePath(game));
    // While the first import can be undone, its freed sectors stay as they are.
    const ByteBuffer firstImage = game.Files().at("Models/GTA3.img");
    const std::vector<TArchiveRange> pinnedByFirst = ArchiveBytesPinnedForUndo(game.GameDirectory());
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 2000));
    EXPECT_GT(std::filesystem::file_size(ArchivePath(game)), afterFirst);
    const std::vector<TArchiveRange> pinned = ArchiveBytesPinnedForUndo(game.GameDirectory());
    ASSERT_FALSE(pinnedByFirst.empty());
    ASSERT_FALSE(pinned.empty());
    const ByteBuffer secondImage = game.Files().at("Models/GTA3.img");
    for (const TArchiveRange& range : pinnedByFirst)
        EXPECT_TRUE(SameBytes(firstImage, secondImage, range.Offset, range.Offset + range.Length));
    // Both imports' pins; the second's new data lie past the first image.
    for (const TArchiveRange& range : pinned)
        if (range.Offset < firstImage.size()) {
            EXPECT_TRUE(SameBytes(firstImage, secondImage, range.Offset, range.Offset + range.Length));
        }
    UndoLastImport(game.Context());
    UndoLastImport(game.Context());

    // Once no journal is kept, a small model goes into the old sectors.
    ImportVehicle(game.Context(), game.Vehicle(415), package);
    for (const std::string& id : ListJournalIds(game.GameDirectory()))
        RemoveJournal(JournalRoot(game.GameDirectory()) / id);
    const std::uint64_t length = std::filesystem::file_size(ArchivePath(game));
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 2000));
    EXPECT_EQ(std::filesystem::file_size(ArchivePath(game)), length);
    EXPECT_EQ(ChainedReadOracle::MisreadEntries(game.Files().at("Models/GTA3.img")), std::vector<std::string>{});
    TMemoryStream model;
    game.Archive.ExtractToStream(model, 0, "cheetah.dff");
    EXPECT_EQ(model.Bytes(), GameFixture::SectorPadded(GameFixture::RenderWareBytes(RwClumpChunk, 2000, 21)));
}

TEST(CopyOnWriteImportTest, UndoTakesBackImportsOneAfterAnotherByteForByte)
{
    TFixtureGame game;
    const auto before = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    const auto first = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 8000));
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), first);
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);
}

} // namespace

namespace {

TEST(CopyOnWriteImportTest, AnEntryMovedForTheGrowingDirectoryAndReplacedLeavesAReadableJournal)
{
    // Cheetah's model is the first data block of a full directory and its
    // dictionary is missing: the new name makes the directory grow over the
    // model, which moves to the end and is then replaced.
    TGameFixtureContent content = FullDirectoryWithoutTarget();
    content.ArchiveEntries.pop_back();
    content.ArchiveEntries.insert(content.ArchiveEntries.begin(),
                                  {"cheetah.dff", GameFixture::RenderWareBytes(RwUVAnimDictionaryChunk, 5000, 3)});
    TFixtureGame game(content);
    const auto before = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    EXPECT_EQ(ChainedReadOracle::MisreadEntries(game.Files().at("Models/GTA3.img")), std::vector<std::string>{});
    EXPECT_NO_THROW(LoadManifest(OnlyJournal(game)));
    EXPECT_EQ(ListImportHistory(game.GameDirectory()).size(), 1u);
    for (const TArchiveRange& range : ArchiveBytesPinnedForUndo(game.GameDirectory()))
        EXPECT_NE(range.Length, std::numeric_limits<std::uint64_t>::max()) << "a journal could not be read";
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);
}

} // namespace
