// The command line on a demo game whose archive ends inside its last entry's
// last sector, as some tools leave it, with a vehicle's dictionary as that
// entry: imports over it, then history, list, undo and more imports, all
// work, and undo gives back every byte of the short archive.

#include "cli/CliTestSupport.h"

#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;

namespace {

std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}

std::string ExportAll(const TDemoGameDirectory& game, const std::string& id)
{
    const std::string package = game.Scratch(id + ".car");
    const TCliRun run =
        RunCli(WithGame(game, {"export", id, "-o", package, "--pieces", "dff,txd,gxt,handling,vehicles,carcols"}));
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return package;
}

// Swaps the names of two directory records of the archive image.
void SwapEntryNames(std::string& image, const std::string& first, const std::string& second)
{
    const auto field = [&](const std::string& name) {
        const std::size_t at = image.find(std::string(name).append(1, '\0'));
        if (at == std::string::npos || at >= 8 + 32 * std::size_t(std::uint8_t(image[4])))
            throw std::runtime_error("no directory record " + name);
        return at;
    };
    const std::size_t a = field(first);
    const std::size_t b = field(second);
    std::string firstField = image.substr(a, 24);
    image.replace(a, 24, image.substr(b, 24));
    image.replace(b, 24, firstField);
}

// The demo archive with maverick's dictionary as its last entry, cut short
// inside that entry's last sector (past its last byte that is not zero).
std::uint64_t MakeArchiveShort(const TDemoGameDirectory& game)
{
    const std::filesystem::path path = ResolveGamePath(game.Path(), GameFiles::ModelArchive);
    const ByteBuffer bytes = ReadWholeFile(path);
    std::string image(bytes.begin(), bytes.end());
    SwapEntryNames(image, "maverick.txd", "demo_props.txd");
    std::size_t used = image.size();
    while (used > 0 && image[used - 1] == '\0')
        --used;
    const std::uint64_t length = used + 100;
    if (length % 2048 == 0 || length >= image.size() || image.size() - length >= 2048)
        throw std::runtime_error("the demo archive's last sector leaves no room to cut");
    image.resize(length);
    ReplaceFileAtomically(path, std::string_view(image));
    return length;
}

} // namespace

TEST(CliShortArchive, ImportsOverTheLastEntryKeepEveryCommandWorkingAndUndoRestoresEveryByte)
{
    const TDemoGameDirectory game;
    const std::uint64_t shortLength = MakeArchiveShort(game);
    const TCliRun check = RunCli(WithGame(game, {"img", "check", "--json"}));
    EXPECT_NE(check.Out.find("\"short_tail\": 1"), std::string::npos) << check.Out;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string cheetah = ExportAll(game, "415");
    const std::string taxi = ExportAll(game, "420");

    ASSERT_EQ(RunCli(WithGame(game, {"import", cheetah, "--over", "487"})).ExitCode, 0);
    const TDirectorySnapshot afterFirst = SnapshotGameDirectory(game.Path());
    EXPECT_EQ(ArchiveEntry(game.Path(), "maverick.txd"), ArchiveEntry(game.Path(), "cheetah.txd"));
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"history"}, std::vector<std::string>{"list"}, std::vector<std::string>{"img", "check"}}) {
        const TCliRun run = RunCli(WithGame(game, command));
        EXPECT_EQ(run.ExitCode, 0) << command.front() << ": " << run.Err;
    }
    EXPECT_NE(RunCli(WithGame(game, {"history"})).Out.find("487 (maverick)"), std::string::npos);

    const TCliRun second = RunCli(WithGame(game, {"import", taxi, "--over", "487"}));
    ASSERT_EQ(second.ExitCode, 0) << second.Err;
    EXPECT_EQ(ArchiveEntry(game.Path(), "maverick.txd"), ArchiveEntry(game.Path(), "taxi.txd"));

    const TCliRun undoSecond = RunCli(WithGame(game, {"undo"}));
    ASSERT_EQ(undoSecond.ExitCode, 0) << undoSecond.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), afterFirst);
    const TCliRun undoFirst = RunCli(WithGame(game, {"undo"}));
    ASSERT_EQ(undoFirst.ExitCode, 0) << undoFirst.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    EXPECT_EQ(std::filesystem::file_size(ResolveGamePath(game.Path(), GameFiles::ModelArchive)), shortLength);
    EXPECT_EQ(RunCli(WithGame(game, {"list"})).ExitCode, 0);
}
