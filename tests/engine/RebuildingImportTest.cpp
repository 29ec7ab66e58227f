// Imports that rebuild the archive: data too large for the replaced entry's
// sectors, or new names in a full directory. The journal keeps the old archive
// file, undo puts it back byte for byte and refuses when the rebuilt archive
// has changed since, a cancel leaves everything as it was, and an import whose
// data fit still costs only the vehicle's bytes.

#include "support/PackageBuilder.h"
#include "archive/ChainedReadOracle.h"

#include "archive/IMG.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

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

struct TRebuildCase {
    const char* Name;
    TGameFixtureContent Content;
    std::size_t ModelBytes;
};

TEST(RebuildingImportTest, ImportRebuildsAndUndoGivesBackTheOldArchive)
{
    const TRebuildCase cases[] = {
        {"model larger than its sectors", GameFixture::DefaultContent(), 9000},
        {"new names in a full directory", FullDirectoryWithoutTarget(), 3000},
    };
    for (const TRebuildCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TFixtureGame game(test.Content);
        const std::filesystem::path package = PackageOf(game, test.ModelBytes);
        const auto before = game.Files();
        const ByteBuffer oldArchive = before.at("Models/GTA3.img");

        ImportVehicle(game.Context(), game.Vehicle(415), package);
        ASSERT_TRUE(game.Archive.IsOpen()) << "the engine opens the rebuilt archive again";
        const ByteBuffer rebuilt = game.Files().at("Models/GTA3.img");
        EXPECT_EQ(ChainedReadOracle::MisreadEntries(rebuilt), std::vector<std::string>{});
        EXPECT_EQ(ReadWholeFile(OnlyJournal(game) / SavedArchiveFileName), oldArchive);
        const TJournalManifest manifest = LoadManifest(OnlyJournal(game));
        EXPECT_TRUE(manifest.ArchiveReplaced);
        EXPECT_EQ(manifest.ArchiveLengthAfter, rebuilt.size());
        // The directory keeps the old names in their order; new names follow.
        const std::vector<std::string> oldNames = DirectoryNames(oldArchive);
        const std::vector<std::string> newNames = DirectoryNames(rebuilt);
        ASSERT_GE(newNames.size(), oldNames.size());
        for (std::size_t i = 0; i < oldNames.size(); ++i)
            EXPECT_TRUE(EntryNamesEqual(newNames[i], oldNames[i])) << i;
        EXPECT_NE(game.Archive.Directory.FindEntry("cheetah.dff"), nullptr);

        UndoLastImport(game.Context());
        EXPECT_EQ(game.Files(), before);
        EXPECT_EQ(DirectoryNames(game.Files().at("Models/GTA3.img")), oldNames);
        EXPECT_EQ(ChainedReadOracle::MisreadEntries(game.Files().at("Models/GTA3.img")), std::vector<std::string>{});
        EXPECT_EQ(game.Archive.Directory.Entries.size(), oldNames.size());
    }
}

TEST(RebuildingImportTest, UndoRefusesWhenTheRebuiltArchiveChanged)
{
    TFixtureGame game;
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    // One byte in the middle of the data: neither the head nor anything appended.
    TFileStream& archive = game.Archive.File();
    const std::uint64_t middle = archive.Size() / 2 + 7;
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

TEST(RebuildingImportTest, ACancelledRebuildLeavesTheGameAsItWas)
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

TEST(RebuildingImportTest, DataThatFitCostOnlyTheVehiclesBytes)
{
    TFixtureGame game;
    const std::uint64_t archiveLength = std::filesystem::file_size(ArchivePath(game));
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 6000));
    const std::filesystem::path journal = OnlyJournal(game);
    EXPECT_FALSE(FileExists(journal / SavedArchiveFileName));
    EXPECT_FALSE(LoadManifest(journal).ArchiveReplaced);
    EXPECT_EQ(std::filesystem::file_size(ArchivePath(game)), archiveLength);
}

TEST(RebuildingImportTest, UndoTakesBackAnInPlaceImportOverARebuiltArchiveThenTheRebuild)
{
    TFixtureGame game;
    const auto before = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 9000));
    const auto rebuilt = game.Files();
    ImportVehicle(game.Context(), game.Vehicle(415), PackageOf(game, 8000)); // fits the rebuilt entry
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), rebuilt);
    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);
}

} // namespace
