#pragma once
// GXT text files: tables of key hashes and texts, of 8-bit characters (the PC
// game's code page 1251) or, in the mobile ports' files, 16-bit ones (UTF-16LE).

#include "fileio/ByteOrder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

struct TGXTKey {
    std::uint32_t TextOffset = 0; // as read; the writer computes fresh offsets
    std::uint32_t Hash = 0;       // GXTKeyHash of the key's name
};

struct TGXTTable {
    std::array<char, 8> Name{};     // for table 0: the 8 bytes in front of its key block
    std::array<char, 4> KeyMagic{}; // written back as read
    std::uint32_t KeyBlockSize = 0; // as read (8 per key); not used by the writer
    std::vector<TGXTKey> Keys;
    std::vector<std::string> Texts; // Texts[k] is the text of Keys[k], raw bytes (two a character when 16-bit)
    // Table 0 only: its name in the table directory as loaded, written back there
    // unchanged (the main table's block carries no name of its own). A main table
    // that was never loaded is saved under Name, or "MAIN" when Name is all zeros.
    std::optional<std::array<char, 8>> DirectoryName;
};

class TGXTFile {
public:
    std::vector<TGXTTable> Tables; // index 0 is the main table
    // Bytes a character takes: 1, or 2 in a file whose header word is 04 00 10 00.
    std::uint32_t CharacterSize = 1;

    // A file that is not a GXT file, or whose positions leave the file, raises
    // a TVehmiraError of kind NotGXTFile; Tables is then untouched.
    void LoadFromFile(const std::filesystem::path& fileName);
    void LoadFromBytes(std::span<const std::uint8_t> bytes);

    // Sizes and offsets are computed afresh from Texts; a table with fewer Keys than
    // Texts, or a text that is not whole characters, raises TVehmiraError. Writes through an atomic replacement: a failure
    // leaves the old file intact.
    void SaveToFile(const std::filesystem::path& fileName) const;
    fileio::ByteBuffer SaveToBytes() const;
};

// A text of a file with characters of that size in the game's code page 1251
// (a 16-bit character that code page lacks becomes '?'), and a code page 1251
// text in characters of that size.
std::string GXTTextToCp1251(std::string_view text, std::uint32_t characterSize);
std::string Cp1251ToGXTText(std::string_view text, std::uint32_t characterSize);

} // namespace vehmira::gamedata
