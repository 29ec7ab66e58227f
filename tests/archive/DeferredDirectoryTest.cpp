// Adds under a caller's journal: the data is appended, the directory on disk
// is left alone until written once, and nothing is flushed.

#include "support/ArchiveBuilder.h"

#include "fileio/FaultInjection.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

ByteBuffer Bytes(std::size_t count, std::uint8_t first)
{
    ByteBuffer bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = std::uint8_t(first + i * 13);
    return bytes;
}

void AddBytes(TIMGFile& archive, const ByteBuffer& bytes, std::string_view name)
{
    TMemoryStream source(bytes);
    archive.AddStream(source, 0, bytes.size(), name);
}

// One full sector of directory (63 entries) so that a new name makes it grow.
std::vector<TTestEntry> FullDirectory()
{
    std::vector<TTestEntry> entries;
    for (std::uint32_t i = 0; i < 63; ++i)
        entries.push_back({NumberedName("e", i, ".dff"), 1 + i, 1});
    return entries;
}

struct TDeferredCase {
    const char* Name;
    std::vector<TTestEntry> Entries;
    const char* FirstName;
    const char* SecondName;
};

TEST(DeferredDirectory, AddsAppendAndTheDirectoryIsWrittenOnceWithoutAFlush)
{
    const TDeferredCase cases[] = {
        {"replacing names", FullDirectory(), "e3.dff", "e7.dff"},
        {"new names in a full directory", FullDirectory(), "new.dff", "new.txd"},
    };
    for (const TDeferredCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TTempDir dir;
        TIMGFile deferred;
        TIMGFile standalone;
        deferred.Open(WriteTestArchive(dir / "a.img", test.Entries));
        standalone.Open(WriteTestArchive(dir / "b.img", test.Entries));
        const ByteBuffer headBefore = ArchiveBytes(deferred);

        FaultInjection::FailAtOperation(0);
        {
            TIMGFile::TDeferredDirectory directory(deferred);
            AddBytes(deferred, Bytes(5000, 1), test.FirstName);
            AddBytes(deferred, Bytes(300, 2), test.SecondName);
            const ByteBuffer now = ArchiveBytes(deferred);
            // The directory region on disk is untouched until Write().
            EXPECT_TRUE(std::equal(now.begin(), now.begin() + 8 + 63 * 32, headBefore.begin()));
            directory.Write();
        }
        const int deferredOperations = FaultInjection::OperationsSeen();
        FaultInjection::FailAtOperation(0);
        AddBytes(standalone, Bytes(5000, 1), test.FirstName);
        AddBytes(standalone, Bytes(300, 2), test.SecondName);
        const int standaloneOperations = FaultInjection::OperationsSeen();

        // Same bytes as two standalone adds, with two flushes and one directory write fewer.
        EXPECT_EQ(ArchiveBytes(deferred), ArchiveBytes(standalone));
        EXPECT_EQ(deferredOperations, standaloneOperations - 3);
        EXPECT_EQ(Extract(deferred, test.FirstName), ZeroFilled(Bytes(5000, 1), 3 * 2048));
        deferred.ReloadDirectory();
        EXPECT_EQ(Extract(deferred, test.SecondName), ZeroFilled(Bytes(300, 2), 2048));
    }
}

TEST(DeferredDirectory, WithoutWriteTheDirectoryIsRereadFromDisk)
{
    TTempDir dir;
    TIMGFile archive;
    archive.Open(WriteTestArchive(dir / "a.img", FullDirectory()));
    const std::size_t entriesBefore = archive.Directory.Entries.size();
    {
        TIMGFile::TDeferredDirectory directory(archive);
        AddBytes(archive, Bytes(100, 1), "new.dff");
        EXPECT_EQ(archive.Directory.Entries.size(), entriesBefore + 1);
    }
    EXPECT_EQ(archive.Directory.Entries.size(), entriesBefore);
    EXPECT_EQ(archive.Directory.FindEntry("new.dff"), nullptr);
    // Standalone adds work as before once it is gone.
    AddBytes(archive, Bytes(100, 1), "new.dff");
    archive.ReloadDirectory();
    EXPECT_NE(archive.Directory.FindEntry("new.dff"), nullptr);
}

TEST(DeferredDirectory, RefusesAClosedArchiveAndASecondHolder)
{
    TTempDir dir;
    TIMGFile archive;
    EXPECT_ANY_THROW(TIMGFile::TDeferredDirectory{archive});
    archive.Open(WriteTestArchive(dir / "a.img", FullDirectory()));
    TIMGFile::TDeferredDirectory directory(archive);
    EXPECT_ANY_THROW(TIMGFile::TDeferredDirectory{archive});
}

} // namespace
