#pragma once
// Which RenderWare stream a file or a package piece holds, told by its root
// chunk alone: real files carry chunk sizes that overrun the file, extra
// chunks and sector fill, so nothing past the first chunk type is checked.
//   model (DFF)               a clump (0x10), or a UV animation dictionary (0x2B) before it
//   texture dictionary (TXD)  a texture dictionary (0x16)

#include <cstdint>
#include <optional>
#include <span>

namespace vehmira::renderware {

enum class TRenderWareStream { Model, TextureDictionary };

// The type of the first chunk, or nothing when fewer than 4 bytes are given.
std::optional<std::uint32_t> RootChunkType(std::span<const std::uint8_t> firstBytes);

bool IsRootOf(TRenderWareStream stream, std::optional<std::uint32_t> rootChunkType);

} // namespace vehmira::renderware
