#pragma once
// Hand-laid GXT files for the reader's tests, written byte by byte without the
// writer under test, the way the game's own files are laid out (table blocks
// padded to 4 bytes after the text data).

#include "fileio/ByteOrder.h"

#include <string>
#include <vector>

struct TRawGXTKey {
    std::uint32_t TextOffset = 0;
    std::uint32_t Hash = 0;
};

struct TRawGXTTable {
    std::string Name;               // directory name, and block name of a mission table
    std::string KeyMagic = "TKEY";
    std::vector<TRawGXTKey> Keys;
    std::string TextData;           // texts with their zero bytes, laid out by the test
};

struct TRawGXTLayout {
    vehmira::fileio::ByteBuffer Bytes;
    std::vector<std::size_t> BlockPositions;   // as in the directory
    std::vector<std::size_t> TextDataPositions; // first byte of each table's text data
};

inline void AppendText(vehmira::fileio::ByteBuffer& out, std::string_view text, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        out.push_back(i < text.size() ? std::uint8_t(text[i]) : 0);
}

inline void AppendWord(vehmira::fileio::ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

inline std::size_t RawBlockSize(const TRawGXTTable& table, bool isMain)
{
    const std::size_t unpadded = (isMain ? 0 : 8) + 8 + 8 * table.Keys.size() + 8 + table.TextData.size();
    return (unpadded + 3) / 4 * 4;
}

inline TRawGXTLayout BuildRawGXT(const std::vector<TRawGXTTable>& tables)
{
    TRawGXTLayout layout;
    vehmira::fileio::ByteBuffer& out = layout.Bytes;
    AppendText(out, std::string_view("\x04\x00\x08\x00TABL", 8), 8);
    AppendWord(out, std::uint32_t(12 * tables.size()));
    std::size_t position = 12 + 12 * tables.size();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        AppendText(out, tables[t].Name, 8);
        AppendWord(out, std::uint32_t(position));
        layout.BlockPositions.push_back(position);
        position += RawBlockSize(tables[t], t == 0);
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const TRawGXTTable& table = tables[t];
        if (t != 0)
            AppendText(out, table.Name, 8);
        AppendText(out, table.KeyMagic, 4);
        AppendWord(out, std::uint32_t(8 * table.Keys.size()));
        for (const TRawGXTKey& key : table.Keys) {
            AppendWord(out, key.TextOffset);
            AppendWord(out, key.Hash);
        }
        AppendText(out, "TDAT", 4);
        AppendWord(out, std::uint32_t(table.TextData.size()));
        layout.TextDataPositions.push_back(out.size());
        AppendText(out, table.TextData, table.TextData.size());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return layout;
}

// A main table and one mission table: shared and empty texts, bytes above 0x7F,
// keys not in hash order.
inline std::vector<TRawGXTTable> SampleRawTables()
{
    TRawGXTTable main{"MAIN", "TKEY", {{0, 0x30000000u}, {6, 0x10000000u}, {0, 0x20000000u}, {5, 0xF0000000u}},
                      std::string("Admir\0\xC2\xEE\xEB\xE3\xE0\0", 13)};
    TRawGXTTable mission{"INTRO", "TKEY", {{3, 0x11111111u}, {0, 0x22222222u}}, std::string("Hi\0Yo\0", 6)};
    return {main, mission};
}
