// The texture dictionary reader and every decoder: a damaged texture is
// reported on its record, a decodable one decodes to exactly its size.
#include "FuzzSupport.h"
#include "fileio/Errors.h"
#include "renderware/TextureDictionary.h"

#include <optional>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<renderware::TTextureDictionary> dictionary;
    try {
        dictionary.emplace(renderware::TTextureDictionary::FromBytes(AsBytes(data, size)));
    } catch (const TVehmiraError&) {
        return 0;
    }
    const auto& textures = dictionary->Textures();
    for (std::size_t i = 0; i < textures.size(); ++i) {
        try {
            const renderware::TRgbaImage image = dictionary->DecodeTexture(i);
            Require(textures[i].Decodable(), "only a texture without a problem decodes");
            Require(image.Pixels.size() == std::uint64_t(image.Width) * image.Height * 4,
                    "a decoded level holds four bytes per pixel");
            Require(image.Width == textures[i].Width && image.Height == textures[i].Height,
                    "a decoded level has the record's size");
        } catch (const TVehmiraError&) {
            Require(!textures[i].Decodable(), "a texture without a problem decodes");
        }
    }
    return 0;
}
