// The GXT main-table view of the vehicle list: it accepts every file the loader
// accepts and shows the loader's main table; it finds a key as the game's
// binary search does (modelled here apart from the code), and warns exactly
// when the keys are out of hash order.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTKeySearch.h"
#include "gamedata/GXTMainTable.h"

#include <optional>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

// The game's search as its routine reads, for tables of up to 32768 keys,
// where its 16-bit indices do not wrap.
std::optional<std::size_t> GameSearch(const TGXTMainTableView& view, std::uint32_t wanted)
{
    long low = 0;
    long high = long(view.KeyCount()) - 1;
    while (low <= high) {
        const long middle = (low + high) / 2;
        const std::uint32_t stored = view.Hash(std::size_t(middle));
        if (stored == wanted)
            return std::size_t(middle);
        if (wanted < stored)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return std::nullopt;
}

void CheckSearch(const TGXTMainTableView& view, const TGXTTable& main)
{
    bool sorted = true;
    for (std::size_t k = 1; k < view.KeyCount(); ++k)
        sorted = sorted && view.Hash(k - 1) <= view.Hash(k);
    Require(view.KeysSortedByHash() == sorted, "the view tells a sorted key block");
    Require(CheckMainTableKeyOrder(view, "x").has_value() == !sorted, "the warning comes exactly when out of order");
    if (view.KeyCount() > 32768)
        return;
    std::size_t missed = 0;
    for (std::size_t k = 0; k < view.KeyCount(); ++k) {
        const std::optional<std::size_t> found = view.FindKeyAsTheGame(view.Hash(k));
        Require(found == GameSearch(view, view.Hash(k)), "the view finds the key the game's search finds");
        Require(found == FindKeyAsTheGame(main, view.Hash(k)), "the view and the loaded table search alike");
        missed += !found;
        if (sorted)
            Require(found.has_value(), "in hash order every key is found");
    }
    Require(view.KeysTheGameMisses() == missed, "the keys the game misses are counted");
    for (const std::uint32_t absent : {0u, 0xFFFFFFFFu, view.KeyCount() ? view.Hash(0) ^ 1u : 7u})
        Require(view.FindKeyAsTheGame(absent) == GameSearch(view, absent), "a probe finds what the game finds");
}

} // namespace


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<TGXTMainTableView> view;
    try {
        view.emplace(AsBytes(data, size));
    } catch (const TVehmiraError&) {
    }
    std::size_t textBytes = 0;
    if (view)
        for (std::size_t k = 0; k < view->KeyCount(); ++k)
            textBytes += view->Text(k).size() + (view->Hash(k) & 1);

    TGXTFile file;
    try {
        file.LoadFromBytes(AsBytes(data, size));
    } catch (const TVehmiraError&) {
        return 0;
    }
    Require(view.has_value(), "the view accepts every file the loader accepts");
    if (file.Tables.empty()) {
        Require(view->KeyCount() == 0, "a file without tables has no main keys");
        return 0;
    }
    const TGXTTable& main = file.Tables[0];
    Require(view->KeyCount() == main.Keys.size(), "the view counts the loader's main keys");
    for (std::size_t k = 0; k < main.Keys.size(); ++k) {
        Require(view->Hash(k) == main.Keys[k].Hash, "the view's hashes are the loader's");
        Require(view->Text(k) == main.Texts[k], "the view's texts are the loader's");
    }
    CheckSearch(*view, main);
    return textBytes == SIZE_MAX; // keeps the walk over the texts
}
