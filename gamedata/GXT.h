#pragma once
// GXT text files: tables of key hashes and 8-bit texts.

#include "fileio/ByteOrder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
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
    std::vector<std::string> Texts; // Texts[k] is the text of Keys[k], raw bytes
    // Table 0 only: its name in the table directory as loaded, written back there
    // unchanged (the main table's block carries no name of its own). A main table
    // that was never loaded is saved under Name, or "MAIN" when Name is all zeros.
    std::optional<std::array<char, 8>> DirectoryName;
};

class TGXTFile {
public:
    std::vector<TGXTTable> Tables; // index 0 is the main table

    // A file that is not a GXT file, or whose positions leave the file, raises
    // a TVehmiraError of kind NotGXTFile; Tables is then untouched.
    void LoadFromFile(const std::filesystem::path& fileName);
    void LoadFromBytes(std::span<const std::uint8_t> bytes);

    // Sizes and offsets are computed afresh from Texts; a table with fewer Keys than
    // Texts raises TVehmiraError. Writes through an atomic replacement: a failure
    // leaves the old file intact.
    void SaveToFile(const std::filesystem::path& fileName) const;
    fileio::ByteBuffer SaveToBytes() const;
};

} // namespace vehmira::gamedata
