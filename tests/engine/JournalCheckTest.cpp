// What recovery checks before it acts on a journal: which files an import
// writes, and how short the archive it would leave may be (a short last sector
// as some tools write it still counts, a cut into live data does not).

#include "engine/JournalTestSupport.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "engine/Journal.h"
#include "engine/JournalCheck.h"
#include "engine/JournalPaths.h"
#include "engine/JournalRestore.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

TEST(JournalCheckTest, OnlyTheGameFilesAnImportWritesMayBeJournaled)
{
    const struct {
        const char* Path;
        bool Written;
    } cases[] = {
        {"Data/Vehicles.ide", true},
        {"data\\vehicles.IDE", true},
        {"Data/Handling.cfg", true},
        {"DATA/carcols.dat", true},
        {"Text/American.gxt", true},
        {"text/spanish.gxt", true},
        {"Models/GTA3.img", false},
        {"Data/default.dat", false},
        {"Data/Vehicles.ide/x", false},
        {"Vehicles.ide", false},
        {"Text", false},
        {"Text/sub/American.gxt", false},
        {"vehmira-backups/20240101-000000-000000/saved.bak", false},
        {"mods/important.cfg", false},
        {"Data/../Data/Handling.cfg", false},
        {"Text/NUL.gxt", false},
    };
    for (const auto& test : cases)
        EXPECT_EQ(IsGameFileAnImportWrites(test.Path), test.Written) << test.Path;
}

constexpr std::uint64_t LastEntryBytes = 3000; // its second sector holds 952 bytes, then zeros

TFixtureArchiveEntry Entry(const std::string& name, std::size_t length, std::uint8_t fill)
{
    return {name, ByteBuffer(length, fill)};
}

// The reason CheckRestoredArchive refuses for, or "" when it takes the journal.
std::string RefusalOf(const TJournalManifest& manifest, const TSavedCopies& saved, TStream& archive)
{
    try {
        CheckRestoredArchive("journal", manifest, saved, archive);
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::DamagedJournal);
        return error.Facts().Subject;
    }
    return "";
}

TEST(JournalCheckTest, TheRestoredArchiveKeepsEveryLiveEntryOfItsDirectory)
{
    // Before the import: two entries, the second in a short last sector. The
    // import added a third entry past the old end and rewrote the directory.
    const std::vector<TFixtureArchiveEntry> old{Entry("a.dff", 2048, 1), Entry("b.dff", LastEntryBytes, 2)};
    ByteBuffer before = GameFixture::BuildArchive(old, 1);
    const std::uint64_t fullLength = before.size();
    const std::uint64_t shortLength = fullLength - (2 * 2048 - LastEntryBytes);
    std::vector<TFixtureArchiveEntry> now = old;
    now.push_back(Entry("c.dff", 2048, 3));
    TMemoryStream archive(GameFixture::BuildArchive(now, 1));
    const std::uint64_t headLength = 8 + 3 * 32;
    TSavedCopies saved;
    saved.Head.assign(before.begin(), before.begin() + std::ptrdiff_t(headLength));

    const struct {
        const char* Name;
        std::uint64_t Length;
        bool SavedHead;
        std::string_view Refusal;
    } cases[] = {
        {"the length the import found", fullLength, true, ""},
        {"a short last sector", shortLength, true, ""},
        {"one byte into the last sector", fullLength - 2047, true, ""},
        {"the last sector cut off", fullLength - 2048, true, JournalDamage::ArchiveCut},
        {"10 bytes", 10, false, JournalDamage::ArchiveCut},
        {"the directory alone", headLength, true, JournalDamage::ArchiveCut},
        {"the old length under the new directory", fullLength, false, JournalDamage::ArchiveCut},
        {"the whole archive as it is now", archive.Size(), false, ""},
        {"longer than the archive is now", archive.Size() + 1, false, JournalDamage::ArchiveLonger},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TJournalManifest manifest;
        manifest.ArchiveLength = test.Length;
        manifest.HeadLength = test.SavedHead ? headLength : 0;
        const TSavedCopies copies = test.SavedHead ? saved : TSavedCopies{};
        EXPECT_EQ(RefusalOf(manifest, copies, archive), test.Refusal);
    }
}

// A power loss while importing into an archive that ends inside its last
// sector: the recovery takes the journal and puts back every byte.
TEST(JournalCheckTest, APendingImportIntoAnArchiveWithAShortLastSectorIsRolledBack)
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    content.ArchiveEntries.push_back(Entry("last.dff", LastEntryBytes, 9));
    TJournalTestGame game(content);
    game.Close();
    const std::filesystem::path archive = game.File(GameFiles::ModelArchive);
    std::filesystem::resize_file(archive, std::filesystem::file_size(archive) - (2 * 2048 - LastEntryBytes));
    game.Open();
    const auto before = game.Files();
    const TGameContext context = game.Context();
    {
        TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415 (cheetah)", "crash.car"},
                                       HeadAtRisk(context, 1));
        TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 5000, 3));
        game.Archive.AddStream(dff, 0, dff.Size(), "NEWCAR.DFF");
        ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
        FaultInjection::FailAtOperation(1, /*persist*/ true);
    }
    FaultInjection::FailAtOperation(0);
    game.Close();
    ASSERT_NE(game.Files(), before);

    EXPECT_EQ(RecoverInterruptedImports(game.Directory()).size(), 1u);
    EXPECT_EQ(game.Files(), before);
    EXPECT_TRUE(ListJournalIds(game.Directory()).empty());
}

// A committed journal that says the archive was shorter than its directory's
// data, with checksums made to match: undo refuses it before it marks it as
// being undone, so it never becomes a journal every later start refuses.
TEST(JournalCheckTest, UndoRefusesACutArchiveAndLeavesTheJournalCommitted)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    const std::string id = RunTestImport(context, {.DFFName = "NEWCAR.DFF", .TXDName = "NEWCAR.TXD"});
    const std::filesystem::path journal = JournalRoot(game.Directory()) / id;
    TJournalManifest manifest = LoadManifest(journal);
    manifest.ArchiveLength = manifest.HeadLength;
    manifest.AppendedCRCAfter =
        StreamRangeCRC(game.Archive.File(), manifest.ArchiveLength, manifest.ArchiveLengthAfter);
    SaveManifest(journal, manifest);
    const auto before = game.Files();

    try {
        UndoLastImport(context);
        ADD_FAILURE() << "undone";
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::DamagedJournal) << error.what();
        EXPECT_EQ(error.Facts().Subject, JournalDamage::ArchiveCut);
    }
    EXPECT_EQ(game.Files(), before);
    EXPECT_EQ(LoadManifest(journal).State, TJournalState::Committed);
    game.Close();
    EXPECT_TRUE(RecoverInterruptedImports(game.Directory()).empty());
    EXPECT_EQ(game.Files(), before);
}

} // namespace
