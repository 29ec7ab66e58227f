// The game's search for a key, against the oracle in support/: found or
// missed alike on tables in hash order, out of order and with repeated
// hashes; and putting a table in order keeps every text with its key.

#include "gamedata/GXTKeySearch.h"

#include "support/GXTSearchOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace vehmira::gamedata;

namespace {

std::optional<std::size_t> Search(const std::vector<std::uint32_t>& hashes, std::uint32_t wanted)
{
    return FindKeyAsTheGame(hashes.size(), wanted, [&](std::size_t k) { return hashes[k]; });
}

TGXTTable TableOf(const std::vector<std::uint32_t>& hashes)
{
    TGXTTable table;
    for (std::size_t k = 0; k < hashes.size(); ++k) {
        table.Keys.push_back({std::uint32_t(100 + k), hashes[k]});
        table.Texts.push_back("text " + std::to_string(k));
    }
    return table;
}

std::vector<std::uint32_t> Hashes(const TGXTTable& table)
{
    std::vector<std::uint32_t> hashes;
    for (const TGXTKey& key : table.Keys)
        hashes.push_back(key.Hash);
    return hashes;
}

} // namespace

TEST(GXTKeySearch, FindsWhatTheGamesSearchFinds)
{
    const struct {
        const char* what;
        std::vector<std::uint32_t> hashes;
        std::uint32_t wanted;
        std::optional<std::size_t> found;
    } cases[] = {
        {"no keys", {}, 5, std::nullopt},
        {"one key", {5}, 5, 0},
        {"in order, first", {1, 3, 5, 7, 9}, 1, 0},
        {"in order, last", {1, 3, 5, 7, 9}, 9, 4},
        {"in order, absent", {1, 3, 5, 7, 9}, 4, std::nullopt},
        {"hashes compare unsigned", {0x10, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu}, 0xFFFFFFFFu, 3},
        {"out of order: a key that is there is missed", {0x30, 0x20, 0x10}, 0x10, std::nullopt},
        {"out of order: the middle key is found", {0x30, 0x20, 0x10}, 0x20, 1},
        {"a repeated hash: the one the midpoint meets", {1, 4, 4, 4, 9}, 4, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Search(c.hashes, c.wanted), c.found) << c.what;
        EXPECT_EQ(GameKeySearchOracle(c.hashes, c.wanted), c.found) << c.what << " (oracle)";
    }
}

TEST(GXTKeySearch, AgreesWithTheOracleOnRandomTables)
{
    std::mt19937 random(25);
    for (int round = 0; round < 400; ++round) {
        const std::size_t count = random() % 200;
        // Few distinct values make repeated hashes common; a third of the tables are sorted.
        const std::uint32_t spread = round % 2 ? 0xFFFFFFFFu : 40;
        std::vector<std::uint32_t> hashes(count);
        for (std::uint32_t& hash : hashes)
            hash = std::uint32_t(random()) % spread;
        if (round % 3 == 0)
            std::sort(hashes.begin(), hashes.end());
        const TGXTTable table = TableOf(hashes);
        const bool sorted = std::is_sorted(hashes.begin(), hashes.end());
        EXPECT_EQ(KeysSortedByHash(table), sorted) << "round " << round;
        std::size_t missed = 0;
        for (std::size_t probe = 0; probe < count + 20; ++probe) {
            const std::uint32_t wanted = probe < count ? hashes[probe] : std::uint32_t(random()) % spread;
            const std::optional<std::size_t> expected = GameKeySearchOracle(hashes, wanted);
            ASSERT_EQ(FindKeyAsTheGame(table, wanted), expected) << "round " << round << ", hash " << wanted;
            missed += probe < count && !expected;
            if (sorted && probe < count) {
                EXPECT_TRUE(expected.has_value()) << "a table in order gives every key";
            }
        }
        EXPECT_EQ(KeysTheGameMisses(count, [&](std::size_t k) { return hashes[k]; }), missed) << "round " << round;
    }
}

TEST(GXTKeySearch, TheGamesSixteenBitIndicesBoundTheSearch)
{
    // 32768 keys: the last index still fits; a hash above them all runs the
    // first index past 32767 and ends the search without a read outside.
    std::vector<std::uint32_t> hashes(32768);
    for (std::size_t k = 0; k < hashes.size(); ++k)
        hashes[k] = std::uint32_t(2 * k + 2);
    EXPECT_EQ(Search(hashes, 2), 0u);
    EXPECT_EQ(Search(hashes, 65536), 32767u);
    EXPECT_EQ(Search(hashes, 70000), std::nullopt);
    EXPECT_EQ(Search(hashes, 1), std::nullopt);
    // One key more and the last index wraps negative: the game finds nothing.
    hashes.push_back(70000);
    EXPECT_EQ(Search(hashes, 2), std::nullopt);
    EXPECT_EQ(Search(hashes, 70000), std::nullopt);
}

TEST(GXTKeySearch, SortingKeepsEveryTextWithItsKey)
{
    const struct {
        const char* what;
        std::vector<std::uint32_t> hashes;
    } cases[] = {
        {"reversed", {0x30, 0x20, 0x10}},
        {"repeated hashes keep their order", {9, 4, 1, 4, 9, 4}},
        {"unsigned order", {0x80000000u, 1, 0xFFFFFFFFu, 0x7FFFFFFF}},
        {"already in order", {1, 2, 3}},
        {"empty", {}},
    };
    for (const auto& c : cases) {
        TGXTTable table = TableOf(c.hashes);
        const TGXTTable before = table;
        SortKeysByHash(table);
        const std::vector<std::uint32_t> after = Hashes(table);
        EXPECT_TRUE(std::is_sorted(after.begin(), after.end())) << c.what;
        ASSERT_EQ(table.Texts.size(), before.Texts.size()) << c.what;
        // Each text stands beside the key it stood beside, repeated hashes in their old order.
        std::vector<std::pair<std::uint32_t, std::string>> expected;
        for (std::size_t k = 0; k < before.Keys.size(); ++k)
            expected.emplace_back(before.Keys[k].Hash, before.Texts[k]);
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(table.Keys[k].Hash, expected[k].first) << c.what;
            EXPECT_EQ(table.Texts[k], expected[k].second) << c.what;
        }
        EXPECT_TRUE(KeysSortedByHash(table)) << c.what;
    }
}

TEST(GXTKeySearch, KeysOrTextsWithoutAPartnerStayAtTheEnd)
{
    TGXTTable moreKeys = TableOf({3, 1});
    moreKeys.Keys.push_back({0, 0});
    SortKeysByHash(moreKeys);
    EXPECT_EQ(Hashes(moreKeys), (std::vector<std::uint32_t>{1, 3, 0}));
    EXPECT_EQ(moreKeys.Texts, (std::vector<std::string>{"text 1", "text 0"}));

    TGXTTable moreTexts = TableOf({3, 1});
    moreTexts.Texts.push_back("spare");
    SortKeysByHash(moreTexts);
    EXPECT_EQ(Hashes(moreTexts), (std::vector<std::uint32_t>{1, 3}));
    EXPECT_EQ(moreTexts.Texts, (std::vector<std::string>{"text 1", "text 0", "spare"}));
}
