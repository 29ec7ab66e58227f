// The GXT loader; what loads is saved and loaded again and must give the same
// tables. Putting the main table in hash order keeps every key with its text,
// after which the game's search finds every key.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTKeySearch.h"

#include <algorithm>
#include <utility>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

bool SameTables(const TGXTFile& a, const TGXTFile& b)
{
    if (a.Tables.size() != b.Tables.size())
        return false;
    for (std::size_t t = 0; t < a.Tables.size(); ++t) {
        const TGXTTable& x = a.Tables[t];
        const TGXTTable& y = b.Tables[t];
        // The main table's Name is whatever stands before its block, so only mission tables compare it.
        if ((t > 0 && x.Name != y.Name) || x.KeyMagic != y.KeyMagic || x.Texts != y.Texts ||
            x.Keys.size() != y.Keys.size() || (t == 0 && x.DirectoryName != y.DirectoryName))
            return false;
        for (std::size_t k = 0; k < x.Keys.size(); ++k)
            if (x.Keys[k].Hash != y.Keys[k].Hash)
                return false;
    }
    return true;
}

std::vector<std::pair<std::uint32_t, std::string>> Pairs(const TGXTTable& table)
{
    std::vector<std::pair<std::uint32_t, std::string>> pairs;
    for (std::size_t k = 0; k < SearchedKeyCount(table); ++k)
        pairs.emplace_back(table.Keys[k].Hash, table.Texts[k]);
    return pairs;
}

void CheckSorting(const TGXTFile& loaded)
{
    if (loaded.Tables.empty())
        return;
    TGXTTable sorted = loaded.Tables[0];
    SortKeysByHash(sorted);
    Require(KeysSortedByHash(sorted), "a sorted main table is in hash order");
    std::vector<std::pair<std::uint32_t, std::string>> before = Pairs(loaded.Tables[0]);
    std::stable_sort(before.begin(), before.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Require(Pairs(sorted) == before, "sorting keeps every text with its key, keys of one hash in their order");
    // The game's 16-bit indices take up to 32768 keys.
    if (sorted.Keys.size() > 32768)
        return;
    for (std::size_t k = 0; k < sorted.Keys.size(); ++k) {
        const std::optional<std::size_t> found = FindKeyAsTheGame(sorted, sorted.Keys[k].Hash);
        Require(found && sorted.Keys[*found].Hash == sorted.Keys[k].Hash, "in hash order the game finds every key");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TGXTFile loaded;
    try {
        loaded.LoadFromBytes(AsBytes(data, size));
    } catch (const TVehmiraError&) {
        return 0;
    }
    const ByteBuffer saved = loaded.SaveToBytes();
    TGXTFile reloaded;
    reloaded.LoadFromBytes(saved);
    Require(SameTables(loaded, reloaded), "a saved GXT file loads as the tables it was saved from");
    Require(reloaded.SaveToBytes() == saved, "saving a reloaded GXT file gives the same bytes");
    CheckSorting(loaded);
    return 0;
}
