#include "support/ArchiveBuilder.h"

#include "archive/DIR.h"
#include "fileio/Errors.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

ByteBuffer SectorPadded(ByteBuffer bytes, std::size_t sectors)
{
    bytes.resize(sectors * SectorSize);
    return bytes;
}

TEST(ArchiveDirectory, NamesDropLeftoverBytesAndRoundTripByteExact)
{
    const std::string full24 = "abcdefghijklmnopqrstuvwx";
    ByteBuffer image = SectorPadded(TestDirectoryImage({{"a.dff", 1, 0}, {full24, 1, 0}, {"", 1, 0}}), 1);
    // Leftover bytes after the terminating zero of the first name.
    image[8 + 8 + 5 + 1] = 'Q';
    image[8 + 8 + 5 + 2] = 'Z';
    TMemoryStream stream(image);
    TDIRFile directory;
    directory.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), 8u + 3 * 32);
    ASSERT_EQ(directory.Entries.size(), 3u);
    EXPECT_EQ(directory.Entries[0].Name, "a.dff");
    EXPECT_EQ(directory.Entries[1].Name, full24);
    EXPECT_EQ(directory.Entries[2].Name, "");

    directory.SaveToStream(stream);
    EXPECT_EQ(stream.Position(), 8u + 3 * 32);
    const ByteBuffer clean = SectorPadded(TestDirectoryImage({{"a.dff", 1, 0}, {full24, 1, 0}, {"", 1, 0}}), 1);
    EXPECT_EQ(stream.Bytes(), clean);
    EXPECT_EQ(directory.DirectoryBytes(), ByteBuffer(clean.begin() + 4, clean.begin() + 8 + 3 * 32));
}

TEST(ArchiveDirectory, EmptyDirectoryWritesOnlyTheCount)
{
    ByteBuffer image = SectorPadded(TestDirectoryImage({{"x.txd", 1, 0}}), 1);
    TMemoryStream stream(image);
    TDIRFile directory;
    directory.SaveToStream(stream);
    ByteBuffer expected = image;
    expected[4] = 0;
    EXPECT_EQ(stream.Bytes(), expected);
    directory.LoadFromStream(stream);
    EXPECT_TRUE(directory.Entries.empty());
}

TEST(ArchiveDirectory, FindEntryFoldsOnlyAsciiLetters)
{
    TDIRFile directory;
    for (const char* name : {"car.dff", "CAR.DFF", "[x]", "\xe4" "b", "abcdefghijklmnopqrstuvwx"})
        directory.Entries.push_back({7, 1, name});
    struct TCase {
        std::string Wanted;
        int Expected; // index, or -1 for none
    };
    const TCase cases[] = {
        {"CAR.dff", 0},      // the first of two names differing only in case
        {"{X}", -1},         // '[' and '{' differ by 32 but are not letters
        {"\xc4" "B", -1},    // bytes above 0x7F compare exactly
        {"\xe4" "B", 3},
        {"ABCDEFGHIJKLMNOPQRSTUVWX", 4},
        {"abcdefghijklmnopqrstuvwxy", -1}, // longer than any stored name
        {"car.df", -1},
    };
    for (const TCase& c : cases) {
        TDIREntry* found = directory.FindEntry(c.Wanted);
        if (c.Expected < 0)
            EXPECT_EQ(found, nullptr) << c.Wanted;
        else
            EXPECT_EQ(found, &directory.Entries[std::size_t(c.Expected)]) << c.Wanted;
    }
}

TEST(ArchiveDirectory, DamagedDirectoriesAreReportedAndLeaveEntries)
{
    struct TCase {
        const char* Label;
        ByteBuffer Image;
        const char* Message;
    };
    const auto withCount = [](std::uint32_t count) {
        ByteBuffer image = SectorPadded(TestDirectoryImage({{"a.dff", 1, 0}}), 2);
        StoreU32LE(std::span(image).subspan<4, 4>(), count);
        return image;
    };
    const TCase cases[] = {
        {"shorter than the count", ByteBuffer{'T', 'E', 'S'}, "too short"},
        {"count past the end", withCount(128), "announces 128 entries, but the file holds only 127"},
        {"huge count", withCount(0xFFFFFFFF), "announces 4294967295 entries"},
        {"data past the end", SectorPadded(TestDirectoryImage({{"a.dff", 1, 1}, {"x.dff", 2, 1}}), 2),
         "entry 1 (\"x.dff\") lies past the end of the file"},
        {"sum wraps in 32 bits", SectorPadded(TestDirectoryImage({{"w.dff", 0xFFFFFFFF, 2}}), 1),
         "entry 0 (\"w.dff\") lies past"},
        {"byte position wraps in 32 bits", SectorPadded(TestDirectoryImage({{"v.dff", 0x200000, 1}}), 1),
         "entry 0 (\"v.dff\") lies past"},
    };
    for (const TCase& c : cases) {
        TDIRFile directory;
        directory.Entries.push_back({1, 0, "kept.txd"});
        TMemoryStream stream(c.Image);
        try {
            directory.LoadFromStream(stream);
            ADD_FAILURE() << c.Label << ": no error";
        } catch (const TVehmiraError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << c.Label << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find("Damaged archive"), std::string::npos) << c.Label;
        }
        ASSERT_EQ(directory.Entries.size(), 1u) << c.Label;
        EXPECT_EQ(directory.Entries[0].Name, "kept.txd") << c.Label;
    }
}

} // namespace
