#include "gamedata/CRC32.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace vehmira::gamedata;

namespace {

std::span<const std::uint8_t> BytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The definition: one table look-up per byte.
std::uint32_t ReferenceUpdate(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    for (const std::uint8_t byte : buffer)
        crcRegister = CRC32Table[(crcRegister ^ byte) & 0xFF] ^ (crcRegister >> 8);
    return crcRegister;
}

TEST(CRC32, TableIsTheReflectedPolynomialTable)
{
    EXPECT_EQ(CRC32Table[0], 0x00000000u);
    EXPECT_EQ(CRC32Table[1], 0x77073096u);
    EXPECT_EQ(CRC32Table[128], 0xEDB88320u);
    EXPECT_EQ(CRC32Table[255], 0x2D02EF8Du);
}

TEST(CRC32, KnownValues)
{
    const std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> cases{
        // text, standard CRC-32, key hash (of the text upper-cased, as the game looks keys up)
        {"", 0x00000000u, 0xFFFFFFFFu},
        {"abc", 0x352441C2u, 0x5C7CFCB7u},
        {"ABC", 0xA3830348u, 0x5C7CFCB7u},
        {"123456789", 0xCBF43926u, 0x340BC6D9u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u, 0xB3CD4946u},
        // only ASCII letters fold: code page 1251 letters hash as they are
        {"\xE0", 0x72080DF5u, 0x8DF7F20Au},
    };
    for (const auto& [text, crc, hash] : cases) {
        EXPECT_EQ(CRC32Buffer(BytesOf(text)), crc) << text;
        EXPECT_EQ(GXTKeyHash(text), hash) << text;
    }
}

TEST(CRC32, FastUpdateMatchesTheDefinitionAtEveryLengthAndAlignment)
{
    std::vector<std::uint8_t> data(300);
    std::iota(data.begin(), data.end(), std::uint8_t(7));
    for (std::size_t start = 0; start < 9; ++start)
        for (std::size_t length = 0; start + length <= data.size(); length += 1 + length / 8) {
            const auto part = std::span<const std::uint8_t>(data).subspan(start, length);
            ASSERT_EQ(CRC32Update(part, 0x12345678u), ReferenceUpdate(part, 0x12345678u))
                << "start " << start << ", length " << length;
        }
}

TEST(CRC32, UpdateCarriesTheRegisterAcrossPieces)
{
    const std::string text = "The quick brown fox jumps over the lazy dog";
    const auto bytes = BytesOf(text);
    const std::uint32_t split = CRC32Update(bytes.subspan(13), CRC32Update(bytes.first(13), 0xFFFFFFFFu));
    EXPECT_EQ(~split, CRC32Buffer(bytes));
    EXPECT_EQ(CRC32Update({}, 0xDEADBEEFu), 0xDEADBEEFu);
}

} // namespace
