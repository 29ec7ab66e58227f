// Crash safety of the import, for real: the N-th write, flush, rename or
// truncation of an import fails, for every N until the import completes. As a
// power loss (nothing more reaches the disk, not even the rollback) and as a
// plain error (the rollback runs at once). After recovery the game directory
// must be byte-identical to before the import or to the completed import,
// and the game's chained read (modelled by the independent oracle) must find
// every entry where the directory says. Imports whose data do not fit, or
// whose new names need the full directory to grow, rebuild the archive: the
// sweep then also passes the moments when the archive is briefly missing.

#include "support/PackageBuilder.h"
#include "engine/JournalTestSupport.h"
#include "archive/ChainedReadOracle.h"

#include "archive/ArchiveLayout.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

using TFiles = std::map<std::string, ByteBuffer>;

struct TSweepCase {
    const char* Name;
    TGameFixtureContent Content;
    bool FromPackage;
    std::size_t ModelBytes = 9000; // cheetah.dff holds 5000 bytes: up to 6144 fit in its sectors
};

std::vector<std::string> MisreadEntries(const std::filesystem::path& gameDirectory)
{
    return ChainedReadOracle::MisreadEntries(ReadWholeFile(ResolveGamePath(gameDirectory, GameFiles::ModelArchive)));
}

TImportSource SourceFor(const TSweepCase& test, TFixtureGame& game)
{
    if (test.FromPackage) {
        const std::filesystem::path package = game.Outside("infernus.car");
        ReplaceFileAtomically(package, InfernusPackage(test.ModelBytes));
        return package;
    }
    TImportFiles files;
    files.DFF = game.Outside("infernus.dff");
    ReplaceFileAtomically(files.DFF, GameFixture::RenderWareBytes(RwClumpChunk, 4000, 31));
    files.Name = "Infernus";
    files.Handling = "INFERNUS 1400.0 2725.3 1.5 0.0 0.0 -0.25 70 0.7 0.8 0.5 5 240.0 30.0 R P";
    files.Carcols = "infernus, 12,1, 64,1";
    return files;
}

// The game directory after the same import without any fault.
TFiles CompletedImport(const TSweepCase& test)
{
    TFixtureGame game(test.Content);
    ImportVehicle(game.Context(), game.Vehicle(415), SourceFor(test, game));
    return SnapshotWithArchive(game.GameDirectory(), game.Archive);
}

bool EveryJournalIsCommitted(const std::filesystem::path& gameDirectory)
{
    for (const std::string& id : ListJournalIds(gameDirectory))
        if (LoadManifest(JournalRoot(gameDirectory) / id).State != TJournalState::Committed)
            return false;
    return true;
}

struct TFaultReset {
    ~TFaultReset() { FaultInjection::FailAtOperation(0); }
};

void Sweep(const TSweepCase& test, bool persist)
{
    const TFiles completed = CompletedImport(test);
    bool sawArchiveMissing = false;
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(std::string(test.Name) + (persist ? ", power loss" : ", error") + " at operation " +
                     std::to_string(failAt));
        TFixtureGame game(test.Content);
        const TImportSource source = SourceFor(test, game);
        const TFiles before = SnapshotWithArchive(game.GameDirectory(), game.Archive);
        FaultInjection::FailAtOperation(failAt, persist);
        bool imported = true;
        try {
            ImportVehicle(game.Context(), game.Vehicle(415), source);
        } catch (const std::exception&) {
            imported = false;
        }
        FaultInjection::FailAtOperation(0);
        if (!imported && !persist) {
            // The rollback ran at once: nothing to recover.
            EXPECT_EQ(SnapshotWithArchive(game.GameDirectory(), game.Archive), before);
            EXPECT_TRUE(ListJournalIds(game.GameDirectory()).empty());
        }
        game.Archive.Close();
        sawArchiveMissing = sawArchiveMissing || !FileExists(ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive));
        RecoverInterruptedImports(game.GameDirectory());
        const TFiles after = game.Files();
        EXPECT_TRUE(after == before || after == completed) << "neither the old game nor the completed import";
        if (imported) {
            EXPECT_EQ(after, completed);
        }
        EXPECT_TRUE(EveryJournalIsCommitted(game.GameDirectory()));
        EXPECT_EQ(MisreadEntries(game.GameDirectory()), std::vector<std::string>{});
        EXPECT_NO_THROW(game.Archive.Open(ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive)));
        if (imported) {
            // An import never moves the archive file away.
            EXPECT_FALSE(sawArchiveMissing);
            return;
        }
        if (::testing::Test::HasFailure())
            return;
        ASSERT_LT(failAt, 1000) << "the import never completes";
    }
}

TEST(FaultSweepTest, AnInterruptedImportLeavesTheOldGameOrTheCompletedImport)
{
    TFaultReset reset;
    const TSweepCase cases[] = {
        {"package over existing entries, model larger than its sectors", GameFixture::DefaultContent(), true, 9000},
        {"package, new entries in a full directory", FullDirectoryWithoutTarget(), true, 9000},
        {"separate files fitting in place", GameFixture::DefaultContent(), false},
        {"package fitting in the replaced entries' sectors", GameFixture::DefaultContent(), true, 6000},
    };
    for (const TSweepCase& test : cases)
        for (const bool persist : {true, false})
            Sweep(test, persist);
}

} // namespace
