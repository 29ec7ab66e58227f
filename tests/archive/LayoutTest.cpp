#include "archive/ChainedReadOracle.h"
#include "archive/LayoutCases.h"

#include "archive/ArchiveLayout.h"
#include "fileio/Errors.h"
#include "fileio/FileStream.h"
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
        TDIRFile directory;
        TFileStream stream(path, TFileAccess::Read);
        directory.LoadFromStream(stream, false);
        EXPECT_EQ(CountMisreadPairs(directory.Entries), c.MisreadPairs);
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

TEST(ArchiveLayoutTest, NewMisreadPairsAreTheOnesNotMisreadBefore)
{
    const TDIREntrys apart = {{1, 1, "x.dff"}, {3, 1, "y.dff"}, {4, 1, "b.txd"}};
    const struct {
        const char* Name;
        TDIREntrys After;
        std::vector<std::string> Expected; // "first / second"
    } cases[] = {
        {"nothing changed", apart, {}},
        {"the same pair misread elsewhere, names in other case",
         {{1, 1, "x.dff"}, {0, 0, "vehmira-free-000001"}, {9, 1, "X.DFF"}, {3, 1, "Y.DFF"}, {4, 1, "b.txd"}}, {}},
        {"one pair mended, another misread: the count stays, the pair is new",
         {{1, 1, "x.dff"}, {2, 1, "y.dff"}, {5, 1, "b.txd"}}, {"y.dff / b.txd"}},
        {"a pair across a skipped duplicate",
         {{1, 1, "x.dff"}, {3, 1, "y.dff"}, {4, 1, "b.txd"}, {5, 1, "X.DFF"}, {6, 1, "d.txd"}}, {"b.txd / d.txd"}},
        {"a separator breaks the chain", {{1, 1, "x.dff"}, {3, 1, "y.dff"}, {4, 1, "b.txd"}, {6, 0, "vehmira-free-000002"},
                                           {6, 1, "d.txd"}}, {}},
        {"linked in another order", {{4, 1, "b.txd"}, {3, 1, "y.dff"}, {1, 1, "x.dff"}}, {"b.txd / y.dff", "y.dff / x.dff"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        std::vector<std::string> pairs;
        for (const TMisreadPair& pair : NewMisreadPairs(apart, test.After)) {
            EXPECT_EQ(pair.FirstName, test.After[pair.First].Name);
            EXPECT_EQ(pair.SecondName, test.After[pair.Second].Name);
            pairs.push_back(pair.FirstName + " / " + pair.SecondName);
        }
        EXPECT_EQ(pairs, test.Expected);
    }
}

TEST(ArchiveLayoutTest, TheEntryLinkedToTheEndPassesOverSkippedDuplicatesOnly)
{
    const struct {
        const char* Name;
        TDIREntrys Entries;
        std::optional<std::size_t> Expected;
    } cases[] = {
        {"empty", {}, std::nullopt},
        {"a streamed entry last", {{1, 1, "a.dff"}, {2, 1, "b.txd"}}, 1},
        {"skipped duplicates last", {{1, 1, "a.dff"}, {2, 1, "b.txd"}, {3, 1, "A.DFF"}, {4, 1, "b.TXD"}}, 1},
        {"a free record last", {{1, 1, "a.dff"}, {2, 0, "vehmira-free-000001"}}, std::nullopt},
        {"a breaking entry before a duplicate", {{1, 1, "a.dff"}, {2, 1, "readme"}, {3, 1, "a.dff"}}, std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(EntryLinkedToTheEnd(test.Entries), test.Expected) << test.Name;
}

TEST(ArchiveLayoutTest, TheReaderAndTheCheckRoundALengthToSectorsAlike)
{
    const struct {
        std::uint64_t Length;
        std::uint64_t Rounded;
    } lengths[] = {
        {0, 0}, {1, 2048}, {2047, 2048}, {2048, 2048}, {2049, 4096},
        {UINT64_MAX - 2047, UINT64_MAX - 2047}, {UINT64_MAX - 2048, UINT64_MAX - 2047}, {UINT64_MAX, UINT64_MAX},
    };
    for (const auto& length : lengths)
        EXPECT_EQ(SectorRoundedLength(length.Length), length.Rounded) << length.Length;
    // An entry the reader accepts is never one the check reports past the end, and the other way round.
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", {{"a.dff", 1, 1}, {"b.txd", 2, 2}});
    for (const std::uint64_t length : {3 * 2048, 3 * 2048 + 1, 4 * 2048 - 1, 4 * 2048}) {
        SCOPED_TRACE(length);
        std::filesystem::resize_file(path, length);
        TFileStream stream(path, TFileAccess::Read);
        TDIRFile directory;
        bool accepted = true;
        try {
            directory.LoadFromStream(stream);
        } catch (const TVehmiraError&) {
            accepted = false;
        }
        EXPECT_EQ(accepted, AnalyseLayout(stream).PastEndEntries.empty());
        EXPECT_EQ(accepted, length > 3 * 2048);
    }
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

TEST(ArchiveLayoutTest, OverlapsAndHolesOfScatteredBlocksMatchAPairwiseCount)
{
    // Offsets spread over all four bytes, so that every pass of the ordering
    // by offset matters; sizes small enough for some blocks to overlap.
    std::uint64_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return std::uint32_t(seed >> 33);
    };
    for (int round = 0; round < 50; ++round) {
        TDIREntrys entries;
        const std::uint32_t spread = round % 2 ? 0x7FFFFFFFu : 4000u;
        for (int i = 0; i < 200; ++i)
            entries.push_back({1000 + next() % spread, next() % 40, NumberedName("m", std::uint32_t(i), ".dff")});
        const TArchiveLayout layout = AnalyseLayout(entries, 5000ull * 2048);
        std::vector<std::size_t> overlapping;
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::size_t j = 0; j < entries.size(); ++j)
                if (i != j && entries[i].Size && entries[j].Size && entries[i].Offset < entries[j].Offset + entries[j].Size &&
                    entries[j].Offset < entries[i].Offset + entries[i].Size) {
                    overlapping.push_back(i);
                    break;
                }
        EXPECT_EQ(layout.OverlappingEntries, overlapping) << "round " << round;
        if (spread > 4000)
            continue; // the holes below are counted sector by sector inside the file
        std::uint64_t used = 0; // sectors of the file inside some block, from the lowest block on
        std::uint32_t lowest = UINT32_MAX;
        for (const TDIREntry& entry : entries)
            if (entry.Size)
                lowest = std::min(lowest, entry.Offset);
        for (std::uint64_t sector = lowest; sector < 5000; ++sector)
            for (const TDIREntry& entry : entries)
                if (entry.Size && sector >= entry.Offset && sector < std::uint64_t(entry.Offset) + entry.Size) {
                    ++used;
                    break;
                }
        std::uint64_t highestEnd = 0;
        for (const TDIREntry& entry : entries)
            if (entry.Size)
                highestEnd = std::max(highestEnd, std::uint64_t(entry.Offset) + entry.Size);
        EXPECT_EQ(layout.HoleBytes, (std::min<std::uint64_t>(highestEnd, 5000) - lowest - used) * 2048) << "round " << round;
    }
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
