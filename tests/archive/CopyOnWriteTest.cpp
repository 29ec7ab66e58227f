// Where an import's data go: never over a byte the archive still needs,
// with the directory arranged so that the game reads every entry right.

#include "archive/ChainedReadOracle.h"
#include "support/ArchiveBuilder.h"

#include "archive/ArchiveLayout.h"
#include "archive/CopyOnWrite.h"
#include "archive/FreeRecords.h"
#include "fileio/Errors.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

constexpr std::uint64_t Sector = 2048;

// Names and sectors of a directory, free records shown as "free" (with their sectors).
std::vector<std::string> Shape(const TDIREntrys& entries)
{
    std::vector<std::string> shape;
    for (const TDIREntry& entry : entries)
        shape.push_back((IsFreeRecord(entry) ? std::string("free") : entry.Name) + " " + std::to_string(entry.Offset) +
                        "+" + std::to_string(entry.Size));
    return shape;
}

// Every entry of before that the plan keeps live lies where it lay, and no
// two live entries or free records share a sector.
void ExpectOldDataUntouched(const TDIREntrys& before, const TPlacement& plan)
{
    for (const TBlockCopy& move : plan.Moves)
        ADD_FAILURE() << "unexpected move of sector " << move.From;
    for (const TSectorRange& write : plan.Writes)
        for (const TDIREntry& old : before)
            EXPECT_TRUE(write.Offset >= old.Offset + old.Size || write.Offset + write.Size <= old.Offset)
                << "new data over " << old.Name;
    EXPECT_TRUE(AnalyseLayout(plan.Entries, plan.EndSector * Sector).OverlappingEntries.empty());
}

TEST(CopyOnWrite, ReplacedEntriesKeepTheirPlaceAndTheGameReadsEveryEntry)
{
    const TDIREntrys three = {{1, 1, "a.dff"}, {2, 1, "b.txd"}, {3, 1, "c.dff"}};
    const struct {
        const char* Name;
        TDIREntrys Entries;
        std::uint64_t FileSectors;
        std::vector<TEntryWrite> Writes;
        std::vector<std::string> Expected;
    } cases[] = {
        {"an entry in the middle", three, 4, {{"B.TXD", 3000}},
         {"a.dff 1+1", "free 2+1", "B.TXD 4+2", "free 4+0", "c.dff 3+1"}},
        {"the last entry", three, 4, {{"c.dff", 100}}, {"a.dff 1+1", "b.txd 2+1", "free 3+1", "c.dff 4+1"}},
        {"two neighbours, one after the other", three, 4, {{"a.dff", 5000}, {"b.txd", 10}},
         {"free 1+1", "a.dff 4+3", "free 4+0", "free 2+1", "b.txd 7+1", "free 7+0", "c.dff 3+1"}},
        {"a new name after an entry at the end", three, 4, {{"d.txd", 2048}},
         {"a.dff 1+1", "b.txd 2+1", "c.dff 3+1", "d.txd 4+1"}},
        {"a new name after trailing bytes", three, 6, {{"d.txd", 1}},
         {"a.dff 1+1", "b.txd 2+1", "c.dff 3+1", "free 6+0", "d.txd 6+1"}},
        {"the first entry of a duplicated name", {{1, 1, "a.dff"}, {2, 1, "b.txd"}, {3, 1, "A.DFF"}}, 4,
         {{"a.dff", 10}}, {"free 1+1", "a.dff 4+1", "free 4+0", "b.txd 2+1", "A.DFF 3+1"}},
        {"an empty model", three, 4, {{"b.txd", 0}}, {"a.dff 1+1", "free 2+1", "b.txd 4+0", "free 4+0", "c.dff 3+1"}},
        // The game skips the duplicate and links b.txd to the new entry.
        {"a new name after a skipped duplicate ending where it goes", {{1, 1, "a.dff"}, {2, 1, "b.txd"}, {5, 1, "A.DFF"}},
         6, {{"d.txd", 10}}, {"a.dff 1+1", "b.txd 2+1", "A.DFF 5+1", "free 6+0", "d.txd 6+1"}},
        {"a new name after skipped duplicates whose linked entry ends where it goes",
         {{2, 1, "a.dff"}, {3, 1, "b.txd"}, {1, 1, "A.DFF"}}, 4, {{"d.txd", 10}},
         {"a.dff 2+1", "b.txd 3+1", "A.DFF 1+1", "d.txd 4+1"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const std::uint64_t fileSize = test.FileSectors * Sector;
        const TPlacement plan = PlanCopyOnWrite(test.Entries, fileSize, test.Writes, {});
        EXPECT_EQ(Shape(plan.Entries), test.Expected);
        EXPECT_TRUE(AnalyseLayout(plan.Entries, plan.EndSector * Sector).ReadsCorrectly());
        ASSERT_EQ(plan.Writes.size(), test.Writes.size());
        ExpectOldDataUntouched(test.Entries, plan);
        // Every free record's name is its own.
        std::vector<std::string> names;
        for (const TDIREntry& entry : plan.Entries)
            if (IsFreeRecord(entry))
                names.push_back(entry.Name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    }
}

// The directory alone, as the game's chained read model parses it.
ByteBuffer DirectoryImage(const TDIREntrys& entries)
{
    std::vector<TTestEntry> listed;
    for (const TDIREntry& entry : entries)
        listed.push_back({entry.Name, entry.Offset, entry.Size});
    return TestDirectoryImage(listed);
}

TEST(CopyOnWrite, AnImportThatMendsOneMisreadPairMisreadsNoOther)
{
    // x.dff / y.dff are misread already; X.DFF is skipped and ends where new data go.
    const TDIREntrys entries = {{1, 1, "x.dff"}, {3, 1, "y.dff"}, {4, 1, "b.txd"}, {5, 1, "X.DFF"}};
    const std::vector<std::string> misreadBefore = ChainedReadOracle::MisreadEntries(DirectoryImage(entries));
    // The run is read from x.dff on: y.dff and the b.txd after it come from the wrong sectors.
    ASSERT_EQ(misreadBefore, (std::vector<std::string>{"y.dff", "b.txd"}));
    const struct {
        const char* Name;
        std::vector<TEntryWrite> Writes;
    } cases[] = {
        {"the new name first", {{"d.txd", 10}, {"y.dff", 10}}},
        {"the replaced entry first", {{"y.dff", 10}, {"d.txd", 10}}},
        {"a new name alone", {{"d.txd", 5000}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const TPlacement plan = PlanCopyOnWrite(entries, 6 * Sector, test.Writes, {});
        for (const std::string& name : ChainedReadOracle::MisreadEntries(DirectoryImage(plan.Entries)))
            EXPECT_NE(std::find(misreadBefore.begin(), misreadBefore.end(), name), misreadBefore.end())
                << name << " is misread by the new directory";
        EXPECT_TRUE(NewMisreadPairs(entries, plan.Entries).empty());
        ExpectOldDataUntouched(entries, plan);
    }
}

TEST(CopyOnWrite, FreeSectorsAreReusedSmallestFirstUnlessAnUndoStillNeedsThem)
{
    const TDIREntrys entries = {{1, 1, "a.dff"}, {2, 4, "vehmira-free-000007"}, {6, 2, "vehmira-free-000003"},
                                {8, 1, "b.txd"}};
    const std::vector<TEntryWrite> write = {{"a.dff", 3000}};

    const TPlacement reused = PlanCopyOnWrite(entries, 9 * Sector, write, {});
    EXPECT_EQ(reused.Writes.front().Offset, 6u);
    EXPECT_EQ(reused.EndSector, 9u);
    // The free record that follows breaks the chain already: no separator.
    EXPECT_EQ(Shape(reused.Entries),
              (std::vector<std::string>{"free 1+1", "a.dff 6+2", "free 2+4", "free 8+0", "b.txd 8+1"}));
    EXPECT_EQ(reused.Entries.front().Name, "vehmira-free-000008");

    const std::vector<TSectorRange> pinned = {{7, 1}};
    const TPlacement other = PlanCopyOnWrite(entries, 9 * Sector, write, pinned);
    EXPECT_EQ(other.Writes.front().Offset, 2u);

    const std::vector<TSectorRange> everything = {{0, std::numeric_limits<std::uint32_t>::max()}};
    const TPlacement appended = PlanCopyOnWrite(entries, 9 * Sector, write, everything);
    EXPECT_EQ(appended.Writes.front().Offset, 9u);
    EXPECT_EQ(appended.EndSector, 11u);
}

TEST(CopyOnWrite, FreeRecordsThatAnotherRecordOrEntryClaimsAreNeverReused)
{
    // The first record's sectors lie under b.txd; the second shares its name
    // but its sectors are truly free. Neither is trusted: new data go to the end.
    const TDIREntrys shared = {{1, 1, "a.dff"}, {2, 4, "b.txd"}, {3, 2, "vehmira-free-1"}, {6, 2, "vehmira-free-1"}};
    const TPlacement plan = PlanCopyOnWrite(shared, 8 * Sector, std::vector<TEntryWrite>{{"a.dff", 3000}}, {});
    EXPECT_EQ(plan.Writes.front().Offset, 8u);

    // Records numbered at the top of the range: new ones are never named like old ones.
    const TDIREntrys high = {{1, 1, "a.dff"}, {2, 1, "vehmira-free-4294967294"}, {3, 1, "vehmira-free-000001"}};
    const TPlacement numbered = PlanCopyOnWrite(high, 4 * Sector, std::vector<TEntryWrite>{{"a.dff", 10}}, {});
    EXPECT_EQ(numbered.Entries.front().Name, "vehmira-free-4294967295");
    const TDIREntrys highest = {{1, 1, "a.dff"}, {2, 1, "vehmira-free-4294967295"}};
    EXPECT_THROW(PlanCopyOnWrite(highest, 3 * Sector, std::vector<TEntryWrite>{{"a.dff", 10}}, {}), TVehmiraError);
}

TEST(CopyOnWrite, AFullDirectoryMovesItsFirstBlocksAwayAndKeepsTheChainRight)
{
    // 63 entries from sector 1: the directory's first sector is full.
    TDIREntrys entries;
    for (std::uint32_t i = 0; i < 63; ++i)
        entries.push_back({1 + i, 1, "e" + std::to_string(i) + ".dff"});
    const TPlacement plan = PlanCopyOnWrite(entries, 64 * Sector, std::vector<TEntryWrite>{{"e30.dff", 4000}}, {});
    ASSERT_FALSE(plan.Moves.empty());
    EXPECT_EQ(plan.Moves.front().From, 1u);
    EXPECT_GE(plan.Moves.front().To, 64u);
    const TArchiveLayout layout = AnalyseLayout(plan.Entries, plan.EndSector * Sector);
    EXPECT_TRUE(layout.ReadsCorrectly());
    EXPECT_TRUE(layout.OverlappingEntries.empty()) << "the grown directory overlaps no data";
    // The writes land after the moved blocks, never where the directory grows.
    for (const TSectorRange& write : plan.Writes)
        EXPECT_GE(write.Offset, plan.Moves.back().To + plan.Moves.back().Size);
}

TEST(CopyOnWrite, AnEntryMovedForTheDirectoryAndThenReplacedFreesNoSectorsOfTheOldArchive)
{
    // The first block is the one replaced; the new name makes the directory grow over it.
    TDIREntrys entries;
    for (std::uint32_t i = 0; i < 63; ++i)
        entries.push_back({1 + i, 1, "e" + std::to_string(i) + ".dff"});
    const std::vector<TEntryWrite> writes = {{"new.txd", 100}, {"e0.dff", 4000}};
    const TPlacement plan = PlanCopyOnWrite(entries, 64 * Sector, writes, {});
    ASSERT_FALSE(plan.Moves.empty());
    EXPECT_EQ(plan.Moves.front().From, 1u);
    // Its moved copy lies past the old end and goes with the undo; its old sector is directory now.
    for (const TSectorRange& freed : plan.Freed)
        EXPECT_LE(std::uint64_t(freed.Offset) + freed.Size, 64u) << "sector " << freed.Offset;
    EXPECT_TRUE(AnalyseLayout(plan.Entries, plan.EndSector * Sector).ReadsCorrectly());
}

TEST(CopyOnWrite, NewDataGoPastEveryEntryEvenWhenTheFileStopsShort)
{
    const TDIREntrys entries = {{1, 1, "a.dff"}, {2, 4, "b.txd"}};
    const TPlacement plan = PlanCopyOnWrite(entries, 3 * Sector, std::vector<TEntryWrite>{{"a.dff", 3000}}, {});
    EXPECT_EQ(plan.Writes.front().Offset, 6u);
}

TEST(CopyOnWrite, NamesTheGameCannotReadAreRefused)
{
    const TDIREntrys entries = {{1, 1, "a.dff"}};
    for (const std::string& name : {std::string("cheetahcheetahcheetah.DFF"), std::string("abcdefghijklmnopqrst.dff"),
                                    std::string("a\0b.dff", 7), std::string(), std::string("vehmira-free-000001")}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(PlanCopyOnWrite(entries, 2 * Sector, std::vector<TEntryWrite>{{name, 10}}, {}), TVehmiraError);
    }
    EXPECT_NO_THROW(PlanCopyOnWrite(entries, 2 * Sector, std::vector<TEntryWrite>{{"abcdefghijklmnopqrs.dff", 10}}, {}));
    // Written under a free record's name, a second write of the same import would take the first one's sectors.
    const TDIREntrys withFree = {{1, 1, "a.dff"}, {2, 1, "vehmira-free-000001"}};
    EXPECT_THROW(PlanCopyOnWrite(withFree, 3 * Sector,
                                 std::vector<TEntryWrite>{{"vehmira-free-000001", 10}, {"a.dff", 10}}, {}),
                 TVehmiraError);
}

} // namespace
