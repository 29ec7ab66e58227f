#include "gamedata/CodePage1251.h"

#include <array>
#include <cstdint>

namespace vehmira::gamedata {

namespace {

constexpr char16_t Unassigned = 0xFFFD;
constexpr std::uint8_t FirstUpperByte = 0x80;

// Code page 1251 from 0x80 to 0xFF; below 0x80 it is ASCII. 0x98 has no character.
constexpr std::array<char16_t, 128> UpperHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    Unassigned, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

char16_t DecodeByte(char byte)
{
    const auto code = static_cast<std::uint8_t>(byte);
    return code < FirstUpperByte ? char16_t(code) : UpperHalf[code - FirstUpperByte];
}

std::optional<char> EncodeCodePoint(char32_t codePoint)
{
    if (codePoint < FirstUpperByte)
        return char(codePoint);
    if (codePoint == Unassigned)
        return std::nullopt;
    for (std::size_t i = 0; i < UpperHalf.size(); ++i)
        if (UpperHalf[i] == codePoint)
            return char(FirstUpperByte + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out.push_back(char(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(char(0xC0 | (codePoint >> 6)));
        out.push_back(char(0x80 | (codePoint & 0x3F)));
    } else {
        // Every character of the code page lies in the Basic Multilingual Plane.
        out.push_back(char(0xE0 | (codePoint >> 12)));
        out.push_back(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(char(0x80 | (codePoint & 0x3F)));
    }
}

// The next code point of well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF), or nothing.
std::optional<char32_t> NextUtf8(std::string_view& text)
{
    const auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        length = 1, codePoint = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    text.remove_prefix(length);
    return codePoint;
}

// The next code point of UTF-16 (surrogates only in pairs), or nothing.
std::optional<char32_t> NextUtf16(std::u16string_view& text)
{
    const char16_t first = text[0];
    if (first < 0xD800 || first > 0xDFFF) {
        text.remove_prefix(1);
        return first;
    }
    if (first > 0xDBFF || text.size() < 2 || text[1] < 0xDC00 || text[1] > 0xDFFF)
        return std::nullopt;
    const char32_t codePoint = 0x10000 + ((char32_t(first) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
    text.remove_prefix(2);
    return codePoint;
}

} // namespace

std::string Cp1251ToUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char byte : text)
        AppendUtf8(result, DecodeByte(byte));
    return result;
}

std::optional<std::string> Utf8ToCp1251(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::optional<char32_t> codePoint = NextUtf8(text);
        const std::optional<char> byte = codePoint ? EncodeCodePoint(*codePoint) : std::nullopt;
        if (!byte)
            return std::nullopt;
        result.push_back(*byte);
    }
    return result;
}

std::u16string Cp1251ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (const char byte : text)
        result.push_back(DecodeByte(byte));
    return result;
}

std::optional<std::string> Utf16ToCp1251(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::optional<char32_t> codePoint = NextUtf16(text);
        const std::optional<char> byte = codePoint ? EncodeCodePoint(*codePoint) : std::nullopt;
        if (!byte)
            return std::nullopt;
        result.push_back(*byte);
    }
    return result;
}

} // namespace vehmira::gamedata
