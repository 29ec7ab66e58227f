#include "gamedata/GXT.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "support/GXTBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

std::array<char, 8> Name8(std::string_view text)
{
    std::array<char, 8> name{};
    std::copy(text.begin(), text.end(), name.begin());
    return name;
}

TGXTFile Load(const ByteBuffer& bytes)
{
    TGXTFile file;
    file.LoadFromBytes(bytes);
    return file;
}

std::vector<std::uint32_t> HashesOf(const TGXTTable& table)
{
    std::vector<std::uint32_t> hashes;
    for (const TGXTKey& key : table.Keys)
        hashes.push_back(key.Hash);
    return hashes;
}

TEST(GXTFile, LoadsTheGameLayout)
{
    const TRawGXTLayout raw = BuildRawGXT(SampleRawTables());
    const TGXTFile file = Load(raw.Bytes);
    ASSERT_EQ(file.Tables.size(), 2u);

    const TGXTTable& main = file.Tables[0];
    // The main table's block has no name: Name holds the 8 bytes in front of its key
    // block, here the last directory entry's name bytes 4 to 7 and its position.
    std::array<char, 8> expectedName = Name8("O");
    StoreU32LE(std::span<std::uint8_t, 4>(reinterpret_cast<std::uint8_t*>(expectedName.data()) + 4, 4),
               std::uint32_t(raw.BlockPositions[1]));
    EXPECT_EQ(main.Name, expectedName);
    EXPECT_EQ(main.DirectoryName, Name8("MAIN"));
    EXPECT_EQ(main.KeyMagic, (std::array<char, 4>{'T', 'K', 'E', 'Y'}));
    EXPECT_EQ(main.KeyBlockSize, 32u);
    EXPECT_EQ(HashesOf(main), (std::vector<std::uint32_t>{0x30000000u, 0x10000000u, 0x20000000u, 0xF0000000u}));
    EXPECT_EQ(main.Keys[1].TextOffset, 6u);
    EXPECT_EQ(main.Texts, (std::vector<std::string>{"Admir", "\xC2\xEE\xEB\xE3\xE0", "Admir", ""}));

    const TGXTTable& mission = file.Tables[1];
    EXPECT_EQ(mission.Name, Name8("INTRO"));
    EXPECT_FALSE(mission.DirectoryName);
    EXPECT_EQ(mission.Texts, (std::vector<std::string>{"Yo", "Hi"}));
}

TEST(GXTFile, SavesTheExactLayout)
{
    TGXTFile file;
    file.Tables.resize(2);
    file.Tables[0].KeyMagic = {'T', 'K', 'E', 'Y'};
    file.Tables[0].Keys = {{99, 0xA1B2C3D4u}, {0, 0x01020304u}};
    file.Tables[0].Texts = {"Hi", ""};
    file.Tables[1].Name = Name8("M1");
    file.Tables[1].KeyMagic = {'K', 'E', 'Y', 'S'};
    file.Tables[1].Keys = {{0, 0x05060708u}};
    file.Tables[1].Texts = {"\xFF"};

    const ByteBuffer expected{
        4, 0, 8, 0, 'T', 'A', 'B', 'L', 24, 0, 0, 0,                       // header
        'M', 'A', 'I', 'N', 0, 0, 0, 0, 36, 0, 0, 0,                       // never loaded: "MAIN"
        'M', '1', 0, 0, 0, 0, 0, 0, 74, 0, 0, 0,                           // 36 + the main block's 38
        'T', 'K', 'E', 'Y', 16, 0, 0, 0,                                   // main block: no name
        0, 0, 0, 0, 0xD4, 0xC3, 0xB2, 0xA1, 3, 0, 0, 0, 4, 3, 2, 1,        // fresh offsets
        'T', 'D', 'A', 'T', 6, 0, 0, 0, 'H', 'i', 0, 0, 0, 0,              // L = 4, size L + 2
        'M', '1', 0, 0, 0, 0, 0, 0, 'K', 'E', 'Y', 'S', 8, 0, 0, 0,        // mission block
        0, 0, 0, 0, 8, 7, 6, 5, 'T', 'D', 'A', 'T', 4, 0, 0, 0, 0xFF, 0, 0, 0,
    };
    EXPECT_EQ(file.SaveToBytes(), expected);
}

TEST(GXTFile, EmptyAndCutDirectories)
{
    TGXTFile empty;
    const ByteBuffer header{4, 0, 8, 0, 'T', 'A', 'B', 'L', 0, 0, 0, 0};
    EXPECT_EQ(empty.SaveToBytes(), header);
    EXPECT_TRUE(Load(header).Tables.empty());

    // A directory size of 12n + r holds n whole entries.
    ByteBuffer bytes = BuildRawGXT(SampleRawTables()).Bytes;
    for (std::uint8_t size : {35, 23, 11}) {
        bytes[8] = size;
        EXPECT_EQ(Load(bytes).Tables.size(), std::size_t(size / 12)) << int(size);
    }
}

TEST(GXTFile, RoundTripsKeepKeysOrderAndBytes)
{
    const TGXTFile loaded = Load(BuildRawGXT(SampleRawTables()).Bytes);
    const ByteBuffer saved = loaded.SaveToBytes();
    const TGXTFile reloaded = Load(saved);
    ASSERT_EQ(reloaded.Tables.size(), loaded.Tables.size());
    for (std::size_t t = 0; t < loaded.Tables.size(); ++t) {
        EXPECT_EQ(HashesOf(reloaded.Tables[t]), HashesOf(loaded.Tables[t])) << t;
        EXPECT_EQ(reloaded.Tables[t].Texts, loaded.Tables[t].Texts) << t;
        EXPECT_EQ(reloaded.Tables[t].KeyMagic, loaded.Tables[t].KeyMagic) << t;
    }
    EXPECT_EQ(reloaded.Tables[0].DirectoryName, Name8("MAIN"));
    EXPECT_EQ(reloaded.Tables[1].Name, Name8("INTRO"));
    // Shared texts are stored once per key: "Admir" twice, the empty text once.
    EXPECT_EQ(reloaded.Tables[0].Keys[2].TextOffset, 12u);
    EXPECT_EQ(reloaded.Tables[0].Keys[3].TextOffset, 18u);
    EXPECT_EQ(reloaded.SaveToBytes(), saved);
}

TEST(GXTFile, EditedTextsAreSavedInPlaceOfTheOldOnes)
{
    TGXTFile file = Load(BuildRawGXT(SampleRawTables()).Bytes);
    file.Tables[0].Texts[1] = "A much longer display name";
    const TGXTFile reloaded = Load(file.SaveToBytes());
    EXPECT_EQ(reloaded.Tables[0].Texts,
              (std::vector<std::string>{"Admir", "A much longer display name", "Admir", ""}));
    EXPECT_EQ(reloaded.Tables[1].Texts, (std::vector<std::string>{"Yo", "Hi"}));
}

TEST(GXTFile, TextWithoutTerminatingZeroEndsAtTheEndOfTheData)
{
    ByteBuffer bytes = BuildRawGXT({{"MAIN", "TKEY", {{0, 1u}, {3, 2u}}, std::string("ab\0cd", 5)}}).Bytes;
    bytes.resize(bytes.size() - 3); // drop the padding: the file now ends in "cd"
    EXPECT_EQ(Load(bytes).Tables[0].Texts, (std::vector<std::string>{"ab", "cd"}));
}

TEST(GXTFile, SavingMoreTextsThanKeysIsRefused)
{
    TGXTFile file;
    file.Tables.resize(1);
    file.Tables[0].Texts = {"a", "b"};
    file.Tables[0].Keys.resize(1);
    EXPECT_THROW(file.SaveToBytes(), TVehmiraError);
}

TEST(GXTFile, FilesRoundTripAndAFailedSaveKeepsTheOldFile)
{
    TTempDir dir;
    const auto path = dir.Write("Text/american.gxt", BuildRawGXT(SampleRawTables()).Bytes);
    TGXTFile file;
    file.LoadFromFile(path);
    file.Tables[0].Texts[0] = "Changed";
    const ByteBuffer before = ReadWholeFile(path);

    FaultInjection::FailAtOperation(1);
    EXPECT_THROW(file.SaveToFile(path), TVehmiraError);
    FaultInjection::FailAtOperation(0);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.List("Text"), std::vector<std::string>{"american.gxt"});

    file.SaveToFile(path);
    TGXTFile reloaded;
    reloaded.LoadFromFile(path);
    EXPECT_EQ(reloaded.Tables[0].Texts[0], "Changed");
    EXPECT_EQ(ReadWholeFile(path), file.SaveToBytes());
}

} // namespace

// The mobile ports write texts of 16-bit characters (header 04 00 10 00): they
// load and save as such, every text whole, never cut at its first zero byte.
TEST(GXTFile, SixteenBitFilesKeepEveryTextWhole)
{
    using namespace std::string_literals;
    const std::string cyrillic = "\x10\x04\x11\x04"s;     // U+0410 U+0411
    const std::string latin = "I\0n\0f\0"s;               // high bytes zero
    const std::string unmapped = "\x2D\x4E"s "A\0"s;       // U+4E2D, 'A'
    TRawGXTTable main{"MAIN", "TKEY", {{0, 0x10}, {6, 0x20}, {14, 0x30}}, cyrillic + "\0\0"s + latin + "\0\0"s + unmapped + "\0\0"s};
    TRawGXTLayout raw = BuildRawGXT({main});
    raw.Bytes[2] = 0x10;

    TGXTFile file = Load(raw.Bytes);
    EXPECT_EQ(file.CharacterSize, 2u);
    ASSERT_EQ(file.Tables.size(), 1u);
    EXPECT_EQ(file.Tables[0].Texts, (std::vector<std::string>{cyrillic, latin, unmapped}));

    const ByteBuffer saved = file.SaveToBytes();
    EXPECT_EQ(ByteBuffer(saved.begin(), saved.begin() + 4), (ByteBuffer{0x04, 0x00, 0x10, 0x00}));
    const TGXTFile again = Load(saved);
    EXPECT_EQ(again.CharacterSize, 2u);
    EXPECT_EQ(again.Tables[0].Texts, file.Tables[0].Texts);
    EXPECT_EQ(again.SaveToBytes(), saved);

    const struct {
        std::string text;
        std::string cp1251;
    } cases[] = {{cyrillic, "\xC0\xC1"}, {latin, "Inf"}, {unmapped, "?A"}, {"", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(GXTTextToCp1251(c.text, 2), c.cp1251);
        if (c.cp1251.find('?') == std::string::npos) {
            EXPECT_EQ(Cp1251ToGXTText(c.cp1251, 2), c.text);
        }
    }
    // An odd byte count cannot be written as 16-bit characters.
    file.Tables[0].Texts[1] = "odd";
    EXPECT_THROW(file.SaveToBytes(), TVehmiraError);
}
