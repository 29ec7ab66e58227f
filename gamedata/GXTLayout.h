#pragma once
// The layout of a GXT file, shared by the full reader and writer (GXT.cpp) and
// the main-table view the vehicle list uses (GXTMainTable.cpp).
//
// Layout of a GXT file (integers little-endian, unsigned 32-bit):
//   0       4    header word: u16 version 4, u16 bits per character, 8 in
//                the PC game's files, 16 in the mobile ports' (texts of
//                UTF-16LE characters, each ended by a zero character);
//                any other width is read as 8

//   4       4    "TABL"
//   8       4    size of the table directory = 12 x table count
//   12+12i  8    name of table i, NUL-padded
//   20+12i  4    position of table i's block
// A table block:
//   8        name (mission tables only; the main table's block starts with the key magic)
//   4        key magic, kept as read
//   4        key block size = 8 x key count
//   8 each   key entries: text offset, hash
//   4        "TDAT"
//   4        text block size = length of the text data + 2
//   ...      text data: each text followed by one zero character; offsets count
//            from here, in bytes
//   2        two zero bytes
// A table's texts start 24 + key block size bytes after its base, the base being
// the main table's position moved back by 8, so all tables read alike.

#include "fileio/Errors.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

namespace vehmira::gamedata {

namespace GXTLayout {
constexpr std::array<std::uint8_t, 4> HeaderWord{0x04, 0x00, 0x08, 0x00};
constexpr std::array<std::uint8_t, 4> WideHeaderWord{0x04, 0x00, 0x10, 0x00};
constexpr std::array<std::uint8_t, 4> TableMagic{'T', 'A', 'B', 'L'};
constexpr std::array<std::uint8_t, 4> TextMagic{'T', 'D', 'A', 'T'};
constexpr std::array<char, 8> DefaultMainName{'M', 'A', 'I', 'N'};
constexpr std::uint64_t HeaderSize = 12;
constexpr std::uint64_t DirectoryEntrySize = 12;
constexpr std::uint64_t NameSize = 8;
constexpr std::uint64_t TableHeaderSize = 16; // name, key magic, key block size
constexpr std::uint64_t KeyEntrySize = 8;
constexpr std::uint64_t TextHeaderSize = 8; // "TDAT", text block size
constexpr std::uint32_t TextBlockTail = 2;   // two zero bytes counted in the text block size

// Bytes per character, told by the header word (whose presence the caller checked).
inline std::uint32_t CharacterSizeOf(std::span<const std::uint8_t> file)
{
    return file[2] == WideHeaderWord[2] && file[3] == WideHeaderWord[3] ? 2 : 1;
}

// The length of the text at the start of data: up to its first zero character,
// else every whole character to the end.
inline std::size_t TextLength(std::span<const std::uint8_t> data, std::uint32_t characterSize)
{
    if (characterSize == 1) {
        const void* zero = data.empty() ? nullptr : std::memchr(data.data(), 0, data.size());
        return zero ? std::size_t(static_cast<const std::uint8_t*>(zero) - data.data()) : data.size();
    }
    std::size_t length = 0;
    while (data.size() - length >= 2 && (data[length] != 0 || data[length + 1] != 0))
        length += 2;
    return length;
}

// Every malformed file gets the one error a wrong "TABL" gets.
[[noreturn]] inline void FailNotGXT()
{
    throw fileio::TVehmiraError(fileio::TErrorKind::NotGXTFile, "the file is not a readable GXT file");
}
} // namespace GXTLayout

} // namespace vehmira::gamedata
