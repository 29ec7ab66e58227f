#include "gamedata/GXTMainTable.h"

#include "fileio/Errors.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTKeySearch.h"
#include "support/GXTBuilder.h"
#include "support/GXTSearchOracle.h"

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

TEST(GXTMainTableView, FindsKeysAsTheGameDoesAndWarnsOfAnUnsortedBlock)
{
    TRawGXTTable sorted = SampleRawTables()[0];
    std::sort(sorted.Keys.begin(), sorted.Keys.end(),
              [](const TRawGXTKey& a, const TRawGXTKey& b) { return a.Hash < b.Hash; });
    // The sample's main table: 0x30000000, 0x10000000, 0x20000000, 0xF0000000.
    ByteBuffer unsortedWide = BuildRawGXT(SampleRawTables()).Bytes;
    unsortedWide[2] = 0x10;
    const struct {
        const char* what;
        ByteBuffer bytes;
        std::optional<std::int64_t> missed; // none: no warning
    } cases[] = {
        {"in hash order", BuildRawGXT({sorted, SampleRawTables()[1]}).Bytes, std::nullopt},
        {"out of order", BuildRawGXT(SampleRawTables()).Bytes, 1},
        {"out of order, 16-bit characters", unsortedWide, 1},
        {"no tables", BuildRawGXT({}).Bytes, std::nullopt},
    };
    for (const auto& c : cases) {
        const TGXTMainTableView view(c.bytes);
        std::vector<std::uint32_t> hashes;
        for (std::size_t k = 0; k < view.KeyCount(); ++k)
            hashes.push_back(view.Hash(k));
        for (const std::uint32_t wanted : {0x10000000u, 0x20000000u, 0x30000000u, 0xF0000000u, 0x40000000u})
            EXPECT_EQ(view.FindKeyAsTheGame(wanted), GameKeySearchOracle(hashes, wanted)) << c.what << ", " << wanted;
        const std::optional<TCheckFinding> finding = CheckMainTableKeyOrder(view, "Text\\american.gxt");
        ASSERT_EQ(finding.has_value(), c.missed.has_value()) << c.what;
        EXPECT_EQ(view.KeysSortedByHash(), !c.missed) << c.what;
        if (!finding)
            continue;
        EXPECT_EQ(finding->Code, TCheckCode::GXTKeysUnsorted) << c.what;
        EXPECT_FALSE(IsCheckError(finding->Code)) << c.what;
        EXPECT_EQ(finding->Facts.Subject, "Text\\american.gxt") << c.what;
        EXPECT_EQ(finding->Facts.Number, *c.missed) << c.what;
    }
}

} // namespace
