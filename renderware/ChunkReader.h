#pragma once
// Walking the chunks of a RenderWare binary stream.
//
// A stream is a tree of chunks. Each chunk is a 12-byte header, little-endian:
//   offset 0  u32  type (the object or plugin ID, e.g. 0x10 clump)
//   offset 4  u32  size of the payload that follows the header, in bytes
//   offset 8  u32  library ID stamp (see LibraryVersion.h)
// then the payload. A container chunk's payload is its child chunks one after
// another, the first usually a Struct chunk (type 1) holding the container's
// own fields; an Extension chunk (type 3) holds plugin chunks.
//
// The reader checks that every chunk lies inside its parent (a file's root
// chunk inside the file) and stops descending past MaxChunkDepth, so a
// damaged size can neither read outside the data nor recurse without end.

#include "fileio/ByteOrder.h"
#include "renderware/LibraryVersion.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vehmira::renderware {

// The chunk types: the one home of the format's numbers, for the readers, the
// root-chunk rule and the demo's writer alike.
inline constexpr std::uint32_t StructChunk = 0x01;
inline constexpr std::uint32_t StringChunk = 0x02;
inline constexpr std::uint32_t ExtensionChunk = 0x03;
inline constexpr std::uint32_t TextureChunk = 0x06;
inline constexpr std::uint32_t MaterialChunk = 0x07;
inline constexpr std::uint32_t MaterialListChunk = 0x08;
inline constexpr std::uint32_t FrameListChunk = 0x0E;
inline constexpr std::uint32_t GeometryChunk = 0x0F;
inline constexpr std::uint32_t ClumpChunk = 0x10;
inline constexpr std::uint32_t AtomicChunk = 0x14;
inline constexpr std::uint32_t TextureNativeChunk = 0x15;
inline constexpr std::uint32_t TextureDictionaryChunk = 0x16;
inline constexpr std::uint32_t GeometryListChunk = 0x1A;
// May stand before a model's clump; the game skips it when it loads a vehicle.
inline constexpr std::uint32_t UVAnimationDictionaryChunk = 0x2B;
inline constexpr std::uint32_t NativeDataPluginChunk = 0x510;
// The game's own plugin: a frame's name, as plain text filling the payload.
inline constexpr std::uint32_t FrameNamePluginChunk = 0x253F2FE;
// The game's own plugin in a clump's extension: the vehicle's collision model.
inline constexpr std::uint32_t CollisionPluginChunk = 0x253F2FA;

inline constexpr std::size_t ChunkHeaderSize = 12;
inline constexpr unsigned MaxChunkDepth = 16;

struct TChunk {
    std::uint32_t Type = 0;
    std::uint32_t Stamp = 0;
    std::uint64_t Offset = 0;  // of the header, from the start of the stream
    unsigned Depth = 0;        // 0 for the root chunk
    std::span<const std::uint8_t> Payload;

    TLibraryVersion Version() const { return DecodeLibraryStamp(Stamp); }
    std::uint64_t PayloadOffset() const { return Offset + ChunkHeaderSize; }
};

// "0x15"
std::string HexText(std::uint32_t value);
// "chunk 0x15 at offset 1234"
std::string DescribeChunk(std::uint32_t type, std::uint64_t offset);

// The chunks one after another in a payload (or in a whole stream). Every
// failure raises TVehmiraError naming `what` (e.g. "texture dictionary") and
// the offset.
class TChunkReader {
public:
    TChunkReader(std::span<const std::uint8_t> data, std::string what);
    // The children of a container chunk.
    TChunkReader(const TChunk& parent, std::string what);

    bool AtEnd() const { return Pos == Data.size(); }
    std::size_t Remaining() const { return Data.size() - Pos; }
    TChunk Next();
    // The next chunk, which must be of the given type ("a Struct chunk").
    TChunk Expect(std::uint32_t type, std::string_view typeName);

private:
    std::span<const std::uint8_t> Data;
    std::uint64_t BaseOffset = 0;
    unsigned Depth = 0;
    std::string What;
    std::size_t Pos = 0;
};

// The stream's root chunk, which must be of the given type; bytes after it
// (archive sector padding) are ignored. A clump whose stated size counts its
// own header too (12 bytes more than follow it) is taken to end with the data.
TChunk ReadRootChunk(std::span<const std::uint8_t> data, std::uint32_t type, std::string_view what);

// A String chunk's text: up to the first zero byte.
std::string StringChunkText(const TChunk& chunk);
// A fixed-size text field: up to the first zero byte.
std::string FixedText(std::span<const std::uint8_t> field);

} // namespace vehmira::renderware
