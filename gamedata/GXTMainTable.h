#pragma once
// A read-only view of a GXT file's main table over the file's bytes, for
// lookups that need a few texts out of many thousand keys without copying
// every text (the vehicle list). It applies the loader's rules to the main
// table: the same "TABL" test, the same bounds, the same text ends; the
// mission tables are not looked at.

#include "fileio/ByteOrder.h"
#include "fileio/CheckFinding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vehmira::gamedata {

class TGXTMainTableView {
public:
    // Raises a TVehmiraError of kind NotGXTFile on a malformed file. The
    // bytes must outlive the view.
    explicit TGXTMainTableView(std::span<const std::uint8_t> fileBytes);

    std::size_t KeyCount() const { return KeyTotal; }
    // key < KeyCount(); inline, since lookups walk every key of the table.
    std::uint32_t Hash(std::size_t key) const
    {
        return fileio::LoadU32LE(Bytes.subspan(std::size_t(KeyEntries + KeyEntrySize * key + 4)).first<4>());
    }
    // The text of a key: its bytes up to the first zero character, or to the end of the data.
    std::string_view Text(std::size_t key) const;
    // Bytes a character takes (see TGXTFile::CharacterSize).
    std::uint32_t CharacterSize() const { return CharSize; }

    // The key the game's search finds for a hash (GXTKeySearch.h), and whether
    // the key block is in the hash order that search needs.
    std::optional<std::size_t> FindKeyAsTheGame(std::uint32_t hash) const;
    bool KeysSortedByHash() const;
    std::size_t KeysTheGameMisses() const;

private:
    static constexpr std::uint64_t KeyEntrySize = 8; // text offset, hash

    std::uint32_t TextOffset(std::size_t key) const;

    std::span<const std::uint8_t> Bytes;
    std::size_t KeyTotal = 0;
    std::uint64_t KeyEntries = 0;
    std::uint64_t TextBase = 0;
    std::uint32_t CharSize = 1;
};

// The check's warning GXTKeysUnsorted when the main table's keys are out of
// hash order, naming the file as given (its path under the game directory).
std::optional<fileio::TCheckFinding> CheckMainTableKeyOrder(const TGXTMainTableView& mainTable,
                                                            std::string_view fileName);

} // namespace vehmira::gamedata
