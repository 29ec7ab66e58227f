#include "renderware/TextureDictionary.h"

#include "fileio/Errors.h"
#include "renderware/PixelDecode.h"

namespace vehmira::renderware {

namespace {
const std::string What = "texture dictionary";
}

TTextureDictionary TTextureDictionary::FromBytes(fileio::ByteBuffer bytes)
{
    TTextureDictionary dictionary;
    dictionary.Bytes = std::move(bytes);
    dictionary.ReadStructure();
    return dictionary;
}

TTextureDictionary TTextureDictionary::FromBytes(std::span<const std::uint8_t> bytes)
{
    return FromBytes(fileio::ByteBuffer(bytes.begin(), bytes.end()));
}

void TTextureDictionary::ReadStructure()
{
    const TChunk root = ReadRootChunk(Bytes, TextureDictionaryChunk, What);
    StreamVersion = root.Version();
    TChunkReader children(root, What);
    const TChunk header = children.Expect(StructChunk, "the dictionary's Struct");
    if (header.Payload.size() < 4)
        throw fileio::TVehmiraError(What + ": the Struct at offset " + std::to_string(header.Offset) + " holds " +
                                    std::to_string(header.Payload.size()) + " bytes, needs 4");
    const std::uint32_t declared = std::uint32_t(header.Payload[0]) | std::uint32_t(header.Payload[1]) << 8;
    Device = std::uint16_t(header.Payload[2] | header.Payload[3] << 8);
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type == TextureNativeChunk)
            Records.push_back(ReadTextureNative(chunk, What + ", texture " + std::to_string(Records.size() + 1)));
    }
    if (Records.size() < declared)
        throw fileio::TVehmiraError(What + ": the Struct declares " + std::to_string(declared) +
                                    " textures, the dictionary holds " + std::to_string(Records.size()));
    // The game reads as many textures as declared and ignores the rest.
    for (std::size_t index = declared; index < Records.size(); ++index)
        Records[index].IgnoredByGame = true;
}

TPlatform TTextureDictionary::Platform() const
{
    TPlatform platform = TPlatform::Unknown;
    for (const TTextureRecord& record : Records) {
        if (platform == TPlatform::Unknown)
            platform = record.Platform;
        else if (platform != record.Platform)
            return TPlatform::Mixed;
    }
    return platform;
}

const TTextureRecord* TTextureDictionary::Find(std::string_view name) const
{
    for (const TTextureRecord& record : Records)
        if (SameTextureName(record.Name, name))
            return &record;
    return nullptr;
}

TRgbaImage TTextureDictionary::DecodeTexture(std::size_t index) const
{
    if (index >= Records.size())
        throw fileio::TVehmiraError(What + ": there is no texture " + std::to_string(index + 1) + " (it holds " +
                                    std::to_string(Records.size()) + ")");
    const TTextureRecord& record = Records[index];
    if (!record.Decodable())
        throw fileio::TVehmiraError(What + ": texture \"" + record.Name + "\" cannot be decoded: " + record.Problem);
    const std::span<const std::uint8_t> all(Bytes);
    return DecodeLevel(record.Format, record.Width, record.Height, all.subspan(record.LevelOffset, record.LevelSize),
                       all.subspan(record.PaletteOffset, record.PaletteSize));
}

} // namespace vehmira::renderware
