#pragma once
// A texture dictionary (.txd) of the PC game, read for listing and preview.
//
// The root chunk is a Texture Dictionary (0x16); its children:
//   Struct (1)            u16 texture count, u16 device ID (1 Direct3D 8,
//                         2 Direct3D 9, 0 unspecified)
//   Texture Native (0x15) one per texture (see TextureNative.h)
//   Extension (3)         plugins of the dictionary
//
// Loading reads only the headers: names, sizes, formats, and where each
// texture's first level lies. DecodeTexture turns one texture into RGBA
// later; it reads nothing but the dictionary's own bytes and changes nothing,
// so several threads may decode textures of one dictionary at once.

#include "fileio/ByteOrder.h"
#include "renderware/LibraryVersion.h"
#include "renderware/Platform.h"
#include "renderware/RgbaImage.h"
#include "renderware/TextureNative.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vehmira::renderware {

class TTextureDictionary {
public:
    // Reads the structure; a damaged one raises TVehmiraError. Textures that
    // are damaged or in formats Vehmira does not decode are listed with a
    // Problem and do not stop the others from loading.
    static TTextureDictionary FromBytes(fileio::ByteBuffer bytes);
    static TTextureDictionary FromBytes(std::span<const std::uint8_t> bytes);

    const std::vector<TTextureRecord>& Textures() const { return Records; }
    TLibraryVersion Version() const { return StreamVersion; }
    std::uint16_t DeviceId() const { return Device; }
    // PC when every texture is a Direct3D one; Unknown for an empty dictionary.
    TPlatform Platform() const;

    // The first texture of that name, compared as the game does (ASCII letters
    // in either case); nullptr when there is none.
    const TTextureRecord* Find(std::string_view name) const;

    // The first mip level as RGBA. Raises TVehmiraError naming the texture
    // when its record has a Problem.
    TRgbaImage DecodeTexture(std::size_t index) const;

private:
    TTextureDictionary() = default;
    void ReadStructure();

    fileio::ByteBuffer Bytes;
    std::vector<TTextureRecord> Records;
    TLibraryVersion StreamVersion;
    std::uint16_t Device = 0;
};

} // namespace vehmira::renderware
