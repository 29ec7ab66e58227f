#include "support/ArchiveBuilder.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

// 63 entries with data from sector 1 on: the directory is full (FreeSlots 0).
// The first three entries are given; the others follow one sector each.
std::vector<TTestEntry> FullArchive(std::vector<TTestEntry> first)
{
    std::uint32_t next = 1;
    for (const TTestEntry& entry : first)
        next = std::max(next, entry.Offset + entry.Size);
    while (first.size() < 63)
        first.push_back({NumberedName("e", first.size(), ".dff"), next++, 1});
    return first;
}

std::map<std::string, ByteBuffer> AllEntryData(TIMGFile& archive)
{
    std::map<std::string, ByteBuffer> data;
    for (const TDIREntry& entry : archive.Directory.Entries)
        data[entry.Name] = Extract(archive, entry.Name);
    return data;
}

bool SameDirectory(const TDIREntrys& a, const TDIREntrys& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TDIREntry& x, const TDIREntry& y) {
        return x.Offset == y.Offset && x.Size == y.Size && x.Name == y.Name;
    });
}

// A source whose reads fail once they pass a given position.
class TFailingSource : public TMemoryStream {
public:
    TFailingSource(ByteBuffer bytes, std::uint64_t failFrom) : TMemoryStream(std::move(bytes)), FailFrom(failFrom) {}
    void Read(std::span<std::uint8_t> buffer) override
    {
        if (Position() + buffer.size() > FailFrom)
            throw TVehmiraError("read error");
        TMemoryStream::Read(buffer);
    }

private:
    std::uint64_t FailFrom;
};

struct GrowthTest : ::testing::Test {
    TTempDir Dir;
    TIMGFile Archive;
    std::filesystem::path Path = Dir / "GTA3.img";

    void Reopen()
    {
        Archive.Close();
        Archive.Open(Path);
    }
};

TEST_F(GrowthTest, AddingToAFullDirectoryMovesBlocksUntilItFits)
{
    struct TCase {
        const char* Label;
        std::vector<TTestEntry> Entries;
        std::uint32_t FirstSectorAfter;
        std::int32_t FreeSlotsAfter;
        std::uint64_t AtRisk; // never past the end of the file
    };
    std::vector<TTestEntry> allEmpty;
    for (int i = 0; i < 63; ++i)
        allEmpty.push_back({NumberedName("z", std::size_t(i)), 1, 0});
    const TCase cases[] = {
        {"first block of 2 sectors", FullArchive({{"first.dff", 1, 2}}), 3, 64 * 2 - 1, 3 * 2048},
        {"Size 0 and shared sectors", FullArchive({{"empty.dff", 1, 0}, {"one.dff", 1, 1}, {"two.dff", 1, 2}}), 3, 127, 3 * 2048},
        {"only blocks of Size 0", allEmpty, 2, 63, 2048},
    };
    for (const TCase& c : cases) {
        Archive.Open(WriteTestArchive(Path, c.Entries));
        ASSERT_EQ(Archive.Directory.FreeSlots, 0) << c.Label;
        const auto before = AllEntryData(Archive);
        const std::uint64_t atRisk = Archive.HeadBytesAtRisk(1);

        TMemoryStream source(ByteBuffer(10, 'n'));
        ASSERT_NO_THROW(Archive.AddStream(source, 0, 10, "new.dff")) << c.Label;
        EXPECT_EQ(Archive.FirstDataSector(), c.FirstSectorAfter) << c.Label;
        EXPECT_EQ(Archive.Directory.FreeSlots, c.FreeSlotsAfter) << c.Label;
        EXPECT_EQ(atRisk, c.AtRisk) << c.Label;
        const std::uint64_t directoryEnd = 8 + 32 * Archive.Directory.Entries.size();
        for (const TDIREntry& entry : Archive.Directory.Entries)
            EXPECT_GE(std::uint64_t(entry.Offset) * 2048, directoryEnd) << c.Label << ": " << entry.Name;

        const TDIREntrys inMemory = Archive.Directory.Entries;
        Reopen();
        EXPECT_TRUE(SameDirectory(Archive.Directory.Entries, inMemory)) << c.Label;
        EXPECT_EQ(Archive.Directory.FreeSlots, c.FreeSlotsAfter) << c.Label;
        auto after = AllEntryData(Archive);
        const ByteBuffer added = ZeroFilled(ByteBuffer(10, 'n'), 2048);
        EXPECT_EQ(after["new.dff"], added) << c.Label;
        after.erase("new.dff");
        EXPECT_EQ(after, before) << c.Label;
        Archive.Close();
    }
}

TEST_F(GrowthTest, HeadBytesAtRiskCoverEveryBlockThatWouldMove)
{
    Archive.Open(WriteTestArchive(Path, FullArchive({{"a.dff", 1, 1}, {"b.dff", 2, 1}})));
    EXPECT_EQ(Archive.HeadBytesAtRisk(0), 2048u);
    EXPECT_EQ(Archive.HeadBytesAtRisk(1), 2u * 2048);
    EXPECT_EQ(Archive.HeadBytesAtRisk(2), 2u * 2048); // one moved sector holds 64 more entries
    Archive.GrowDirectory();
    EXPECT_EQ(Archive.Directory.FreeSlots, 64);
    Reopen();
    EXPECT_EQ(Archive.Directory.FreeSlots, 64);
    EXPECT_EQ(Archive.HeadBytesAtRisk(2), 2u * 2048);
}

TEST_F(GrowthTest, AFailedAddLeavesTheDirectoryOnDiskAndInMemoryAsItWas)
{
    struct TCase {
        const char* Label;
        bool Full; // the add has to grow the directory first
        std::uint64_t SourceSize;
        std::uint64_t FailFrom;
    };
    const std::uint64_t count = 3 << 20; // several copy chunks
    const TCase cases[] = {
        {"source shorter than the count", false, count - 1, count},
        {"read fails in the second chunk", false, count, 1 << 20},
        {"read fails after growing", true, count, 1 << 20},
    };
    for (const TCase& c : cases) {
        Archive.Open(WriteTestArchive(Path, c.Full ? FullArchive({}) : std::vector<TTestEntry>{{"a.dff", 1, 1}}));
        const ByteBuffer before = ArchiveBytes(Archive);
        const TDIREntrys entries = Archive.Directory.Entries;
        const std::int32_t freeSlots = Archive.Directory.FreeSlots;
        TFailingSource source(ByteBuffer(c.SourceSize, 's'), c.FailFrom);
        EXPECT_THROW(Archive.AddStream(source, 0, count, "new.dff"), TVehmiraError) << c.Label;

        const ByteBuffer after = ArchiveBytes(Archive);
        ASSERT_GE(after.size(), before.size()) << c.Label;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin())) << c.Label;
        EXPECT_TRUE(SameDirectory(Archive.Directory.Entries, entries)) << c.Label;
        EXPECT_EQ(Archive.Directory.FreeSlots, freeSlots) << c.Label;
        Reopen();
        EXPECT_TRUE(SameDirectory(Archive.Directory.Entries, entries)) << c.Label;
        Archive.Close();
    }
}

TEST_F(GrowthTest, AFailingWriteAtAnyStepKeepsTheArchiveConsistent)
{
    for (int failing = 1;; ++failing) {
        Archive.Open(WriteTestArchive(Path, FullArchive({{"first.dff", 1, 2}})));
        const ByteBuffer before = ArchiveBytes(Archive);
        const auto data = AllEntryData(Archive);
        FaultInjection::FailAtOperation(failing);
        bool added = false;
        try {
            TMemoryStream source(ByteBuffer(3000, 'n'));
            Archive.AddStream(source, 0, 3000, "new.dff");
            added = true;
        } catch (const TVehmiraError&) {
        }
        const int seen = FaultInjection::OperationsSeen();
        FaultInjection::FailAtOperation(0);
        const std::size_t expectedCount = added ? 64 : 63;
        EXPECT_EQ(Archive.Directory.Entries.size(), expectedCount) << failing;
        const ByteBuffer after = ArchiveBytes(Archive);
        if (!added) {
            EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin())) << failing;
        }
        Reopen();
        EXPECT_EQ(Archive.Directory.Entries.size(), expectedCount) << failing;
        auto now = AllEntryData(Archive);
        now.erase("new.dff");
        EXPECT_EQ(now, data) << failing;
        Archive.Close();
        if (seen < failing) {
            EXPECT_TRUE(added);
            break;
        }
    }
}

TEST_F(GrowthTest, PositionsBeyond4GiBDoNotWrap)
{
    const std::uint32_t far = 0x200001; // byte 4 GiB + 2048
    Archive.Open(WriteTestArchive(Path, {{"a.dff", 1, 1}, {"far.dff", far, 1}}));
    EXPECT_EQ(Extract(Archive, "far.dff"), TestEntryData({"far.dff", far, 1}));
    TMemoryStream source(ByteBuffer(10, 'n'));
    ASSERT_NO_THROW(Archive.AddStream(source, 0, 10, "new.dff"));
    EXPECT_EQ(Archive.Directory.Entries[2].Offset, far + 1);
    Reopen();
    const ByteBuffer added = ZeroFilled(ByteBuffer(10, 'n'), 2048);
    EXPECT_EQ(Extract(Archive, "new.dff"), added);
}

} // namespace
