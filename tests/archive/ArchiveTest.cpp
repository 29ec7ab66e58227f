#include "support/ArchiveBuilder.h"

#include "fileio/Errors.h"
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

struct ArchiveTest : ::testing::Test {
    TTempDir Dir;
    TIMGFile Archive;

    void Open(const std::vector<TTestEntry>& entries, std::uint64_t fileSize = 0)
    {
        Archive.Open(WriteTestArchive(Dir / "GTA3.img", entries, fileSize));
    }
};

TEST_F(ArchiveTest, OpenFindsTheFirstDataSectorAndFreeSlots)
{
    std::vector<TTestEntry> hundred;
    for (std::uint32_t i = 0; i < 100; ++i)
        hundred.push_back({NumberedName("e", i), 104 - i, 1});
    struct TCase {
        std::vector<TTestEntry> Entries;
        std::uint32_t FirstSector;
        std::int32_t FreeSlots;
    };
    const TCase cases[] = {
        {{{"a.dff", 1, 2}, {"b.txd", 3, 1}, {"c.dff", 4, 0}}, 1, 60},
        {hundred, 5, 219},
        {{}, 1, 63},
    };
    for (const TCase& c : cases) {
        Open(c.Entries);
        EXPECT_EQ(Archive.FirstDataSector(), c.FirstSector);
        EXPECT_EQ(Archive.Directory.FreeSlots, c.FreeSlots);
        Archive.Close();
    }
}

TEST_F(ArchiveTest, OpenRefusesDamagedOrMissingArchives)
{
    Dir.Write("bad.img", TestDirectoryImage({{"a.dff", 1, 1}}));
    EXPECT_THROW(Archive.Open(Dir / "bad.img"), TVehmiraError);
    EXPECT_FALSE(Archive.IsOpen());
    EXPECT_THROW(Archive.Open(Dir / "missing.img"), TVehmiraError);
    EXPECT_FALSE(Archive.IsOpen());
}

TEST_F(ArchiveTest, ExtractCopiesWholeSectorsOfTheFirstMatch)
{
    Open({{"dup.dff", 1, 1}, {"big.txd", 2, 3}, {"DUP.DFF", 5, 1}});
    TMemoryStream dest(ByteBuffer(100, 'x'));
    EXPECT_EQ(Archive.ExtractToStream(dest, 100, "Dup.Dff"), 2048u);
    EXPECT_EQ(dest.Position(), 2148u);
    EXPECT_EQ(Archive.ExtractToStream(dest, dest.Position(), "BIG.TXD"), 6144u);
    EXPECT_EQ(dest.Position(), 2148u + 6144);
    ByteBuffer expected(100, 'x');
    AppendBytes(expected, TestEntryData({"dup.dff", 1, 1}));
    AppendBytes(expected, TestEntryData({"big.txd", 2, 3}));
    EXPECT_EQ(dest.Bytes(), expected);

    try {
        Archive.ExtractToStream(dest, 0, "nope.dff");
        ADD_FAILURE() << "no error";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find("\"nope.dff\""), std::string::npos) << error.what();
    }
}

TEST_F(ArchiveTest, NewEntriesTakeWholeSectorsWithZeroFill)
{
    for (const std::size_t length : {std::size_t(0), std::size_t(1), std::size_t(4096), std::size_t(4097)}) {
        Open({{"a.dff", 1, 1}});
        const ByteBuffer before = ArchiveBytes(Archive);
        const ByteBuffer data = Bytes(length, 5);
        ByteBuffer packed(10, 'p');
        AppendBytes(packed, data);
        TMemoryStream source(packed);
        ASSERT_NO_THROW(Archive.AddStream(source, 10, length, "new.dff"));
        EXPECT_EQ(source.Position(), 10 + length);

        const std::uint32_t sectors = std::uint32_t((length + 2047) / 2048);
        ByteBuffer expected = ZeroFilled(TestDirectoryImage({{"a.dff", 1, 1}, {"new.dff", 2, sectors}}), 2048);
        AppendBytes(expected, std::span(before).subspan(2048));
        AppendBytes(expected, data);
        expected = ZeroFilled(expected, before.size() + sectors * 2048);
        EXPECT_EQ(ArchiveBytes(Archive), expected) << length;
        EXPECT_EQ(Archive.Directory.FreeSlots, 61) << length;

        Archive.Close();
        Archive.Open(Dir / "GTA3.img");
        ASSERT_EQ(Archive.Directory.Entries.size(), 2u);
        EXPECT_EQ(Extract(Archive, "NEW.DFF"), ByteBuffer(expected.begin() + 4096, expected.end()));
        Archive.Close();
    }
}

TEST_F(ArchiveTest, ReplaceRewritesTheLastMatchInTheCallersCase)
{
    Open({{"car.dff", 1, 1}, {"x.txd", 2, 1}, {"car.dff", 3, 1}});
    const ByteBuffer before = ArchiveBytes(Archive);
    ASSERT_NO_THROW(AddBytes(Archive, Bytes(100, 1), "CAR.DFF"));
    const auto& entries = Archive.Directory.Entries;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Name, "car.dff");
    EXPECT_EQ(entries[0].Offset, 1u);
    EXPECT_EQ(entries[2].Name, "CAR.DFF");
    EXPECT_EQ(entries[2].Offset, 4u);
    EXPECT_EQ(entries[2].Size, 1u);
    EXPECT_EQ(Archive.Directory.FreeSlots, 60);
    // The replaced sectors stay; the first match is still what extraction finds.
    const ByteBuffer after = ArchiveBytes(Archive);
    EXPECT_TRUE(std::equal(before.begin() + 2048, before.end(), after.begin() + 2048));
    EXPECT_EQ(Extract(Archive, "Car.dff"), TestEntryData({"car.dff", 1, 1}));
}

TEST_F(ArchiveTest, NamesWithoutRoomForTheirTerminatorAreRefused)
{
    Open({{"car.dff", 1, 1}});
    const ByteBuffer before = ArchiveBytes(Archive);
    EXPECT_THROW(AddBytes(Archive, Bytes(10, 0), "abcdefghijklmnopqrstu.dff"), TVehmiraError);
    EXPECT_THROW(AddBytes(Archive, Bytes(10, 0), "abcdefghijklmnopqrst.dff"), TVehmiraError);
    EXPECT_THROW(AddBytes(Archive, Bytes(10, 0), std::string("a\0b.dff", 7)), TVehmiraError);
    EXPECT_THROW(AddBytes(Archive, Bytes(10, 0), ""), TVehmiraError);
    EXPECT_EQ(ArchiveBytes(Archive), before);

    const std::string full = "abcdefghijklmnopqrs.dff";
    ASSERT_NO_THROW(AddBytes(Archive, Bytes(10, 0), full));
    ASSERT_NO_THROW(AddBytes(Archive, Bytes(20, 0), full));
    Archive.Close();
    Archive.Open(Dir / "GTA3.img");
    ASSERT_EQ(Archive.Directory.Entries.size(), 2u);
    EXPECT_EQ(Archive.Directory.Entries[1].Name, full);
}

TEST_F(ArchiveTest, AddFileTakesTheWholeFileAndAMissingFileChangesNothing)
{
    Open({{"car.dff", 1, 1}});
    const ByteBuffer data = Bytes(3000, 9);
    ASSERT_NO_THROW(Archive.AddFile(Dir.Write("in.dff", data), "in.dff"));
    const ByteBuffer expected = ZeroFilled(data, 4096);
    EXPECT_EQ(Extract(Archive, "in.dff"), expected);

    const ByteBuffer before = ArchiveBytes(Archive);
    EXPECT_THROW(Archive.AddFile(Dir / "missing.dff", "m.dff"), TVehmiraError);
    EXPECT_EQ(ArchiveBytes(Archive), before);
    EXPECT_EQ(Archive.Directory.Entries.size(), 2u);
}

TEST_F(ArchiveTest, DataOfAnArchiveEndingInsideASectorStartsOnTheNextSector)
{
    Open({{"car.dff", 1, 1}});
    Archive.File().Seek(4096);
    Archive.File().Write(ByteBuffer(100, 'j'));
    ASSERT_NO_THROW(AddBytes(Archive, Bytes(10, 3), "new.dff"));
    EXPECT_EQ(Archive.Directory.Entries[1].Offset, 3u);
    EXPECT_EQ(Archive.File().Size(), 4u * 2048);
    const ByteBuffer expected = ZeroFilled(Bytes(10, 3), 2048);
    EXPECT_EQ(Extract(Archive, "new.dff"), expected);
    Archive.Close();
    Archive.Open(Dir / "GTA3.img");
    EXPECT_EQ(Extract(Archive, "new.dff"), expected);
}

} // namespace
