#include "gamedata/GXTMainTable.h"

#include "fileio/Errors.h"
#include "gamedata/GXT.h"
#include "support/GXTBuilder.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

// The main table as the full loader reads it, or nothing when it refuses the file.
std::optional<TGXTTable> LoadedMainTable(const ByteBuffer& bytes)
{
    try {
        TGXTFile file;
        file.LoadFromBytes(bytes);
        return file.Tables.empty() ? TGXTTable{} : file.Tables[0];
    } catch (const TVehmiraError&) {
        return std::nullopt;
    }
}

void ExpectViewAgreesWithLoader(const ByteBuffer& bytes, const std::string& what)
{
    const std::optional<TGXTTable> loaded = LoadedMainTable(bytes);
    try {
        const TGXTMainTableView view(bytes);
        ASSERT_TRUE(loaded.has_value()) << what << ": the view accepts a file the loader refuses";
        ASSERT_EQ(view.KeyCount(), loaded->Keys.size()) << what;
        for (std::size_t k = 0; k < view.KeyCount(); ++k) {
            EXPECT_EQ(view.Hash(k), loaded->Keys[k].Hash) << what << ", key " << k;
            EXPECT_EQ(view.Text(k), loaded->Texts[k]) << what << ", key " << k;
        }
    } catch (const TVehmiraError& abort) {
        EXPECT_EQ(abort.Kind(), TErrorKind::NotGXTFile) << what;
        // The view reads only the main table, so only a damaged main table may make it refuse.
        EXPECT_FALSE(loaded.has_value()) << what << ": the view refuses a file the loader reads";
    }
}

TEST(GXTMainTableView, ReadsTheMainTableLikeTheLoader)
{
    ExpectViewAgreesWithLoader(BuildRawGXT(SampleRawTables()).Bytes, "sample file");
    ExpectViewAgreesWithLoader(BuildRawGXT({}).Bytes, "no tables");
}

TEST(GXTMainTableView, AgreesWithTheLoaderOnEveryTruncationOfTheMainTable)
{
    // Only a main table, so every cut damages what the view reads too.
    const TRawGXTLayout layout = BuildRawGXT({SampleRawTables()[0]});
    for (std::size_t length = 0; length <= layout.Bytes.size(); ++length)
        ExpectViewAgreesWithLoader(ByteBuffer(layout.Bytes.begin(), layout.Bytes.begin() + std::ptrdiff_t(length)),
                                   "cut at " + std::to_string(length));
}

TEST(GXTMainTableView, RefusesPositionsOutsideTheFile)
{
    const TRawGXTLayout layout = BuildRawGXT({SampleRawTables()[0]});
    const auto patched = [&](std::size_t position, std::uint32_t value) {
        ByteBuffer bytes = layout.Bytes;
        StoreU32LE(std::span<std::uint8_t, 4>(bytes.data() + position, 4), value);
        return bytes;
    };
    const std::size_t block = layout.BlockPositions[0];
    for (const auto& [bytes, what] : std::vector<std::pair<ByteBuffer, std::string>>{
             {patched(8, 0xFFFFFFF0u), "huge directory"},
             {patched(20, 4), "block position before the key magic"},
             {patched(20, 0xFFFFFFFFu), "block position past the end"},
             {patched(block + 4, 0xFFFFFFF8u), "huge key block"},
             {patched(block + 8, 0x7FFFFFFFu), "text offset past the end"},
         }) {
        try {
            TGXTMainTableView{bytes};
            ADD_FAILURE() << what << ": read";
        } catch (const TVehmiraError& error) {
            EXPECT_EQ(error.Kind(), TErrorKind::NotGXTFile) << what;
        }
        ExpectViewAgreesWithLoader(bytes, what);
    }
}

} // namespace
