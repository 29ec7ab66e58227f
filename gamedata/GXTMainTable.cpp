#include "gamedata/GXTMainTable.h"

#include "fileio/Errors.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTKeySearch.h"
#include "gamedata/GXTLayout.h"

#include <algorithm>

namespace vehmira::gamedata {

using namespace GXTLayout;

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::uint64_t position)
{
    if (position > bytes.size() || bytes.size() - position < 4)
        FailNotGXT();
    return fileio::LoadU32LE(bytes.subspan(std::size_t(position)).first<4>());
}

} // namespace

TGXTMainTableView::TGXTMainTableView(std::span<const std::uint8_t> fileBytes) : Bytes(fileBytes)
{
    if (Bytes.size() < HeaderSize || !std::equal(std::begin(TableMagic), std::end(TableMagic), Bytes.begin() + 4))
        FailNotGXT();
    const std::uint64_t tableCount = ReadU32(Bytes, 8) / DirectoryEntrySize;
    if (tableCount * DirectoryEntrySize > Bytes.size() - HeaderSize)
        FailNotGXT();
    CharSize = CharacterSizeOf(Bytes);
    if (tableCount == 0)
        return;

    // The main table's block starts with its key magic; its base is 8 bytes earlier.
    const std::uint64_t blockPosition = ReadU32(Bytes, HeaderSize + NameSize);
    if (blockPosition < NameSize)
        FailNotGXT();
    const std::uint64_t base = blockPosition - NameSize;
    const std::uint32_t keyBlockSize = ReadU32(Bytes, base + NameSize + 4);
    const std::uint64_t keyCount = keyBlockSize / KeyEntrySize;
    KeyEntries = base + TableHeaderSize;
    if (KeyEntries > Bytes.size() || keyCount * KeyEntrySize > Bytes.size() - KeyEntries)
        FailNotGXT();
    KeyTotal = std::size_t(keyCount);
    TextBase = base + TableHeaderSize + keyBlockSize + TextHeaderSize;
    for (std::size_t k = 0; k < KeyTotal; ++k)
        if (TextBase + TextOffset(k) > Bytes.size())
            FailNotGXT();
}

std::uint32_t TGXTMainTableView::TextOffset(std::size_t key) const
{
    return fileio::LoadU32LE(Bytes.subspan(std::size_t(KeyEntries + KeyEntrySize * key)).first<4>());
}

std::string_view TGXTMainTableView::Text(std::size_t key) const
{
    const auto rest = Bytes.subspan(std::size_t(TextBase + TextOffset(key)));
    return std::string_view(reinterpret_cast<const char*>(rest.data()), TextLength(rest, CharSize));
}

std::optional<std::size_t> TGXTMainTableView::FindKeyAsTheGame(std::uint32_t hash) const
{
    return gamedata::FindKeyAsTheGame(KeyTotal, hash, [this](std::size_t k) { return Hash(k); });
}

bool TGXTMainTableView::KeysSortedByHash() const
{
    return gamedata::KeysSortedByHash(KeyTotal, [this](std::size_t k) { return Hash(k); });
}

std::size_t TGXTMainTableView::KeysTheGameMisses() const
{
    return gamedata::KeysTheGameMisses(KeyTotal, [this](std::size_t k) { return Hash(k); });
}

std::optional<fileio::TCheckFinding> CheckMainTableKeyOrder(const TGXTMainTableView& mainTable,
                                                            std::string_view fileName)
{
    if (mainTable.KeysSortedByHash())
        return std::nullopt;
    return fileio::TCheckFinding{fileio::TCheckCode::GXTKeysUnsorted,
                                 {.Path = {}, .Subject = std::string(fileName),
                                  .Number = std::int64_t(mainTable.KeysTheGameMisses())}};
}

} // namespace vehmira::gamedata
