#include "render/TextureSet.h"

#include "fileio/Errors.h"

#include <algorithm>

namespace vehmira::render {

namespace {

std::string Capitals(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return key;
}

std::optional<TTexture> Decode(const renderware::TTextureDictionary& dictionary, const renderware::TTextureRecord& record)
{
    if (!record.Decodable())
        return std::nullopt;
    const std::size_t index = std::size_t(&record - dictionary.Textures().data());
    try {
        TTexture texture;
        texture.Image = dictionary.DecodeTexture(index);
        if (texture.Image.Empty() || texture.Image.Pixels.size() != std::size_t(texture.Image.Width) * texture.Image.Height * 4)
            return std::nullopt;
        for (std::size_t i = 3; i < texture.Image.Pixels.size() && !texture.Translucent; i += 4)
            texture.Translucent = texture.Image.Pixels[i] < 255;
        return texture;
    } catch (const fileio::TVehmiraError&) {
        return std::nullopt;
    }
}

} // namespace

bool SameTextureName(std::string_view a, std::string_view b) { return Capitals(a) == Capitals(b); }

TTextureSet::TTextureSet(std::vector<const renderware::TTextureDictionary*> lookupOrder)
{
    std::copy_if(lookupOrder.begin(), lookupOrder.end(), std::back_inserter(Dictionaries),
                 [](const auto* dictionary) { return dictionary != nullptr; });
}

// The first dictionary that has the name decides, as in the game: a texture
// there that cannot be decoded is not looked for further.
const TTexture* TTextureSet::Find(std::string_view name)
{
    if (name.empty())
        return nullptr;
    const std::string key = Capitals(name);
    auto found = Decoded.find(key);
    if (found == Decoded.end()) {
        std::optional<TTexture> texture;
        for (const renderware::TTextureDictionary* dictionary : Dictionaries)
            if (const renderware::TTextureRecord* record = dictionary->Find(name)) {
                texture = Decode(*dictionary, *record);
                break;
            }
        found = Decoded.emplace(key, std::move(texture)).first;
    }
    return found->second ? &*found->second : nullptr;
}

} // namespace vehmira::render
