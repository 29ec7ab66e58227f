#include "gamedata/GXT.h"

#include "fileio/Errors.h"
#include "support/GXTBuilder.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

// Loads the bytes into a file that already holds one table; a refused file must
// raise the fixed message and leave that table as it was.
void ExpectGXTFileError(const ByteBuffer& bytes, const std::string& what)
{
    TGXTFile file;
    file.Tables.resize(1);
    file.Tables[0].Texts = {"kept"};
    try {
        file.LoadFromBytes(bytes);
        ADD_FAILURE() << what << ": loaded";
    } catch (const TVehmiraError& abort) {
        EXPECT_EQ(abort.Kind(), TErrorKind::NotGXTFile) << what;
    }
    ASSERT_EQ(file.Tables.size(), 1u) << what;
    EXPECT_EQ(file.Tables[0].Texts, std::vector<std::string>{"kept"}) << what;
}

void PutU32(ByteBuffer& bytes, std::size_t position, std::uint32_t value)
{
    StoreU32LE(std::span<std::uint8_t, 4>(bytes.data() + position, 4), value);
}

TEST(GXTMalformed, NotAGXTFile)
{
    const ByteBuffer valid = BuildRawGXT(SampleRawTables()).Bytes;
    ByteBuffer wrongMagic = valid;
    wrongMagic[7] = 'X';
    ExpectGXTFileError(wrongMagic, "wrong magic");
    ExpectGXTFileError({}, "empty file");
    ExpectGXTFileError(ByteBuffer(valid.begin(), valid.begin() + 8), "header cut before the directory size");
    // A file that starts with a table block instead of the header.
    ExpectGXTFileError(ByteBuffer(valid.begin() + 36, valid.end()), "table block first");
}

TEST(GXTMalformed, TruncatedAtEveryLength)
{
    const TRawGXTLayout layout = BuildRawGXT(SampleRawTables());
    const TGXTFile whole = [&] {
        TGXTFile file;
        file.LoadFromBytes(layout.Bytes);
        return file;
    }();
    // The text that starts last is the mission table's "Yo", at offset 3 of its text data.
    const std::size_t lastTextStart = layout.TextDataPositions[1] + 3;
    for (std::size_t length = 0; length < layout.Bytes.size(); ++length) {
        const ByteBuffer cut(layout.Bytes.begin(), layout.Bytes.begin() + std::ptrdiff_t(length));
        if (length < lastTextStart) {
            ExpectGXTFileError(cut, "cut at " + std::to_string(length));
            continue;
        }
        // Past the last text's start, the texts that lost their end stop at the end of the data.
        TGXTFile file;
        file.LoadFromBytes(cut);
        ASSERT_EQ(file.Tables.size(), 2u);
        for (std::size_t t = 0; t < 2; ++t)
            for (std::size_t k = 0; k < whole.Tables[t].Texts.size(); ++k)
                EXPECT_EQ(whole.Tables[t].Texts[k].rfind(file.Tables[t].Texts[k], 0), 0u)
                    << "cut at " << length << ", table " << t << ", key " << k;
    }
}

TEST(GXTMalformed, SizesAndPositionsOutOfRange)
{
    const TRawGXTLayout layout = BuildRawGXT(SampleRawTables());
    const std::size_t mainKeys = layout.BlockPositions[0] + 4;      // the main block has no name
    const std::size_t missionKeys = layout.BlockPositions[1] + 12;
    struct TCase {
        std::string What;
        std::size_t Position;
        std::uint32_t Value;
    };
    const std::vector<TCase> cases{
        {"huge directory", 8, 0xFFFFFFFCu},
        {"directory one entry too long", 8, 36},
        {"main block past the end", 20, std::uint32_t(layout.Bytes.size())},
        {"main block at 0xFFFFFFFF", 20, 0xFFFFFFFFu},
        {"main block without room for its name", 20, 4},
        {"mission block past the end", 32, std::uint32_t(layout.Bytes.size() - 8)},
        {"main key block larger than the file", mainKeys, 0x00100000u},
        {"main key block of 0xFFFFFFF8", mainKeys, 0xFFFFFFF8u},
        {"mission key block one key too long", missionKeys, 24},
        {"text offset past the end", mainKeys + 4, 0x7FFFFFFFu},
        {"text offset 0xFFFFFFFF", missionKeys + 12, 0xFFFFFFFFu},
    };
    for (const auto& c : cases) {
        ByteBuffer bytes = layout.Bytes;
        PutU32(bytes, c.Position, c.Value);
        ExpectGXTFileError(bytes, c.What);
    }
}

TEST(GXTMalformed, ManyKeysOnOneUnterminatedTextAreRefused)
{
    // 100,000 keys each copying a 100,000-byte text would need 10 GB.
    TRawGXTTable table{"MAIN", "TKEY", std::vector<TRawGXTKey>(100000), std::string(100000, 'x')};
    ByteBuffer bytes = BuildRawGXT({table}).Bytes;
    while (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
    ExpectGXTFileError(bytes, "text copied 100,000 times");
}

TEST(GXTMalformed, ManyKeysSharingOneTextOnPurposeStillLoad)
{
    // 40,000 keys on one 100-byte text: each key gets its own copy, 4 MB in all.
    TRawGXTTable table{"MAIN", "TKEY", std::vector<TRawGXTKey>(40000), std::string(100, 'x') + '\0'};
    TGXTFile file;
    file.LoadFromBytes(BuildRawGXT({table}).Bytes);
    ASSERT_EQ(file.Tables.size(), 1u);
    ASSERT_EQ(file.Tables[0].Texts.size(), 40000u);
    EXPECT_EQ(file.Tables[0].Texts.back(), std::string(100, 'x'));
}

TEST(GXTMalformed, TablesSharingOneKeyBlockLoadWithinBounds)
{
    // Several directory entries may point at one block; each gets its own copy.
    std::vector<TRawGXTTable> tables(2, {"AAAA", "TKEY", {{0, 7u}}, std::string("t\0", 2)});
    TRawGXTLayout layout = BuildRawGXT(tables);
    PutU32(layout.Bytes, 32, std::uint32_t(layout.BlockPositions[0] - 8));
    TGXTFile file;
    file.LoadFromBytes(layout.Bytes);
    ASSERT_EQ(file.Tables.size(), 2u);
    EXPECT_EQ(file.Tables[1].Texts, std::vector<std::string>{"t"});
}

} // namespace
