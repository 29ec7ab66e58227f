// `vehmira img check` and `vehmira img rebuild`, run in-process: the figures
// and exit codes of the check, a rebuild that makes the game read every
// entry, and refusals that leave the archive's bytes as they were.

#include "cli/CliTestSupport.h"
#include "archive/ChainedReadOracle.h"
#include "support/ArchiveBuilder.h"

#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;

namespace {

struct TEntryBytes {
    std::string Name;
    ByteBuffer Bytes;
    bool operator==(const TEntryBytes&) const = default;
};

// Every entry's name and own bytes, in directory order, as the oracle reads them.
std::vector<TEntryBytes> EntriesOf(const ByteBuffer& image)
{
    std::vector<TEntryBytes> entries;
    for (const ChainedReadOracle::TEntry& entry : ChainedReadOracle::ParseDirectory(image))
        entries.push_back({entry.Name, ChainedReadOracle::OwnBytes(image, entry)});
    return entries;
}

class TArchiveFile {
public:
    TArchiveFile(const std::vector<TTestEntry>& entries, std::uint64_t fileSize = 0)
        : Path(WriteTestArchive(Temp.Path() / "test.img", entries, fileSize))
    {
    }
    std::string Argument() const { return PathToUtf8(Path); }
    ByteBuffer Bytes() const { return ReadWholeFile(Path); }

    TTempDir Temp;
    std::filesystem::path Path;
};

TEST(CliArchive, CheckFindsTheMisreadPairAndRebuildMendsIt)
{
    // A hole at sector 4 leaves a.dff and b.txd apart; c.dff follows b.txd.
    const TArchiveFile archive({{"a.dff", 2, 2}, {"b.txd", 5, 1}, {"c.dff", 6, 2}});
    const std::vector<TEntryBytes> entriesBefore = EntriesOf(archive.Bytes());

    const TCliRun check = RunCli({"img", "check", archive.Argument(), "--json"});
    EXPECT_EQ(check.ExitCode, 3) << check.Err;
    EXPECT_EQ(check.Out, "{\"entries\": 3, \"pairs\": 2, \"misread_pairs\": 1, \"hole_bytes\": 2048, \"overlaps\": 0, "
                         "\"past_end\": 0, \"duplicates\": 0, \"unterminated_names\": 0, \"short_tail\": 0, "
                         "\"free_records\": 0, \"free_bytes\": 0}\n");
    EXPECT_FALSE(ChainedReadOracle::MisreadEntries(archive.Bytes()).empty());

    const TCliRun text = RunCli({"img", "check", archive.Argument()});
    EXPECT_EQ(text.ExitCode, 3);
    EXPECT_NE(text.Out.find("misread pairs:        1 (a.dff / b.txd)"), std::string::npos) << text.Out;

    const TCliRun rebuild = RunCli({"img", "rebuild", archive.Argument()});
    EXPECT_EQ(rebuild.ExitCode, 0) << rebuild.Err;
    EXPECT_NE(rebuild.Out.find("Rebuilt"), std::string::npos) << rebuild.Out;
    EXPECT_EQ(rebuild.Err, "") << "no progress on a stream that is not a terminal";
    const ByteBuffer rebuilt = archive.Bytes();
    EXPECT_EQ(ChainedReadOracle::MisreadEntries(rebuilt), std::vector<std::string>{});
    EXPECT_EQ(EntriesOf(rebuilt), entriesBefore);

    const TCliRun again = RunCli({"img", "check", archive.Argument(), "--json"});
    EXPECT_EQ(again.ExitCode, 0) << again.Out;
    EXPECT_NE(again.Out.find("\"misread_pairs\": 0, \"hole_bytes\": 0"), std::string::npos) << again.Out;

    // A sound archive is left alone.
    const TCliRun nothing = RunCli({"img", "rebuild", archive.Argument()});
    EXPECT_EQ(nothing.ExitCode, 0);
    EXPECT_NE(nothing.Out.find("needs no rebuild"), std::string::npos) << nothing.Out;
    EXPECT_EQ(archive.Bytes(), rebuilt);
}

TEST(CliArchive, DamagedArchivesAreRefusedAndKeepTheirBytes)
{
    const struct {
        const char* Name;
        std::vector<TTestEntry> Entries;
        std::uint64_t FileSize;
        int CheckExit;
    } cases[] = {
        {"overlapping entries", {{"a.dff", 2, 2}, {"b.txd", 3, 2}}, 0, 3},
        {"an entry past the end", {{"a.dff", 2, 1}, {"b.txd", 3, 1}, {"c.dff", 900, 4}}, 4 * 2048, 3},
        {"back to back, but the last entry past the end", {{"a.dff", 2, 1}, {"b.txd", 3, 4}}, 4 * 2048, 3},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TArchiveFile archive(test.Entries);
        if (test.FileSize != 0)
            std::filesystem::resize_file(archive.Path, test.FileSize);
        const ByteBuffer before = archive.Bytes();
        EXPECT_EQ(RunCli({"img", "check", archive.Argument()}).ExitCode, test.CheckExit);
        const TCliRun rebuild = RunCli({"img", "rebuild", archive.Argument()});
        EXPECT_EQ(rebuild.ExitCode, 1);
        EXPECT_EQ(rebuild.Err.rfind("vehmira: ", 0), 0u) << rebuild.Err;
        EXPECT_NE(rebuild.Err.find("Cannot rebuild the archive"), std::string::npos) << rebuild.Err;
        EXPECT_EQ(rebuild.Out.find("needs no rebuild"), std::string::npos) << rebuild.Out;
        EXPECT_EQ(archive.Bytes(), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(archive.Temp.Path()),
                                std::filesystem::directory_iterator()),
                  1)
            << "no temporary left beside the archive";
    }
}

TEST(CliArchive, AnArchiveThatCannotBeReadCannotBeChecked)
{
    TTempDir temp;
    const std::filesystem::path cut = temp.Path() / "cut.img";
    ReplaceFileAtomically(cut, ByteBuffer{'V', 'E', 'R', '2', 0xFF, 0xFF, 0, 0, 'a'});
    for (const std::string& path : {PathToUtf8(cut), PathToUtf8(temp.Path() / "missing.img")}) {
        SCOPED_TRACE(path);
        const TCliRun check = RunCli({"img", "check", path, "--json"});
        EXPECT_EQ(check.ExitCode, 1);
        EXPECT_EQ(check.Out, "");
        EXPECT_EQ(RunCli({"img", "rebuild", path}).ExitCode, 1);
    }
    EXPECT_EQ(ReadWholeFile(cut), (ByteBuffer{'V', 'E', 'R', '2', 0xFF, 0xFF, 0, 0, 'a'}));
    for (const std::vector<std::string>& usage :
         {std::vector<std::string>{"img"}, {"img", "check", "a.img", "b.img"}, {"img", "rebuild", "--json"}})
        EXPECT_EQ(RunCli(usage).ExitCode, 2) << testing::PrintToString(usage);
}

TEST(CliArchive, TheGamesArchiveIsTheDefault)
{
    const TDemoGameDirectory game;
    const TCliRun check = RunCli({"--game", game.Game(), "img", "check", "--json"});
    ASSERT_TRUE(check.ExitCode == 0 || check.ExitCode == 3) << check.Err;
    const TCliRun rebuild = RunCli({"--game", game.Game(), "img", "rebuild"});
    EXPECT_EQ(rebuild.ExitCode, 0) << rebuild.Err;
    const TCliRun after = RunCli({"--game", game.Game(), "img", "check", "--json"});
    EXPECT_EQ(after.ExitCode, 0) << after.Out;
    EXPECT_NE(after.Out.find("\"misread_pairs\": 0"), std::string::npos) << after.Out;
    const TCliRun list = RunCli({"--game", game.Game(), "list"});
    EXPECT_EQ(list.ExitCode, 0) << list.Err;
}

} // namespace
