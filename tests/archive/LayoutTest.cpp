#include "archive/ChainedReadOracle.h"
#include "archive/LayoutCases.h"

#include "archive/ArchiveLayout.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

TEST(ArchiveLayoutTest, AgreesWithTheGamesChainedRead)
{
    TTempDir dir;
    for (const TLayoutCase& c : LayoutCases()) {
        SCOPED_TRACE(c.Label);
        const auto path = WriteLayoutCase(dir / "GTA3.img", c);
        const ByteBuffer image = ReadWholeFile(path);
        EXPECT_EQ(ChainedReadOracle::MisreadEntries(image), c.MisreadByGame);

        const TArchiveLayout layout = AnalyseLayout(path);
        EXPECT_EQ(layout.EntryCount, c.Entries.size());
        EXPECT_EQ(layout.FileSize, image.size());
        EXPECT_EQ(layout.ReadsCorrectly(), ChainedReadOracle::MisreadEntries(image).empty());
        EXPECT_EQ(layout.ChainPairs, c.ChainPairs);
        EXPECT_EQ(layout.MisreadPairs.size(), c.MisreadPairs);
        EXPECT_EQ(layout.HoleBytes, c.HoleBytes);
        EXPECT_EQ(layout.OverlappingEntries.size(), c.Overlapping);
        EXPECT_EQ(layout.PastEndEntries.size(), c.PastEnd);
        EXPECT_EQ(layout.ShortTailEntries.size(), c.ShortTail);
        EXPECT_EQ(layout.DuplicateNames.size(), c.Duplicates);
        EXPECT_EQ(layout.UnterminatedNames.size(), c.Unterminated);
        EXPECT_EQ(layout.FreeRecords, c.FreeRecords);
        EXPECT_EQ(layout.FreeBytes, c.FreeBytes);
        EXPECT_EQ(layout.CanRebuild(), c.Overlapping == 0 && c.PastEnd == 0);
        // The first misread entry of every run is the second of a pair apart.
        for (const TMisreadPair& pair : layout.MisreadPairs) {
            EXPECT_LT(pair.First, pair.Second);
            EXPECT_EQ(pair.FirstName, c.Entries[pair.First].Name);
            EXPECT_EQ(pair.SecondName, c.Entries[pair.Second].Name);
            EXPECT_NE(std::find(c.MisreadByGame.begin(), c.MisreadByGame.end(), pair.SecondName), c.MisreadByGame.end());
        }
    }
}

TEST(ArchiveLayoutTest, ReportsBlocksInTheDirectoryShortTailsAndNamesPairs)
{
    const TDIREntrys entries = {{0, 1, "a.dff"}, {5, 1, "b.txd"}, {1, 0, "c.dff"}, {7, 1, "d.dff"}};
    const TArchiveLayout layout = AnalyseLayout(entries, 7 * 2048 + 1);
    EXPECT_EQ(layout.OverlappingEntries, std::vector<std::size_t>{0});
    EXPECT_EQ(layout.ShortTailEntries, std::vector<std::size_t>{3});
    EXPECT_EQ(layout.ShortTailBytes, 2047u);
    EXPECT_TRUE(layout.PastEndEntries.empty());
    EXPECT_EQ(layout.HoleBytes, 4u * 2048 + 1 * 2048);
    EXPECT_EQ(DescribeMisreadPairs(layout, 2), "a.dff / b.txd, b.txd / c.dff and 1 more");
    EXPECT_EQ(AnalyseLayout(entries, 7 * 2048).PastEndEntries, std::vector<std::size_t>{3});
}

TEST(ArchiveLayoutTest, HolesCountOnlyUnusedBytesInsideTheFile)
{
    // The second block starts far past the end: only the file's last sector lies unused.
    const TDIREntrys entries = {{1, 1, "a.dff"}, {900, 1, "b.dff"}};
    const TArchiveLayout layout = AnalyseLayout(entries, 3 * 2048);
    EXPECT_EQ(layout.HoleBytes, 2048u);
    EXPECT_EQ(layout.PastEndEntries, std::vector<std::size_t>{1});
    EXPECT_EQ(AnalyseLayout(entries, 1000 * 2048).HoleBytes, 898u * 2048);
}

TEST(ArchiveLayoutTest, ChecksSixteenThousandShuffledEntries)
{
    TDIREntrys entries;
    for (std::uint32_t i = 0; i < 16000; ++i)
        entries.push_back({(i * 7919u) % 16000u * 3 + 300, 3, NumberedName("model", i, i % 3 ? ".dff" : ".txd")});
    // The benchmark holds the speed; here the counts over a large shuffled directory.
    const TArchiveLayout layout = AnalyseLayout(entries, 60000ull * 2048);
    EXPECT_EQ(layout.ChainPairs, 15999u);
    EXPECT_TRUE(layout.OverlappingEntries.empty());
}

TEST(ArchiveLayoutTest, AShortTailOpensAndReadsAsZerosButPastTheEndIsRefused)
{
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", {{"a.dff", 1, 1}, {"b.txd", 2, 2}});
    std::filesystem::resize_file(path, 4 * 2048 - 1000);
    TIMGFile archive;
    archive.Open(path);
    ByteBuffer expected = TestEntryData({"b.txd", 2, 2});
    std::fill(expected.end() - 1000, expected.end(), std::uint8_t(0));
    EXPECT_EQ(Extract(archive, "b.txd"), expected);
    archive.Close();

    std::filesystem::resize_file(path, 3 * 2048);
    EXPECT_THROW(archive.Open(path), TVehmiraError);
    const TArchiveLayout layout = AnalyseLayout(path);
    EXPECT_EQ(layout.PastEndEntries, std::vector<std::size_t>{1});
    EXPECT_TRUE(layout.ShortTailEntries.empty());
}

} // namespace
