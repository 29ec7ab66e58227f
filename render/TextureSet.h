#pragma once
// The textures a model's materials name, found as the game finds them: in the
// dictionaries in the order given (the shared vehicle dictionary first, then
// the model's own), names compared ignoring ASCII case. Each texture is
// decoded once, when first asked for.

#include "renderware/RgbaImage.h"
#include "renderware/TextureDictionary.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::render {

struct TTexture {
    renderware::TRgbaImage Image;  // never empty
    bool Translucent = false;      // some texel has alpha below 255
};

// Whether two texture names are the same to the game: ASCII case ignored.
bool SameTextureName(std::string_view a, std::string_view b);

class TTextureSet {
public:
    TTextureSet() = default;
    // The dictionaries must outlive the set; null entries are skipped.
    explicit TTextureSet(std::vector<const renderware::TTextureDictionary*> lookupOrder);

    // nullptr when no dictionary has a decodable texture of that name.
    const TTexture* Find(std::string_view name);

private:
    std::vector<const renderware::TTextureDictionary*> Dictionaries;
    std::map<std::string, std::optional<TTexture>> Decoded;  // by the name in capitals
};

} // namespace vehmira::render
