// The GXT main-table view of the vehicle list: it accepts every file the loader
// accepts and shows the loader's main table.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTMainTable.h"

#include <optional>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

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
    return textBytes == SIZE_MAX; // keeps the walk over the texts
}
