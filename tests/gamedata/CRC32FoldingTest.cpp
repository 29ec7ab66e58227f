#include "gamedata/CRC32.h"
#include "gamedata/CRC32Folding.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace vehmira::gamedata;

namespace {

// The definition: one table look-up per byte.
std::uint32_t ReferenceUpdate(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    for (const std::uint8_t byte : buffer)
        crcRegister = CRC32Table[(crcRegister ^ byte) & 0xFF] ^ (crcRegister >> 8);
    return crcRegister;
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = std::uint8_t(generator());
    return bytes;
}

using TUpdate = std::uint32_t (*)(std::span<const std::uint8_t>, std::uint32_t);

struct TUpdateCase {
    const char* Name;
    TUpdate Update;
    bool NeedsCarrylessMultiply;
};

const TUpdateCase UpdateCases[] = {
    {"CRC32Update", CRC32Update, false},
    {"CRC32UpdateBySlicing", CRC32UpdateBySlicing, false},
    {"CRC32UpdateFolding", CRC32UpdateFolding, true},
};

// Lengths around every boundary of the folding: one lane (16), one step (64),
// the threshold of CRC32Update (256), and remainders of each.
TEST(CRC32Folding, EveryWayMatchesTheDefinitionAtManyLengthsAndAlignments)
{
    const std::vector<std::uint8_t> data = RandomBytes(1400, 11);
    const std::uint32_t registers[] = {0xFFFFFFFFu, 0u, 0x12345678u};
    for (const TUpdateCase& way : UpdateCases) {
        if (way.NeedsCarrylessMultiply && !CarrylessFoldingAvailable())
            continue;
        for (std::size_t start = 0; start < 17; ++start)
            for (std::size_t length = 0; start + length <= data.size(); length += length < 300 ? 1 : 37)
                for (const std::uint32_t crcRegister : registers) {
                    const auto part = std::span<const std::uint8_t>(data).subspan(start, length);
                    ASSERT_EQ(way.Update(part, crcRegister), ReferenceUpdate(part, crcRegister))
                        << way.Name << ": start " << start << ", length " << length << ", register " << crcRegister;
                }
    }
}

TEST(CRC32Folding, LongBuffersMatchTheDefinition)
{
    const std::vector<std::uint8_t> data = RandomBytes((std::size_t(1) << 20) + 77, 12);
    const std::uint32_t expected = ReferenceUpdate(data, 0xFFFFFFFFu);
    EXPECT_EQ(CRC32Update(data, 0xFFFFFFFFu), expected);
    EXPECT_EQ(CRC32UpdateBySlicing(data, 0xFFFFFFFFu), expected);
    if (CarrylessFoldingAvailable()) {
        EXPECT_EQ(CRC32UpdateFolding(data, 0xFFFFFFFFu), expected);
    }
}

// Runs of one value are where a wrong folding constant cancels least.
TEST(CRC32Folding, UniformBuffersMatchTheDefinition)
{
    for (const std::uint8_t value : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(0x80), std::uint8_t(0x01)}) {
        const std::vector<std::uint8_t> data(4099, value);
        EXPECT_EQ(CRC32Update(data, 0xFFFFFFFFu), ReferenceUpdate(data, 0xFFFFFFFFu)) << int(value);
        EXPECT_EQ(CRC32Update(data, 0u), ReferenceUpdate(data, 0u)) << int(value);
    }
}

TEST(CRC32Folding, KnownValuesOfLongBuffers)
{
    // The standard CRC-32 of these buffers as other tools print it.
    const std::vector<std::uint8_t> zeros(std::size_t(1) << 20, 0);
    EXPECT_EQ(CRC32Buffer(zeros), 0xA738EA1Cu);
    std::vector<std::uint8_t> digits;
    std::vector<std::uint8_t> counting;
    for (int i = 0; i < 100; ++i)
        for (char digit = '1'; digit <= '9'; ++digit)
            digits.push_back(std::uint8_t(digit));
    for (int i = 0; i < 20 * 256; ++i)
        counting.push_back(std::uint8_t(i));
    EXPECT_EQ(CRC32Buffer(digits), 0x09FD0FD7u);
    EXPECT_EQ(CRC32Buffer(counting), 0x670222CBu);
}

} // namespace
