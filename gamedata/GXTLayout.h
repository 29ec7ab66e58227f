#pragma once
// The layout of a GXT file, shared by the full reader and writer (GXT.cpp) and
// the main-table view the vehicle list uses (GXTMainTable.cpp).
//
// Layout of a GXT file (integers little-endian, unsigned 32-bit):
//   0       4    header word 04 00 08 00 (not looked at on reading)
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
//   ...      text data: each text followed by one zero byte; offsets count from here
//   2        two zero bytes
// A table's texts start 24 + key block size bytes after its base, the base being
// the main table's position moved back by 8, so all tables read alike.

#include "fileio/Errors.h"

#include <array>
#include <cstdint>

namespace vehmira::gamedata {

namespace GXTLayout {
constexpr std::array<std::uint8_t, 4> HeaderWord{0x04, 0x00, 0x08, 0x00};
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

// Every malformed file gets the one error a wrong "TABL" gets.
[[noreturn]] inline void FailNotGXT()
{
    throw fileio::TVehmiraError(fileio::TErrorKind::NotGXTFile, "the file is not a readable GXT file");
}
} // namespace GXTLayout

} // namespace vehmira::gamedata
