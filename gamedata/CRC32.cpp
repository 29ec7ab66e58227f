#include "gamedata/CRC32.h"

#include "gamedata/AsciiCase.h"

#include "fileio/ByteOrder.h"
#include "gamedata/CRC32Folding.h"

namespace vehmira::gamedata {

namespace {

constexpr std::uint32_t Polynomial = 0xEDB88320u;
constexpr std::uint32_t InitialRegister = 0xFFFFFFFFu;
// Below this the setup of the folding costs more than it saves (GXT keys, short lines).
constexpr std::size_t FoldingThreshold = 256;

constexpr std::array<std::uint32_t, 256> BuildCRC32Table()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1u) ? (value >> 1) ^ Polynomial : value >> 1;
        table[i] = value;
    }
    return table;
}

// Slicing by 8: Slices[k][b] is the register change of byte b followed by k zero bytes,
// so eight bytes are folded in with eight independent look-ups.
using TSliceTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr TSliceTables BuildSliceTables()
{
    TSliceTables slices{};
    slices[0] = BuildCRC32Table();
    for (std::size_t k = 1; k < slices.size(); ++k)
        for (std::size_t b = 0; b < 256; ++b)
            slices[k][b] = (slices[k - 1][b] >> 8) ^ slices[0][slices[k - 1][b] & 0xFFu];
    return slices;
}

constexpr TSliceTables Slices = BuildSliceTables();

std::uint32_t UpdateBytewise(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    for (const std::uint8_t byte : buffer)
        crcRegister = Slices[0][(crcRegister ^ byte) & 0xFFu] ^ (crcRegister >> 8);
    return crcRegister;
}

} // namespace

constinit const std::array<std::uint32_t, 256> CRC32Table = BuildCRC32Table();

std::uint32_t CRC32Update(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    if (buffer.size() >= FoldingThreshold && CarrylessFoldingAvailable())
        return CRC32UpdateFolding(buffer, crcRegister);
    return CRC32UpdateBySlicing(buffer, crcRegister);
}

std::uint32_t CRC32UpdateBySlicing(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    constexpr std::size_t Stride = 8;
    while (buffer.size() >= Stride) {
        const std::uint32_t low = crcRegister ^ fileio::LoadU32LE(buffer.first<4>());
        const std::uint32_t high = fileio::LoadU32LE(buffer.subspan<4, 4>());
        crcRegister = Slices[7][low & 0xFFu] ^ Slices[6][(low >> 8) & 0xFFu] ^ Slices[5][(low >> 16) & 0xFFu] ^
                      Slices[4][low >> 24] ^ Slices[3][high & 0xFFu] ^ Slices[2][(high >> 8) & 0xFFu] ^
                      Slices[1][(high >> 16) & 0xFFu] ^ Slices[0][high >> 24];
        buffer = buffer.subspan(Stride);
    }
    return UpdateBytewise(buffer, crcRegister);
}

std::uint32_t CRC32Buffer(std::span<const std::uint8_t> buffer) { return ~CRC32Update(buffer, InitialRegister); }

std::uint32_t GXTKeyHash(std::string_view key)
{
    // The game upper-cases a key (ASCII letters only) before it hashes it, so
    // "infernu" in a definition line finds the text stored under "INFERNU".
    std::uint32_t crcRegister = InitialRegister;
    for (const char c : key)
        crcRegister = Slices[0][(crcRegister ^ std::uint8_t(UpperAscii(c))) & 0xFFu] ^ (crcRegister >> 8);
    return crcRegister;
}

} // namespace vehmira::gamedata
