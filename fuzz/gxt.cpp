// The GXT loader; what loads is saved and loaded again and must give the same tables.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/GXT.h"

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
    return 0;
}
