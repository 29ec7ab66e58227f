#include "gamedata/CRC32Folding.h"

#include "gamedata/CRC32.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define VEHMIRA_CRC32_FOLDING 1
#endif

namespace vehmira::gamedata {

#ifdef VEHMIRA_CRC32_FOLDING

namespace {

// Folding moves a 128-bit piece of the message D bits further on: its high
// 64 coefficients H and low 64 coefficients L become H·x^(D+64) + L·x^D, both
// taken modulo the polynomial P. Bit-reflected operands make the carry-less
// product come out 32 degrees low, so the constants are x^(D+32) mod P and
// x^(D-32) mod P, bit-reflected into 33 bits (coefficient of x^k at bit 32-k).
constexpr std::uint64_t NormalPolynomial = 0x104C11DB7u; // x^32 + ... + 1

constexpr std::uint64_t XPowerModP(unsigned exponent)
{
    std::uint64_t value = 1;
    for (unsigned i = 0; i < exponent; ++i) {
        value <<= 1;
        if (value & (std::uint64_t(1) << 32))
            value ^= NormalPolynomial;
    }
    return value;
}

constexpr std::uint64_t Reflected33(std::uint64_t remainder)
{
    std::uint64_t reflected = 0;
    for (unsigned k = 0; k < 32; ++k)
        if (remainder & (std::uint64_t(1) << k))
            reflected |= std::uint64_t(1) << (32 - k);
    return reflected;
}

constexpr std::uint64_t FoldConstant(unsigned exponent) { return Reflected33(XPowerModP(exponent)); }

constexpr unsigned LaneBits = 128;
constexpr unsigned Lanes = 4;
constexpr std::size_t LaneBytes = LaneBits / 8;
constexpr std::size_t StepBytes = Lanes * LaneBytes;

struct TFoldConstants {
    std::uint64_t ForEarlier; // multiplies H, held in the low half of a lane (the earlier bytes)
    std::uint64_t ForLater;   // multiplies L, held in the high half
};
constexpr TFoldConstants FoldByStep{FoldConstant(Lanes * LaneBits + 32), FoldConstant(Lanes * LaneBits - 32)};
constexpr TFoldConstants FoldByLane{FoldConstant(LaneBits + 32), FoldConstant(LaneBits - 32)};

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i value, __m128i constants, __m128i next)
{
    const __m128i earlier = _mm_clmulepi64_si128(value, constants, 0x00);
    const __m128i later = _mm_clmulepi64_si128(value, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(earlier, later), next);
}

__attribute__((target("pclmul,sse2"))) inline __m128i Constants(TFoldConstants constants)
{
    return _mm_set_epi64x(static_cast<long long>(constants.ForLater), static_cast<long long>(constants.ForEarlier));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const std::uint8_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

__attribute__((target("pclmul,sse2"))) std::uint32_t FoldWhole(std::span<const std::uint8_t> buffer,
                                                               std::uint32_t crcRegister)
{
    const std::uint8_t* at = buffer.data();
    std::size_t left = buffer.size();
    // The register stands for the first 32 message bits it has not yet been combined with.
    __m128i lanes[Lanes];
    for (unsigned i = 0; i < Lanes; ++i)
        lanes[i] = Load(at + i * LaneBytes);
    lanes[0] = _mm_xor_si128(lanes[0], _mm_cvtsi32_si128(int(crcRegister)));
    at += StepBytes;
    left -= StepBytes;

    const __m128i byStep = Constants(FoldByStep);
    for (; left >= StepBytes; at += StepBytes, left -= StepBytes)
        for (unsigned i = 0; i < Lanes; ++i)
            lanes[i] = Fold(lanes[i], byStep, Load(at + i * LaneBytes));

    const __m128i byLane = Constants(FoldByLane);
    __m128i folded = lanes[0];
    for (unsigned i = 1; i < Lanes; ++i)
        folded = Fold(folded, byLane, lanes[i]);
    for (; left >= LaneBytes; at += LaneBytes, left -= LaneBytes)
        folded = Fold(folded, byLane, Load(at));

    // The folded 128 bits carry the whole message so far; the register of a
    // CRC started at zero over them is the register after those bytes.
    alignas(16) std::uint8_t remainder[LaneBytes];
    _mm_store_si128(reinterpret_cast<__m128i*>(remainder), folded);
    crcRegister = CRC32UpdateBySlicing(remainder, 0);
    return CRC32UpdateBySlicing({at, left}, crcRegister);
}

bool ProcessorHasCarrylessMultiply()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_PCLMUL) != 0 && (edx & bit_SSE2) != 0;
}

} // namespace

bool CarrylessFoldingAvailable()
{
    static const bool available = ProcessorHasCarrylessMultiply();
    return available;
}

std::uint32_t CRC32UpdateFolding(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    if (buffer.size() < StepBytes)
        return CRC32UpdateBySlicing(buffer, crcRegister);
    return FoldWhole(buffer, crcRegister);
}

#else

bool CarrylessFoldingAvailable() { return false; }

std::uint32_t CRC32UpdateFolding(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister)
{
    return CRC32UpdateBySlicing(buffer, crcRegister);
}

#endif

} // namespace vehmira::gamedata
