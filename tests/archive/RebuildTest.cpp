#include "archive/ChainedReadOracle.h"
#include "archive/LayoutCases.h"

#include "archive/ArchiveRebuild.h"
#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

namespace Oracle = ChainedReadOracle;

struct TEntryCopy {
    std::string Name;
    std::uint32_t Size;
    ByteBuffer Bytes;
};

std::vector<TEntryCopy> EntryCopies(const ByteBuffer& image)
{
    std::vector<TEntryCopy> copies;
    for (const Oracle::TEntry& entry : Oracle::ParseDirectory(image))
        copies.push_back({entry.Name, entry.Size, Oracle::OwnBytes(image, entry)});
    return copies;
}

// The rebuilt image holds every entry of before but its free records, byte
// for byte and in order, back to back from the first sector after a directory
// with 64 spare slots (the data of later duplicates after all the others),
// and the game reads every run as the directory says.
void ExpectRebuiltFrom(const ByteBuffer& before, const ByteBuffer& after)
{
    std::vector<TEntryCopy> old = EntryCopies(before);
    std::erase_if(old, [](const TEntryCopy& entry) { return entry.Name.starts_with("vehmira-free-"); });
    const std::vector<Oracle::TEntry> entries = Oracle::ParseDirectory(after);
    ASSERT_EQ(entries.size(), old.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 4, after.begin())) << "tag";
    std::uint64_t next = (8 + (entries.size() + 64) * 32 + 2047) / 2048;
    const std::vector<ByteBuffer> gameReads = Oracle::RunReadBytes(after);
    const std::vector<bool> skipped = Oracle::SkippedDuplicates(entries);
    for (const bool duplicates : {false, true}) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (skipped[i] != duplicates)
                continue;
            EXPECT_EQ(entries[i].Name, old[i].Name);
            EXPECT_EQ(entries[i].Size, old[i].Size) << old[i].Name;
            EXPECT_EQ(entries[i].Offset, next) << old[i].Name;
            EXPECT_EQ(gameReads[i], old[i].Bytes) << old[i].Name;
            next += entries[i].Size;
        }
    }
    EXPECT_EQ(after.size(), next * 2048);
    EXPECT_TRUE(Oracle::MisreadEntries(after).empty());
}

std::vector<std::string> Leftovers(const TTempDir& dir)
{
    std::vector<std::string> names = dir.List();
    std::erase(names, "GTA3.img");
    return names;
}

TEST(ArchiveRebuildTest, KeepsEveryEntryAndRemovesEveryMisread)
{
    TTempDir dir;
    for (const TLayoutCase& c : LayoutCases()) {
        if (c.Overlapping != 0 || c.PastEnd != 0)
            continue;
        SCOPED_TRACE(c.Label);
        const auto path = WriteLayoutCase(dir / "GTA3.img", c);
        const ByteBuffer before = ReadWholeFile(path);
        const TRebuildResult result = RebuildArchiveFile(path);
        const ByteBuffer after = ReadWholeFile(path);
        ExpectRebuiltFrom(before, after);
        EXPECT_EQ(result.FileLength, after.size());
        EXPECT_EQ(result.File.filename().string().find("GTA3.img.vehmira-tmp-"), 0u);
        EXPECT_TRUE(Leftovers(dir).empty());
        TIMGFile archive;
        archive.Open(path);
        // An empty directory counts its room from sector 1, whatever the file holds.
        EXPECT_GE(archive.Directory.FreeSlots, c.Entries.empty() ? 63 : 64);
    }
}

TEST(ArchiveRebuildTest, RefusesADamagedArchiveAndLeavesItUntouched)
{
    TTempDir dir;
    for (const TLayoutCase& c : LayoutCases()) {
        if (c.Overlapping == 0 && c.PastEnd == 0)
            continue;
        SCOPED_TRACE(c.Label);
        const auto path = WriteLayoutCase(dir / "GTA3.img", c);
        const ByteBuffer before = ReadWholeFile(path);
        try {
            RebuildArchiveFile(path);
            ADD_FAILURE() << "no error";
        } catch (const TVehmiraError& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find(c.PastEnd ? "past the end" : "shares its sectors"), std::string::npos) << text;
            EXPECT_NE(text.find(c.PastEnd ? "\"b.txd\"" : "\"a.dff\""), std::string::npos) << text;
        }
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_TRUE(Leftovers(dir).empty());
    }
}

TEST(ArchiveRebuildTest, AnOpenArchiveIsRebuiltAndOpenAgain)
{
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", {{"b.txd", 5, 2}, {"a.dff", 1, 1}, {"note.txt", 3, 1}});
    const ByteBuffer before = ReadWholeFile(path);
    TIMGFile archive;
    archive.Open(path);
    RebuildOpenArchive(archive);
    ASSERT_TRUE(archive.IsOpen());
    EXPECT_EQ(archive.Directory.Entries[0].Offset, 2u);
    EXPECT_EQ(Extract(archive, "a.dff"), TestEntryData({"a.dff", 1, 1}));
    archive.Close();
    ExpectRebuiltFrom(before, ReadWholeFile(path));
}

TEST(ArchiveRebuildTest, ReplacementDataTakeTheEntrysPlace)
{
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", {{"a.dff", 1, 1}, {"b.txd", 2, 1}, {"c.dff", 3, 1}});
    TIMGFile archive;
    archive.Open(path);
    std::vector<TRebuildEntry> entries = KeepEveryEntry(archive.Directory.Entries);
    TMemoryStream bigger(ByteBuffer(5000, 'r'));
    entries[1].Replacement = &bigger;
    entries[1].ReplacementCount = 5000;
    entries[1].Size = 3;
    const TRebuildResult result = WriteRebuiltArchive(archive.File(), entries, path, {.WantFileCRC = true});
    archive.Close();
    const ByteBuffer image = ReadWholeFile(result.File);
    EXPECT_EQ(Oracle::RunReadBytes(image)[1], ZeroFilled(ByteBuffer(5000, 'r'), 3 * 2048));
    EXPECT_EQ(Oracle::RunReadBytes(image)[2], TestEntryData({"c.dff", 3, 1}));
    EXPECT_TRUE(Oracle::MisreadEntries(image).empty());
    EXPECT_EQ(result.FileCRC, CRC32Buffer(image));
}

TEST(ArchiveRebuildTest, ANewEntryJoinsAFullDirectory)
{
    // 63 entries fill the directory's one sector; the 64th only fits in the rebuilt archive.
    std::vector<TTestEntry> full;
    for (std::uint32_t i = 0; i < 63; ++i)
        full.push_back({NumberedName("e", i, ".dff"), 1 + i, 1});
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", full);
    TIMGFile archive;
    archive.Open(path);
    std::vector<TRebuildEntry> entries = KeepEveryEntry(archive.Directory.Entries);
    TMemoryStream added(ByteBuffer(3000, 'n'));
    entries.push_back({"new.txd", 2, 0, &added, 0, 3000});
    const TRebuildResult result = WriteRebuiltArchive(archive.File(), entries, path);
    archive.Close();
    const ByteBuffer image = ReadWholeFile(result.File);
    ASSERT_EQ(Oracle::ParseDirectory(image).size(), 64u);
    EXPECT_EQ(Oracle::RunReadBytes(image)[63], ZeroFilled(ByteBuffer(3000, 'n'), 2 * 2048));
    EXPECT_EQ(Oracle::RunReadBytes(image)[62], TestEntryData(full[62]));
    EXPECT_TRUE(Oracle::MisreadEntries(image).empty());
}

TEST(ArchiveRebuildTest, RefusesWithoutTheFreeSpaceNamingBothFigures)
{
    try {
        CheckFreeSpace(1073741824, 1000, "games");
        ADD_FAILURE() << "no error";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find("1073741824 bytes are needed, 1000 bytes are free"), std::string::npos)
            << error.what();
    }
    EXPECT_NO_THROW(CheckFreeSpace(1000, 1000, "games"));
}

// Cancels at the n-th progress report.
struct TCancelAt : TProgressSink {
    int CancelAt;
    int Reports = 0;
    std::uint64_t LastDone = 0;
    std::uint64_t Total = 0;
    explicit TCancelAt(int n) : CancelAt(n) {}
    void Progress(std::uint64_t done, std::uint64_t total) override
    {
        EXPECT_GE(done, LastDone);
        LastDone = done;
        Total = total;
        ++Reports;
    }
    bool CancelRequested() override { return Reports == CancelAt; }
};

// Big enough for several 4 MiB buffers.
std::vector<TTestEntry> LargeArchive()
{
    std::vector<TTestEntry> entries;
    for (std::uint32_t i = 0; i < 10; ++i)
        entries.push_back({NumberedName("e", i, ".dff"), 2 + (9 - i) * 500, 500});
    return entries;
}

TEST(ArchiveRebuildTest, CancelAtAnyReportLeavesTheOldArchive)
{
    TTempDir dir;
    const auto path = WriteTestArchive(dir / "GTA3.img", LargeArchive());
    const ByteBuffer before = ReadWholeFile(path);
    TCancelAt counter(0);
    RebuildArchiveFile(path, {.Progress = &counter});
    EXPECT_EQ(counter.LastDone, counter.Total);
    EXPECT_GT(counter.Reports, 4);
    const ByteBuffer rebuilt = ReadWholeFile(path);
    WriteTestArchive(path, LargeArchive());
    for (int n = 1; n <= counter.Reports; ++n) {
        SCOPED_TRACE(n);
        TCancelAt cancel(n);
        EXPECT_THROW(RebuildArchiveFile(path, {.Progress = &cancel}), TOperationCancelled);
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_TRUE(Leftovers(dir).empty());
    }
    ExpectRebuiltFrom(before, rebuilt);
}

struct TFaultReset {
    ~TFaultReset() { FaultInjection::FailAtOperation(0); }
};

TEST(ArchiveRebuildTest, AFailingWriteFlushOrRenameLeavesTheOldArchiveOrTheRebuiltOne)
{
    TFaultReset reset;
    TTempDir dir;
    const auto path = dir / "GTA3.img";
    const std::vector<TTestEntry> entries = {{"b.txd", 9, 2}, {"a.dff", 1, 1}, {"c.col", 4, 1}};
    WriteTestArchive(path, entries);
    const ByteBuffer before = ReadWholeFile(path);
    RebuildArchiveFile(path);
    const ByteBuffer completed = ReadWholeFile(path);
    for (const bool persist : {false, true}) {
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE((persist ? "power loss at " : "error at ") + std::to_string(failAt));
            WriteTestArchive(path, entries);
            FaultInjection::FailAtOperation(failAt, persist);
            bool rebuilt = true;
            try {
                RebuildArchiveFile(path);
            } catch (const TVehmiraError&) {
                rebuilt = false;
            }
            FaultInjection::FailAtOperation(0);
            const ByteBuffer after = ReadWholeFile(path);
            EXPECT_TRUE(after == before || after == completed);
            if (rebuilt) {
                EXPECT_EQ(after, completed);
                break;
            }
            // A failed directory flush comes after the rename: then the rebuilt archive stands.
            if (!persist) {
                EXPECT_TRUE(Leftovers(dir).empty());
            }
            RemoveTemporariesBeside(path);
            ASSERT_LT(failAt, 100);
        }
    }
}

} // namespace
