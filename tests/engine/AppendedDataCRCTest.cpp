// The checksum of appended archive bytes taken as they are written: it answers
// only when it saw exactly the bytes that now lie in the appended region, and
// then gives what reading them back gives.

#include "fileio/FaultInjection.h"
#include "fileio/FileStream.h"
#include "engine/AppendedDataCRC.h"
#include "engine/JournalRestore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

constexpr std::uint64_t InitialLength = 5000;

ByteBuffer Pattern(std::size_t count, std::uint8_t seed)
{
    ByteBuffer bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = std::uint8_t(seed + i * 7);
    return bytes;
}

void WriteAt(TFileStream& file, std::uint64_t position, const ByteBuffer& bytes)
{
    file.Seek(position);
    file.Write(bytes);
}

struct TFollowCase {
    const char* Name;
    std::function<void(TFileStream&)> Change;
    bool Answers;
};

TEST(AppendedDataCRC, AnswersOnlyForBytesSeenAppendedInOrder)
{
    const TFollowCase cases[] = {
        {"nothing appended", [](TFileStream&) {}, true},
        {"appended in pieces",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(3000, 1));
             WriteAt(file, InitialLength + 3000, Pattern(1, 2));
             WriteAt(file, InitialLength + 3001, Pattern(70000, 3));
         },
         true},
        {"head rewritten between appends",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(100, 1));
             WriteAt(file, 8, Pattern(4992, 9));
             WriteAt(file, InitialLength + 100, Pattern(100, 2));
         },
         true},
        {"write across the old end",
         [](TFileStream& file) { WriteAt(file, InitialLength - 10, Pattern(100, 1)); }, false},
        {"appended data rewritten in place",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(100, 1));
             WriteAt(file, InitialLength + 50, Pattern(1, 2));
         },
         false},
        {"gap after the end",
         [](TFileStream& file) { WriteAt(file, InitialLength + 1, Pattern(100, 1)); }, false},
        {"truncated shorter",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(100, 1));
             file.Truncate(InitialLength + 50);
         },
         false},
        {"extended by truncation",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(100, 1));
             file.Truncate(InitialLength + 4096);
         },
         false},
        {"truncated to where it stands",
         [](TFileStream& file) {
             WriteAt(file, InitialLength, Pattern(100, 1));
             file.Truncate(InitialLength + 100);
         },
         true},
    };
    for (const TFollowCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TTempDir dir;
        TFileStream file(dir.Write("GTA3.img", Pattern(InitialLength, 42)), TFileAccess::ReadWriteExclusive);
        TAppendedDataCRC followed(file);
        test.Change(file);
        const std::uint64_t end = file.Size();
        const auto crc = followed.CRCOfRange(InitialLength, end);
        ASSERT_EQ(crc.has_value(), test.Answers);
        if (crc) {
            EXPECT_EQ(*crc, StreamRangeCRC(file, InitialLength, end));
        }
    }
}

TEST(AppendedDataCRC, AnswersOnlyForTheRangeItFollowed)
{
    TTempDir dir;
    TFileStream file(dir.Write("GTA3.img", Pattern(InitialLength, 42)), TFileAccess::ReadWriteExclusive);
    TAppendedDataCRC followed(file);
    WriteAt(file, InitialLength, Pattern(300, 1));
    EXPECT_TRUE(followed.CRCOfRange(InitialLength, InitialLength + 300));
    EXPECT_FALSE(followed.CRCOfRange(InitialLength, InitialLength + 299));
    EXPECT_FALSE(followed.CRCOfRange(InitialLength + 1, InitialLength + 300));
    EXPECT_FALSE(followed.CRCOfRange(0, InitialLength + 300));
}

TEST(AppendedDataCRC, AFailedWriteEndsTheFollowing)
{
    TTempDir dir;
    TFileStream file(dir.Write("GTA3.img", Pattern(InitialLength, 42)), TFileAccess::ReadWriteExclusive);
    TAppendedDataCRC followed(file);
    WriteAt(file, InitialLength, Pattern(300, 1));
    FaultInjection::FailAtOperation(1);
    EXPECT_ANY_THROW(WriteAt(file, InitialLength + 300, Pattern(300, 2)));
    FaultInjection::FailAtOperation(0);
    EXPECT_FALSE(followed.CRCOfRange(InitialLength, file.Size()));
}

TEST(AppendedDataCRC, SurvivesTheStreamClosingFirstAndStopsFollowingWhenDestroyed)
{
    TTempDir dir;
    const auto path = dir.Write("GTA3.img", Pattern(InitialLength, 42));
    auto file = std::make_unique<TFileStream>(path, TFileAccess::ReadWriteExclusive);
    TAppendedDataCRC followed(*file);
    WriteAt(*file, InitialLength, Pattern(10, 1));
    file.reset();
    EXPECT_FALSE(followed.CRCOfRange(InitialLength, InitialLength + 10));

    TFileStream reopened(path, TFileAccess::ReadWriteExclusive);
    {
        TAppendedDataCRC shortLived(reopened);
        EXPECT_EQ(reopened.CurrentObserver(), &shortLived);
    }
    EXPECT_EQ(reopened.CurrentObserver(), nullptr);
    WriteAt(reopened, reopened.Size(), Pattern(10, 2)); // nobody is told any more
}

TEST(AppendedDataCRC, ASecondFollowerGivesNoAnswerAndLeavesTheFirst)
{
    TTempDir dir;
    TFileStream file(dir.Write("GTA3.img", Pattern(InitialLength, 42)), TFileAccess::ReadWriteExclusive);
    TAppendedDataCRC first(file);
    {
        TAppendedDataCRC second(file);
        WriteAt(file, InitialLength, Pattern(10, 1));
        EXPECT_FALSE(second.CRCOfRange(InitialLength, InitialLength + 10));
    }
    EXPECT_EQ(file.CurrentObserver(), &first);
    EXPECT_EQ(first.CRCOfRange(InitialLength, InitialLength + 10), StreamRangeCRC(file, InitialLength, InitialLength + 10));
}

} // namespace
