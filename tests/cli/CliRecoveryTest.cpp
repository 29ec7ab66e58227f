// Recovery and undo end to end on journals that no import could have written:
// every command refuses them, naming why, and no byte changes inside or outside
// the game folder. A game file with a second name outside keeps that name's
// bytes through an import and its undo.

#include "cli/CliTestSupport.h"

#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"
#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}

// Every regular file under root, links not followed: the journal folder too,
// and a folder outside the game.
TDirectorySnapshot SnapshotTree(const std::filesystem::path& root)
{
    TDirectorySnapshot snapshot;
    for (auto it = std::filesystem::recursive_directory_iterator(root);
         it != std::filesystem::recursive_directory_iterator(); ++it)
        if (it->is_regular_file() && !it->is_symlink())
            snapshot[PathToUtf8(std::filesystem::relative(it->path(), root).generic_u8string())] =
                ReadWholeFileText(it->path());
    return snapshot;
}

// The demo game after one committed import of the cheetah over 402, with a
// folder of the user's own files beside it.
struct TImportedGame {
    TImportedGame()
    {
        const std::string package = Game.Scratch("415.car");
        EXPECT_EQ(RunCli(WithGame(Game, {"export", "415", "-o", package, "--pieces",
                                         "dff,txd,gxt,handling,vehicles,carcols"})).ExitCode, 0);
        const TCliRun import = RunCli(WithGame(Game, {"import", package, "--over", "402"}));
        EXPECT_EQ(import.ExitCode, 0) << import.Err;
        std::filesystem::create_directories(Outside);
        ReplaceFileAtomically(Outside / "important.cfg", std::string_view("the user's important file"));
        ReplaceFileAtomically(Outside / "other.cfg", std::string_view("the user's other file"));
        const std::vector<std::string> ids = ListJournalIds(Game.Path());
        EXPECT_EQ(ids.size(), 1u);
        Journal = JournalRoot(Game.Path()) / ids.front();
    }

    TDemoGameDirectory Game;
    std::filesystem::path Outside = PathFromUtf8(Game.Scratch("outside"));
    std::filesystem::path Journal;
};

// A journal without its saved head: the saved bytes start with the files' copies.
void DropSavedHead(TImportedGame& game, TJournalManifest& manifest)
{
    const std::string saved = ReadWholeFileText(game.Journal / SavedBytesFileName);
    ReplaceFileAtomically(game.Journal / SavedBytesFileName, std::string_view(saved).substr(manifest.HeadLength));
    manifest.HeadLength = 0;
    manifest.HeadCRC = 0;
    manifest.Ranges.clear();
}

struct TCraftedJournal {
    const char* Name;
    std::function<void(TImportedGame&, TJournalManifest&)> Craft;
    const char* Said; // in the refusal of a pending journal
    bool MakesLinks = false;
};

const TCraftedJournal CraftedJournals[] = {
    {"the archive cut to 10 bytes",
     [](TImportedGame& game, TJournalManifest& manifest) {
         DropSavedHead(game, manifest);
         manifest.ArchiveLength = 10;
         manifest.Pinned.clear();
     },
     "it would cut the archive to 10 bytes, inside the data its directory holds"},
    {"the archive cut to its directory",
     [](TImportedGame&, TJournalManifest& manifest) {
         manifest.ArchiveLength = manifest.HeadLength;
         manifest.Pinned.clear();
     },
     "inside the data its directory holds"},
    {"Data/vehicles.ide as the archive",
     [](TImportedGame&, TJournalManifest& manifest) { manifest.ArchiveRelativePath = "data/vehicles.ide"; },
     "it names \"data/vehicles.ide\" as the model archive"},
    {"the archive as a file to put back",
     [](TImportedGame&, TJournalManifest& manifest) { manifest.Files[0].RelativePath = "models/gta3.img"; },
     "it names the model archive \"models/gta3.img\" as a file to put back"},
    {"a file inside the journal folder",
     [](TImportedGame& game, TJournalManifest& manifest) {
         manifest.Files[0].RelativePath =
             std::filesystem::path("vehmira-backups") / game.Journal.filename() / SavedBytesFileName;
     },
     "a file inside the journal folder"},
    {"a file no import writes",
     [](TImportedGame&, TJournalManifest& manifest) { manifest.Files[0].RelativePath = "data/default.dat"; },
     "it names \"data/default.dat\", which no import writes"},
    {"a folder linked outside, with a changed and a created file",
     [](TImportedGame& game, TJournalManifest& manifest) {
         std::filesystem::create_directory_symlink("../outside", game.Game.Path() / "mods");
         const TJournaledFile changed{"mods/other.cfg", manifest.Files[0].Before, {}};
         const TJournaledFile created{"mods/important.cfg", {}, {}};
         manifest.Files = {changed, created};
     },
     "it names \"mods/other.cfg\", which no import writes", true},
    {"the text folder moved outside and linked",
     [](TImportedGame& game, TJournalManifest&) {
         std::filesystem::rename(game.Game.Path() / "text", game.Outside / "text");
         std::filesystem::create_directory_symlink("../outside/text", game.Game.Path() / "text");
     },
     "which is reached through a symbolic link or junction", true},
};

TEST(CliRecovery, APendingJournalNoImportCouldWriteIsRefusedAndNothingChanges)
{
    for (const TCraftedJournal& crafted : CraftedJournals) {
        if (crafted.MakesLinks && !SymbolicLinksCanBeMade)
            continue;
        SCOPED_TRACE(crafted.Name);
        TImportedGame game;
        TJournalManifest manifest = LoadManifest(game.Journal);
        manifest.State = TJournalState::Pending;
        crafted.Craft(game, manifest);
        SaveManifest(game.Journal, manifest);
        const TDirectorySnapshot before = SnapshotTree(game.Game.Path());
        const TDirectorySnapshot outside = SnapshotTree(game.Outside);

        for (const char* command : {"list", "undo", "history"}) {
            const TCliRun run = RunCli(WithGame(game.Game, {command}));
            EXPECT_EQ(run.ExitCode, 1) << command;
            EXPECT_NE(run.Err.find("vehmira: the import journal \"" + PathToUtf8(game.Journal) + "\" is damaged: "),
                      std::string::npos)
                << command << ": " << run.Err;
            EXPECT_NE(run.Err.find(crafted.Said), std::string::npos) << command << ": " << run.Err;
            EXPECT_NE(run.Err.find("Nothing was changed; move that folder out of the way to go on."),
                      std::string::npos)
                << run.Err;
        }
        EXPECT_EQ(SnapshotTree(game.Game.Path()), before);
        EXPECT_EQ(SnapshotTree(game.Outside), outside);
        EXPECT_TRUE(std::filesystem::exists(game.Outside / "important.cfg"));
    }
}

TEST(CliRecovery, UndoOfACommittedJournalNoImportCouldWriteChangesNothing)
{
    for (const TCraftedJournal& crafted : CraftedJournals) {
        if (crafted.MakesLinks && !SymbolicLinksCanBeMade)
            continue;
        SCOPED_TRACE(crafted.Name);
        TImportedGame game;
        TJournalManifest manifest = LoadManifest(game.Journal);
        crafted.Craft(game, manifest);
        SaveManifest(game.Journal, manifest);
        const TDirectorySnapshot before = SnapshotTree(game.Game.Path());
        const TDirectorySnapshot outside = SnapshotTree(game.Outside);

        const TCliRun undo = RunCli(WithGame(game.Game, {"undo"}));
        EXPECT_EQ(undo.ExitCode, 1) << undo.Out;
        EXPECT_EQ(SnapshotTree(game.Game.Path()), before);
        EXPECT_EQ(SnapshotTree(game.Outside), outside);
    }
}

// The journal the import wrote, as it wrote it, still recovers.
TEST(CliRecovery, APendingJournalAsTheImportWroteItStillRestoresEveryByte)
{
    TDemoGameDirectory game;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string package = game.Scratch("415.car");
    ASSERT_EQ(RunCli(WithGame(game, {"export", "415", "-o", package, "--pieces",
                                     "dff,txd,gxt,handling,vehicles,carcols"})).ExitCode, 0);
    ASSERT_EQ(RunCli(WithGame(game, {"import", package, "--over", "402"})).ExitCode, 0);
    const std::filesystem::path journal = JournalRoot(game.Path()) / ListJournalIds(game.Path()).front();
    TJournalManifest manifest = LoadManifest(journal);
    manifest.State = TJournalState::Pending;
    SaveManifest(journal, manifest);

    const TCliRun list = RunCli(WithGame(game, {"list"}));
    EXPECT_EQ(list.ExitCode, 0) << list.Err;
    EXPECT_NE(list.Err.find("Restored the game files as they were before"), std::string::npos) << list.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
}

// A backup tool's or a mod manager's second name for a game file: the import
// gives the game's name a new file, and the undo puts the old bytes back
// under it; the other name never changes.
TEST(CliRecovery, AHardLinkedGameFileKeepsItsOtherNameThroughImportAndUndo)
{
    TDemoGameDirectory game;
    const std::filesystem::path outside = PathFromUtf8(game.Scratch("vehicles.ide.deployed"));
    std::filesystem::create_hard_link(game.Path() / "data" / "vehicles.ide", outside);
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string outsideBefore = ReadWholeFileText(outside);
    ASSERT_EQ(outsideBefore, before.at("data/vehicles.ide"));

    const std::string package = game.Scratch("415.car");
    ASSERT_EQ(RunCli(WithGame(game, {"export", "415", "-o", package, "--pieces", "dff,vehicles,handling"})).ExitCode,
              0);
    const TCliRun import = RunCli(WithGame(game, {"import", package, "--over", "402"}));
    ASSERT_EQ(import.ExitCode, 0) << import.Err;
    EXPECT_NE(game.Read("data/vehicles.ide"), before.at("data/vehicles.ide"));
    EXPECT_EQ(ReadWholeFileText(outside), outsideBefore);

    const TCliRun undo = RunCli(WithGame(game, {"undo"}));
    ASSERT_EQ(undo.ExitCode, 0) << undo.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    EXPECT_EQ(ReadWholeFileText(outside), outsideBefore);
}

} // namespace
