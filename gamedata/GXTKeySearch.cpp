#include "gamedata/GXTKeySearch.h"

#include <algorithm>
#include <numeric>

namespace vehmira::gamedata {

std::size_t SearchedKeyCount(const TGXTTable& table) { return std::min(table.Keys.size(), table.Texts.size()); }

std::optional<std::size_t> FindKeyAsTheGame(const TGXTTable& table, std::uint32_t hash)
{
    return FindKeyAsTheGame(SearchedKeyCount(table), hash, [&](std::size_t k) { return table.Keys[k].Hash; });
}

bool KeysSortedByHash(const TGXTTable& table)
{
    return KeysSortedByHash(SearchedKeyCount(table), [&](std::size_t k) { return table.Keys[k].Hash; });
}

void SortKeysByHash(TGXTTable& table)
{
    const std::size_t count = SearchedKeyCount(table);
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return table.Keys[a].Hash < table.Keys[b].Hash; });
    std::vector<TGXTKey> keys;
    std::vector<std::string> texts;
    keys.reserve(table.Keys.size());
    texts.reserve(count);
    for (const std::size_t k : order) {
        keys.push_back(table.Keys[k]);
        texts.push_back(std::move(table.Texts[k]));
    }
    // Keys or texts past the pairs (a table the writer refuses) keep their places at the end.
    keys.insert(keys.end(), table.Keys.begin() + std::ptrdiff_t(count), table.Keys.end());
    for (std::size_t t = count; t < table.Texts.size(); ++t)
        texts.push_back(std::move(table.Texts[t]));
    table.Keys = std::move(keys);
    table.Texts = std::move(texts);
}

} // namespace vehmira::gamedata
