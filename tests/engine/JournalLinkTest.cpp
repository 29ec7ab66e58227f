// Links and the journal: a game file with a second name outside keeps that
// name's bytes through an import, and undo puts back whatever the import
// changed; the import never journals a file reached through a symbolic link.

#include "engine/JournalTestSupport.h"

#include "fileio/Errors.h"
#include "fileio/FileLinks.h"
#include "fileio/FileSystem.h"
#include "engine/Journal.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

std::span<const std::uint8_t> BytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The game's Handling.cfg with a second name in a folder of its own, as a
// backup tool or a mod manager's deployment leaves it.
struct TLinkedGame {
    TLinkedGame()
    {
        std::filesystem::create_hard_link(Game.File(GameFiles::Handling), OtherName);
        Before = Game.Files();
        OtherBefore = ReadWholeFileText(OtherName);
    }

    TJournalTestGame Game;
    TTempDir Elsewhere;
    std::filesystem::path OtherName = Elsewhere.Path() / "handling.deployed";
    std::map<std::string, ByteBuffer> Before;
    std::string OtherBefore;
};

constexpr std::string_view ImportedHandling = "CHEETAH 1400.0 77.0 2.0\r\n";

TEST(JournalLinkTest, AHardLinkedFileGetsANewFileAndUndoLeavesBothNamesAsBefore)
{
    TLinkedGame linked;
    const TGameContext context = linked.Game.Context();
    const std::filesystem::path handling = linked.Game.File(GameFiles::Handling);
    ASSERT_EQ(HardLinkCount(handling), 2u);
    {
        TImportTransaction transaction(context, {handling}, {"415 (cheetah)", "linked.car"});
        const TFileReplacement replacement{handling, BytesOf(ImportedHandling)};
        transaction.ReplaceFiles(std::span(&replacement, 1));
        transaction.Commit();
    }
    EXPECT_EQ(ReadWholeFileText(handling), ImportedHandling);
    EXPECT_EQ(ReadWholeFileText(linked.OtherName), linked.OtherBefore);
    EXPECT_EQ(HardLinkCount(handling), 1u);

    UndoLastImport(context);
    EXPECT_EQ(linked.Game.Files(), linked.Before);
    EXPECT_EQ(ReadWholeFileText(linked.OtherName), linked.OtherBefore);
}

// Imports once wrote such a file in place, through every name: its undo puts
// the old bytes back under every name too.
TEST(JournalLinkTest, UndoOfAnImportThatWroteThroughTheLinkRestoresBothNames)
{
    TLinkedGame linked;
    const TGameContext context = linked.Game.Context();
    const std::filesystem::path handling = linked.Game.File(GameFiles::Handling);
    {
        TImportTransaction transaction(context, {handling}, {"415 (cheetah)", "linked.car"});
        const TFileReplacement replacement{handling, BytesOf(ImportedHandling)};
        OverwriteJournaledFiles(std::span(&replacement, 1));
        transaction.Commit();
    }
    ASSERT_EQ(ReadWholeFileText(linked.OtherName), ImportedHandling);

    UndoLastImport(context);
    EXPECT_EQ(linked.Game.Files(), linked.Before);
    EXPECT_EQ(ReadWholeFileText(linked.OtherName), linked.OtherBefore);
    EXPECT_EQ(HardLinkCount(handling), 2u);
}

TEST(JournalLinkTest, TheImportJournalsNoFileThroughALinkAndNoFileItDoesNotWrite)
{
    const struct {
        const char* Name;
        std::function<void(TJournalTestGame&, const std::filesystem::path& elsewhere)> Prepare;
        std::string_view File;
        const char* Said;
        bool MakesLinks;
    } cases[] = {
        {"the data folder linked inside the game",
         [](TJournalTestGame& game, const std::filesystem::path&) {
             std::filesystem::rename(game.File("Data"), game.Directory() / "RealData");
             std::filesystem::create_directory_symlink("RealData", game.Directory() / "Data");
         },
         GameFiles::Handling, "symbolic link", true},
        {"the file linked outside",
         [](TJournalTestGame& game, const std::filesystem::path& elsewhere) {
             std::filesystem::rename(game.File(GameFiles::Handling), elsewhere / "Handling.cfg");
             std::filesystem::create_symlink(elsewhere / "Handling.cfg", game.File(GameFiles::Handling));
         },
         GameFiles::Handling, "symbolic link", true},
        {"a file no import writes", [](TJournalTestGame&, const std::filesystem::path&) {}, "Data\\default.dat",
         "not a game file an import writes", false},
        {"the archive", [](TJournalTestGame&, const std::filesystem::path&) {}, GameFiles::ModelArchive,
         "not a game file an import writes", false},
    };
    for (const auto& test : cases) {
        if (test.MakesLinks && !SymbolicLinksCanBeMade)
            continue;
        SCOPED_TRACE(test.Name);
        TJournalTestGame game;
        TTempDir elsewhere;
        test.Prepare(game, elsewhere.Path());
        const auto before = game.Files();
        try {
            TImportTransaction transaction(game.Context(), {game.File(test.File)}, {"415", "linked.car"});
            ADD_FAILURE() << "journaled";
        } catch (const TVehmiraError& error) {
            EXPECT_NE(std::string(error.what()).find(test.Said), std::string::npos) << error.what();
        }
        EXPECT_EQ(game.Files(), before);
        EXPECT_TRUE(ListJournalIds(game.Directory()).empty());
    }
}

TEST(JournalLinkTest, LinksAndLinkCountsAreToldAsTheSystemSeesThem)
{
    TTempDir dir;
    const std::filesystem::path file = dir.Write("file.txt", "bytes");
    EXPECT_FALSE(IsLink(file));
    EXPECT_FALSE(IsLink(dir.Path() / "missing"));
    EXPECT_EQ(HardLinkCount(file), 1u);
    EXPECT_EQ(HardLinkCount(dir.Path() / "missing"), 1u);
    std::filesystem::create_hard_link(file, dir.Path() / "second.txt");
    EXPECT_EQ(HardLinkCount(file), 2u);
    EXPECT_FALSE(IsLink(dir.Path() / "second.txt"));
    if (!SymbolicLinksCanBeMade)
        return;
    std::filesystem::create_symlink(file, dir.Path() / "symbolic.txt");
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() / "folder");
    EXPECT_TRUE(IsLink(dir.Path() / "symbolic.txt"));
    EXPECT_TRUE(IsLink(dir.Path() / "folder"));
    std::filesystem::create_symlink(dir.Path() / "missing", dir.Path() / "dangling");
    EXPECT_TRUE(IsLink(dir.Path() / "dangling"));
}

} // namespace
