// The import transaction: journal before the first change, commit, rollback
// (explicit and by the destructor) and crash recovery of a pending journal.

#include "engine/JournalTestSupport.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

using GameFixture::ToBytes;

// A fixture whose directory is full (FreeSlots 0), so the first new entry name
// makes the archive move its first data block to the end and write over it.
TGameFixtureContent FullDirectoryContent()
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    for (int i = 0; content.ArchiveEntries.size() < 63; ++i)
        content.ArchiveEntries.push_back({"pad" + std::to_string(i) + ".txd", ByteBuffer(100, std::uint8_t(i))});
    return content;
}

struct TFaultReset {
    ~TFaultReset() { FaultInjection::FailAtOperation(0); }
};

TEST(TransactionTest, RollbackRestoresTheGameDirectoryByteForByte)
{
    struct TCase {
        const char* Name;
        TGameFixtureContent Content;
        TTestImport Import;
        bool ExplicitRollback;
    };
    TTestImport newNames;
    newNames.DFFName = "NEWCAR.DFF";
    newNames.TXDName = "NEWCAR.TXD";
    newNames.CreatesNewFile = true;
    const TCase cases[] = {
        {"replace, destructor", GameFixture::DefaultContent(), {}, false},
        {"replace, explicit", GameFixture::DefaultContent(), {}, true},
        {"new names, file created", GameFixture::DefaultContent(), newNames, false},
        {"new names, directory grows", FullDirectoryContent(), newNames, true},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TJournalTestGame game(test.Content);
        const auto before = game.Files();
        const TGameContext context = game.Context();
        {
            TImportTransaction transaction(context,
                                           {game.File(GameFiles::Handling), game.File("Text\\French.gxt")}, {"415 (cheetah)", "fast.car"},
        HeadAtRisk(context, 2));
            TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 7000, 9));
            game.Archive.AddStream(dff, 0, dff.Size(), test.Import.DFFName);
            game.Archive.AddStream(dff, 0, dff.Size(), test.Import.TXDName);
            ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("changed\r\n"));
            if (test.Import.CreatesNewFile)
                ReplaceFileAtomically(game.File("Text\\French.gxt"), std::string_view("x"));
            ASSERT_NE(game.Files(), before);
            if (test.ExplicitRollback)
                transaction.Rollback();
        }
        EXPECT_EQ(game.Files(), before);
        EXPECT_TRUE(ListJournalIds(game.Directory()).empty()) << "a rolled back journal is removed";
        // The open archive's directory was reread: it finds the old entry again.
        const TDIREntry* cheetah = game.Archive.Directory.FindEntry("cheetah.dff");
        ASSERT_NE(cheetah, nullptr);
        EXPECT_EQ(cheetah->Name, "cheetah.dff");
        EXPECT_EQ(game.Archive.Directory.FindEntry("NEWCAR.DFF"), nullptr);
    }
}

TEST(TransactionTest, CommitKeepsTheImportAndRecordsItsState)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    const std::uint64_t lengthBefore = std::filesystem::file_size(game.File(GameFiles::ModelArchive));
    const std::string id = RunTestImport(context, {.Seed = 7});

    EXPECT_EQ(ReadWholeFile(game.File(GameFiles::Handling)), TestImportHandling(7));
    const TJournalManifest manifest = LoadManifest(JournalRoot(game.Directory()) / id);
    EXPECT_EQ(manifest.State, TJournalState::Committed);
    EXPECT_EQ(manifest.Target, "415 (cheetah)");
    EXPECT_EQ(manifest.Source, "fast.car");
    EXPECT_EQ(manifest.ArchiveLength, lengthBefore);
    EXPECT_EQ(manifest.ArchiveLengthAfter, std::filesystem::file_size(game.File(GameFiles::ModelArchive)));
    ASSERT_EQ(manifest.Files.size(), 1u);
    EXPECT_EQ(manifest.Files[0].After.Length, TestImportHandling(7).size());
    // The head copy covers the directory region at least; never the whole archive.
    EXPECT_GE(manifest.HeadLength, 8u + 32u * 8u);
    EXPECT_LT(manifest.HeadLength, lengthBefore);

    const auto history = ListImportHistory(game.Directory());
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].Id, id);
    EXPECT_TRUE(history[0].Committed);
    EXPECT_FALSE(history[0].Undone);
}

TEST(TransactionTest, FilesWrittenThroughItAreJournaledAndRecordedAsWritten)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    const auto before = game.Files();
    const std::filesystem::path handling = game.File(GameFiles::Handling);
    ByteBuffer longer = TestImportHandling(3);
    const std::string_view comment = "; and a comment the game ignores\r\n";
    longer.insert(longer.end(), comment.begin(), comment.end());
    const std::span<const std::uint8_t> bytes(longer);
    {
        TImportTransaction transaction(context, {handling}, {"415", "a.car"}, HeadAtRisk(context, 0));
        const TFileReplacement outside[] = {{game.File(GameFiles::Carcols), bytes}};
        EXPECT_THROW(transaction.ReplaceFiles(outside), TVehmiraError) << "Carcols.dat is not in the journal";
        EXPECT_EQ(game.Files(), before);
        const TFileReplacement journaled[] = {{handling, bytes}};
        transaction.ReplaceFiles(journaled);
        EXPECT_EQ(ReadWholeFile(handling), longer);
    }
    EXPECT_EQ(game.Files(), before) << "the rollback puts the file written in place back";

    TImportTransaction transaction(context, {handling}, {"415", "b.car"}, HeadAtRisk(context, 0));
    const TFileReplacement journaled[] = {{handling, bytes}};
    transaction.ReplaceFiles(journaled);
    transaction.Commit();
    const TJournalManifest manifest = LoadManifest(JournalRoot(game.Directory()) / transaction.JournalId());
    ASSERT_EQ(manifest.Files.size(), 1u);
    EXPECT_TRUE(manifest.Files[0].After.Present);
    EXPECT_EQ(manifest.Files[0].After.Length, longer.size());
    EXPECT_EQ(manifest.Files[0].After.CRC, CRC32Buffer(bytes));
    UndoLastImport(context);
    EXPECT_EQ(game.Files(), before) << "the recorded state lets the undo see nothing changed since";
}

TEST(TransactionTest, CommitAfterRollbackAndRollbackAfterCommitAreRefused)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    {
        TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "a.car"},
        HeadAtRisk(context, 0));
        transaction.Rollback();
        EXPECT_THROW(transaction.Commit(), TVehmiraError);
    }
    TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "b.car"},
        HeadAtRisk(context, 0));
    transaction.Commit();
    EXPECT_THROW(transaction.Rollback(), TVehmiraError);
    EXPECT_EQ(ListImportHistory(game.Directory()).size(), 1u);
}

TEST(TransactionTest, RefusesFilesOutsideTheGameDirectoryAndAClosedArchive)
{
    TJournalTestGame game;
    TTempDir elsewhere;
    const std::filesystem::path outside = elsewhere.Write("victim.txt", "keep");
    EXPECT_THROW(TImportTransaction(game.Context(), {outside}, {"415", "a.car"},
        HeadAtRisk(game.Context(), 0)), TVehmiraError);
    game.Close();
    EXPECT_THROW(TImportTransaction(game.Context(), {game.File(GameFiles::Handling)}, {"415", "a.car"},
        HeadAtRisk(game.Context(), 0)),
                 TVehmiraError);
    EXPECT_TRUE(ListJournalIds(game.Directory()).empty());
}

// A power loss in the middle of an import: nothing more reaches the disk, not
// even the rollback; the next start restores the files and says so.
TEST(TransactionTest, RecoveryRollsBackAPendingJournalAndReportsIt)
{
    TFaultReset reset;
    TJournalTestGame game;
    const auto before = game.Files();
    const TGameContext context = game.Context();
    {
        TTestImport import;
        import.DFFName = "NEWCAR.DFF";
        import.CreatesNewFile = true;
        TImportTransaction transaction(context, {game.File(GameFiles::Handling), game.File("Text\\French.gxt")}, {"415 (cheetah)", "crash.car"},
        HeadAtRisk(context, 1));
        TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 5000, 3));
        game.Archive.AddStream(dff, 0, dff.Size(), "NEWCAR.DFF");
        ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
        ReplaceFileAtomically(game.File("Text\\French.gxt"), std::string_view("x"));
        FaultInjection::FailAtOperation(1, /*persist*/ true);
    }
    FaultInjection::FailAtOperation(0);
    game.Close();
    ASSERT_NE(game.Files(), before);

    // A journal that never got its manifest is a leftover: removed, not reported.
    std::filesystem::create_directories(JournalRoot(game.Directory()) / "20000101-000000-000000");
    const std::vector<std::string> lines = RecoverInterruptedImports(game.Directory());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("415 (cheetah)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("crash.car"), std::string::npos) << lines[0];
    EXPECT_EQ(game.Files(), before);
    EXPECT_TRUE(ListJournalIds(game.Directory()).empty());
    EXPECT_TRUE(RecoverInterruptedImports(game.Directory()).empty()) << "recovery runs once";
    game.Open();
}

// A rollback that failed in this run (a full disk, say) is finished before the
// next import journals the game, so that import never records a broken state.
TEST(TransactionTest, AFailedRollbackIsFinishedBeforeTheNextImport)
{
    TFaultReset reset;
    TJournalTestGame game;
    const auto before = game.Files();
    const TGameContext context = game.Context();
    {
        TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "first.car"},
        HeadAtRisk(context, 1));
        TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 5000, 3));
        game.Archive.AddStream(dff, 0, dff.Size(), "NEWCAR.DFF");
        ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
        FaultInjection::FailAtOperation(1); // only the rollback's first write fails
    }
    FaultInjection::FailAtOperation(0);
    ASSERT_NE(game.Files(), before);
    ASSERT_EQ(ListJournalIds(game.Directory()).size(), 1u);

    TImportTransaction next(context, {game.File(GameFiles::Handling)}, {"415", "second.car"},
        HeadAtRisk(context, 0));
    EXPECT_EQ(game.Files(), before);
    EXPECT_EQ(game.Archive.Directory.FindEntry("NEWCAR.DFF"), nullptr);
    EXPECT_EQ(ListJournalIds(game.Directory()), std::vector<std::string>{next.JournalId()});
}

// The next import works out its new file contents only after the unfinished
// rollback has put the files back, so none of the failed import's changes return.
TEST(TransactionTest, TheNextImportIsPlannedOnTheRestoredFiles)
{
    TFaultReset reset;
    TJournalTestGame game;
    const std::string original = ReadWholeFileText(game.File(GameFiles::Handling));
    const TGameContext context = game.Context();
    {
        TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "first.car"},
        HeadAtRisk(context, 0));
        ReplaceFileAtomically(game.File(GameFiles::Handling), original + "HALFDONE 1 2 3\r\n");
        FaultInjection::FailAtOperation(1); // only the rollback's first write fails
    }
    FaultInjection::FailAtOperation(0);
    ASSERT_NE(ReadWholeFileText(game.File(GameFiles::Handling)), original);

    TVehicleFile definitions;
    definitions.LoadFromFile(game.File(GameFiles::VehicleDefinitions));
    TImportFiles files;
    files.Handling = "ANY 1 2 3";
    ImportVehicle(context, *definitions.FindLastByID(400), files);
    const std::string handling = ReadWholeFileText(game.File(GameFiles::Handling));
    EXPECT_EQ(handling.find("HALFDONE"), std::string::npos) << handling;
    EXPECT_NE(handling.find("\r\nLANDSTAL 1 2 3\r\n"), std::string::npos) << handling;
}

// A crash between writing a replacement and putting it in place leaves its
// temporary beside the game file; recovery takes it away with the rest.
TEST(TransactionTest, RecoveryRemovesTemporariesACrashLeftBesideTheGameFiles)
{
    TFaultReset reset;
    TJournalTestGame game;
    const auto before = game.Files();
    {
        TImportTransaction transaction(game.Context(), {game.File(GameFiles::Handling)}, {"415", "first.car"},
        HeadAtRisk(game.Context(), 0));
        ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
        game.Temp.Write("Data/Handling.cfg.vehmira-tmp-12345-0", std::string_view("partial"));
        FaultInjection::FailAtOperation(1, true); // a power loss: not even the rollback reaches the disk
    }
    FaultInjection::FailAtOperation(0);
    game.Close();
    EXPECT_EQ(RecoverInterruptedImports(game.Directory()).size(), 1u);
    game.Open();
    EXPECT_EQ(game.Files(), before);
}

// A journal whose saved bytes were damaged is never used to overwrite the game.
TEST(TransactionTest, RecoveryFromADamagedJournalChangesNothing)
{
    TFaultReset reset;
    const struct {
        const char* Name;
        void (*Damage)(const std::filesystem::path& saved);
    } cases[] = {
        {"byte changed",
         [](const std::filesystem::path& saved) {
             ByteBuffer bytes = ReadWholeFile(saved);
             bytes[bytes.size() / 2] ^= 0x01;
             ReplaceFileAtomically(saved, bytes);
         }},
        {"cut short", [](const std::filesystem::path& saved) { std::filesystem::resize_file(saved, 100); }},
        {"missing", [](const std::filesystem::path& saved) { std::filesystem::remove(saved); }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TJournalTestGame game;
        const TGameContext context = game.Context();
        std::string id;
        {
            TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "x.car"},
        HeadAtRisk(context, 0));
            id = transaction.JournalId();
            ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
            FaultInjection::FailAtOperation(1, true);
        }
        FaultInjection::FailAtOperation(0);
        game.Close();
        test.Damage(JournalRoot(game.Directory()) / id / SavedBytesFileName);
        const auto crashed = game.Files();
        EXPECT_THROW(RecoverInterruptedImports(game.Directory()), TVehmiraError);
        EXPECT_EQ(game.Files(), crashed);
        EXPECT_EQ(ListJournalIds(game.Directory()).size(), 1u) << "the journal is kept for inspection";
    }
}

// Recovery itself may be cut off at any write, flush, rename or truncation;
// it is then simply run again.
TEST(TransactionTest, RecoveryInterruptedAtAnyOperationIsRepeatedToTheSameResult)
{
    TFaultReset reset;
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("recovery fails at operation " + std::to_string(failAt));
        TJournalTestGame game(FullDirectoryContent());
        const auto before = game.Files();
        const TGameContext context = game.Context();
        {
            TImportTransaction transaction(context, {game.File(GameFiles::Handling)}, {"415", "x.car"},
        HeadAtRisk(context, 2));
            TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 5000, 3));
            game.Archive.AddStream(dff, 0, dff.Size(), "NEWCAR.DFF");
            game.Archive.AddStream(dff, 0, dff.Size(), "NEWCAR.TXD");
            ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("half\r\n"));
            FaultInjection::FailAtOperation(1, true);
        }
        game.Close();
        FaultInjection::FailAtOperation(failAt, true);
        bool interrupted = false;
        try {
            RecoverInterruptedImports(game.Directory());
        } catch (const TVehmiraError&) {
            interrupted = true;
        }
        FaultInjection::FailAtOperation(0);
        // Cut off after the restore, the second run has nothing left to report.
        if (interrupted) {
            EXPECT_LE(RecoverInterruptedImports(game.Directory()).size(), 1u);
        }
        EXPECT_EQ(game.Files(), before);
        EXPECT_TRUE(ListJournalIds(game.Directory()).empty());
        if (!interrupted)
            break;
        ASSERT_LT(failAt, 100) << "recovery never completes";
    }
}

} // namespace
