// Undo of committed imports: byte-identical restore, refusal after an outside
// change, several undos in a row, pruning to the last ten, an undo that a
// crash cut short, and the imports a rebuild of the archive retires.

#include "engine/JournalTestSupport.h"

#include "archive/ArchiveRebuild.h"
#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

TTestImport NthImport(int n)
{
    TTestImport import;
    import.Seed = std::uint8_t(10 + n);
    import.Source = "car" + std::to_string(n) + ".car";
    // Alternate between replacing and adding names, so some undos shrink the directory.
    if (n % 2 == 1) {
        import.DFFName = "NEW" + std::to_string(n) + ".DFF";
        import.TXDName = "NEW" + std::to_string(n) + ".TXD";
        import.CreatesNewFile = n == 1;
    }
    return import;
}

std::optional<TVehmiraError> UndoRefusal(const TGameContext& context)
{
    try {
        UndoLastImport(context);
    } catch (const TVehmiraError& error) {
        return error;
    }
    return std::nullopt;
}

std::string UndoError(const TGameContext& context)
{
    const std::optional<TVehmiraError> refusal = UndoRefusal(context);
    return refusal ? refusal->what() : "";
}

// The archive rebuilt in place and the imports before it retired, as the
// rebuild operation does.
std::size_t RebuildAndRetire(TJournalTestGame& game)
{
    vehmira::archive::RebuildOpenArchive(game.Archive);
    return RetireImportsBeforeRebuild(game.Directory());
}

TEST(JournalUndoTest, EachUndoRestoresTheStateBeforeItsImport)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    std::vector<std::map<std::string, ByteBuffer>> states{game.Files()};
    for (int n = 0; n < 3; ++n) {
        RunTestImport(context, NthImport(n));
        states.push_back(game.Files());
    }
    for (int n = 2; n >= 0; --n) {
        ASSERT_TRUE(LastUndoableImport(game.Directory()));
        EXPECT_EQ(LastUndoableImport(game.Directory())->Source, "car" + std::to_string(n) + ".car");
        const TJournalInfo undone = UndoLastImport(context);
        EXPECT_EQ(undone.Source, "car" + std::to_string(n) + ".car");
        EXPECT_TRUE(undone.Undone);
        EXPECT_EQ(game.Files(), states[std::size_t(n)]) << "after undoing import " << n;
    }
    EXPECT_FALSE(LastUndoableImport(game.Directory()));
    EXPECT_NE(UndoError(context), "");
    // The open archive follows: the original entries are found again, the added ones are gone.
    EXPECT_NE(game.Archive.Directory.FindEntry("cheetah.dff"), nullptr);
    EXPECT_EQ(game.Archive.Directory.FindEntry("NEW1.DFF"), nullptr);
    const auto history = ListImportHistory(game.Directory());
    ASSERT_EQ(history.size(), 3u);
    for (const TJournalInfo& info : history)
        EXPECT_TRUE(info.Undone);
}

TEST(JournalUndoTest, RefusesAfterAnOutsideChangeAndChangesNothing)
{
    using TChange = void (*)(TJournalTestGame&);
    const struct {
        const char* Name;
        TChange Change;
        const char* ChangedFile = "Models\\GTA3.img";
    } cases[] = {
        {"text file edited",
         [](TJournalTestGame& game) {
             ReplaceFileAtomically(game.File(GameFiles::Handling), std::string_view("edited"));
         },
         "Data\\Handling.cfg"},
        {"text file removed",
         [](TJournalTestGame& game) { std::filesystem::remove(game.File(GameFiles::Handling)); },
         "Data\\Handling.cfg"},
        {"file the import created removed",
         [](TJournalTestGame& game) { std::filesystem::remove(game.File("Text\\French.gxt")); }, "Text\\French.gxt"},
        {"archive appended",
         [](TJournalTestGame& game) {
             TMemoryStream bytes(ByteBuffer(10, 1));
             game.Archive.AddStream(bytes, 0, 10, "OTHER.DFF");
         }},
        {"archive directory edited in place",
         [](TJournalTestGame& game) {
             TFileStream& file = game.Archive.File();
             file.Seek(16);
             const std::uint8_t letter = 'X';
             file.Write(std::span(&letter, 1));
         }},
        {"appended data edited in place",
         [](TJournalTestGame& game) {
             TFileStream& file = game.Archive.File();
             file.Seek(file.Size() - 1);
             const std::uint8_t byte = 0xEE;
             file.Write(std::span(&byte, 1));
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TJournalTestGame game;
        const TGameContext context = game.Context();
        RunTestImport(context, {.Source = "fast.car", .CreatesNewFile = true});
        test.Change(game);
        const auto changed = game.Files();
        const std::optional<TVehmiraError> refusal = UndoRefusal(context);
        ASSERT_TRUE(refusal);
        const std::string error = refusal->what();
        EXPECT_NE(error.find("has changed since"), std::string::npos) << error;
        EXPECT_NE(error.find("fast.car"), std::string::npos) << error;
        // The facts a front words the refusal with, once.
        EXPECT_EQ(refusal->Kind(), TErrorKind::ChangedSinceImport);
        EXPECT_EQ(refusal->Facts().Path, test.ChangedFile);
        EXPECT_EQ(refusal->Facts().Subject, "415 (cheetah)");
        EXPECT_EQ(game.Files(), changed);
        ASSERT_TRUE(LastUndoableImport(game.Directory())) << "the import stays recorded";
    }
}

TEST(JournalUndoTest, KeepsTheLastTenImportsAndDropsUndoneOnes)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    std::vector<std::map<std::string, ByteBuffer>> states{game.Files()};
    for (int n = 0; n < 12; ++n) {
        RunTestImport(context, NthImport(n));
        states.push_back(game.Files());
    }
    auto history = ListImportHistory(game.Directory());
    ASSERT_EQ(history.size(), JournalsKeptForUndo);
    EXPECT_EQ(history.front().Source, "car11.car");
    EXPECT_EQ(history.back().Source, "car2.car");
    EXPECT_EQ(ListJournalIds(game.Directory()).size(), JournalsKeptForUndo);

    // An undone import gives way at the next commit.
    UndoLastImport(context);
    EXPECT_EQ(game.Files(), states[11]);
    RunTestImport(context, NthImport(12));
    history = ListImportHistory(game.Directory());
    ASSERT_EQ(history.size(), JournalsKeptForUndo);
    EXPECT_EQ(history[0].Source, "car12.car");
    EXPECT_EQ(history[1].Source, "car10.car");

    for (std::size_t i = 0; i < JournalsKeptForUndo; ++i)
        UndoLastImport(context);
    EXPECT_EQ(game.Files(), states[2]) << "ten undos lead back to the oldest kept import";
    EXPECT_NE(UndoError(context), "");
    EXPECT_EQ(game.Files(), states[2]);
}

// A crash in the middle of an undo: the next start finishes it.
TEST(JournalUndoTest, AnInterruptedUndoIsFinishedByRecovery)
{
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("undo fails at operation " + std::to_string(failAt));
        TJournalTestGame game;
        const TGameContext context = game.Context();
        const auto before = game.Files();
        RunTestImport(context, NthImport(1));
        const auto after = game.Files();
        FaultInjection::FailAtOperation(failAt, true);
        bool interrupted = false;
        try {
            UndoLastImport(context);
        } catch (const TVehmiraError&) {
            interrupted = true;
        }
        FaultInjection::FailAtOperation(0);
        game.Close();
        const std::vector<std::string> lines = RecoverInterruptedImports(game.Directory());
        const auto history = ListImportHistory(game.Directory());
        ASSERT_EQ(history.size(), 1u);
        if (history[0].Undone) {
            EXPECT_EQ(game.Files(), before);
        } else {
            EXPECT_EQ(game.Files(), after) << "an undo that never began leaves the import";
            EXPECT_TRUE(lines.empty());
        }
        game.Open();
        if (!interrupted)
            break;
        ASSERT_LT(failAt, 100) << "undo never completes";
    }
}

TEST(JournalUndoTest, ARebuildRetiresTheImportsBeforeItAndKeepsTheLaterOnes)
{
    TJournalTestGame game;
    const TGameContext context = game.Context();
    RunTestImport(context, NthImport(0));
    const std::filesystem::path newest = JournalRoot(game.Directory()) / RunTestImport(context, NthImport(1));
    // Sectors the import left under a free record, as a copy-on-write import pins them.
    TJournalManifest manifest = LoadManifest(newest);
    manifest.Pinned.push_back({2048, 2048});
    SaveManifest(newest, manifest);
    ASSERT_FALSE(ArchiveBytesPinnedForUndo(game.Directory()).empty()) << "the kept imports pin sectors";

    ASSERT_EQ(RebuildAndRetire(game), 2u);
    const auto rebuilt = game.Files();
    const auto history = ListImportHistory(game.Directory());
    ASSERT_EQ(history.size(), 2u) << "retired imports stay listed, marked";
    for (const TJournalInfo& info : history) {
        EXPECT_TRUE(info.Retired);
        EXPECT_TRUE(info.Committed);
        EXPECT_FALSE(info.Undone);
    }
    EXPECT_FALSE(LastUndoableImport(game.Directory()));
    EXPECT_TRUE(ArchiveBytesPinnedForUndo(game.Directory()).empty()) << "the old file's sectors pin nothing";
    const std::optional<TVehmiraError> nothing = UndoRefusal(context);
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->Kind(), TErrorKind::NothingToUndo);
    EXPECT_EQ(nothing->Facts().Number, 2);
    EXPECT_EQ(game.Files(), rebuilt);
    EXPECT_EQ(RetireImportsBeforeRebuild(game.Directory()), 0u) << "only committed imports are retired";

    // An import after the rebuild can be undone, and only it.
    RunTestImport(context, NthImport(2));
    ASSERT_TRUE(LastUndoableImport(game.Directory()));
    EXPECT_EQ(LastUndoableImport(game.Directory())->Source, "car2.car");
    EXPECT_EQ(UndoLastImport(context).Source, "car2.car");
    EXPECT_EQ(game.Files(), rebuilt);
    ASSERT_TRUE(UndoRefusal(context));
    EXPECT_EQ(UndoRefusal(context)->Kind(), TErrorKind::NothingToUndo);
    EXPECT_EQ(game.Files(), rebuilt);

    // The next commit clears retired journals away with the undone ones.
    RunTestImport(context, NthImport(3));
    const auto pruned = ListImportHistory(game.Directory());
    ASSERT_EQ(pruned.size(), 1u);
    EXPECT_EQ(pruned[0].Source, "car3.car");
}

// Retiring cut short at any write: whatever it got to, no undo is offered
// that would write the old archive's bytes over the rebuilt one.
TEST(JournalUndoTest, AnInterruptedRetirementNeverOffersAnUndoThatCouldRun)
{
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("retiring fails at operation " + std::to_string(failAt));
        TJournalTestGame game;
        const TGameContext context = game.Context();
        RunTestImport(context, NthImport(0));
        RunTestImport(context, NthImport(1));
        vehmira::archive::RebuildOpenArchive(game.Archive);
        const auto rebuilt = game.Files();
        FaultInjection::FailAtOperation(failAt, true);
        bool interrupted = false;
        try {
            RetireImportsBeforeRebuild(game.Directory());
        } catch (const TVehmiraError&) {
            interrupted = true;
        }
        FaultInjection::FailAtOperation(0);
        if (LastUndoableImport(game.Directory())) {
            EXPECT_TRUE(interrupted);
            const std::optional<TVehmiraError> refusal = UndoRefusal(context);
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->Kind(), TErrorKind::ChangedSinceImport);
        }
        EXPECT_EQ(game.Files(), rebuilt);
        if (!interrupted)
            break;
        ASSERT_LT(failAt, 100) << "retiring never completes";
    }
}

} // namespace
