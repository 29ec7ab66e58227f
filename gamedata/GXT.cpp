#include "gamedata/GXT.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/CodePage1251.h"
#include "gamedata/GXTLayout.h"

#include <algorithm>
#include <cstring>

namespace vehmira::gamedata {

using namespace GXTLayout;

namespace {


using TBytes = std::span<const std::uint8_t>;


TBytes Slice(TBytes bytes, std::uint64_t position, std::uint64_t count)
{
    if (position > bytes.size() || count > bytes.size() - position)
        FailNotGXT();
    return bytes.subspan(std::size_t(position), std::size_t(count));
}

TBytes AsBytes(std::string_view text) { return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}; }

std::uint32_t ReadU32(TBytes bytes, std::uint64_t position)
{
    return fileio::LoadU32LE(Slice(bytes, position, 4).first<4>());
}

template <std::size_t Size>
std::array<char, Size> ReadChars(TBytes bytes, std::uint64_t position)
{
    const TBytes source = Slice(bytes, position, Size);
    std::array<char, Size> result{};
    std::copy(source.begin(), source.end(), result.begin());
    return result;
}

// Keys of a damaged file may all point at one long unterminated text, and tables
// may share one key block; each key gets its own copy, so what a file expands to
// in memory is bounded by a multiple of its size that no real file comes near
// (a real file takes about five times its size).
class TExpansionBudget {
public:
    explicit TExpansionBudget(std::uint64_t fileSize) : Remaining(ExpansionFactor * fileSize + ExpansionFloor) {}

    void Spend(std::uint64_t bytes)
    {
        if (bytes > Remaining)
            FailNotGXT();
        Remaining -= bytes;
    }

private:
    static constexpr std::uint64_t ExpansionFactor = 16;
    // Generous enough for any file whose keys share texts on purpose.
    static constexpr std::uint64_t ExpansionFloor = std::uint64_t(64) << 20;
    std::uint64_t Remaining;
};

// A text ends at its first zero character, or at the end of the data when it has none.
std::string ReadText(TBytes bytes, std::uint64_t position, std::uint32_t characterSize, TExpansionBudget& budget)
{
    if (position > bytes.size())
        FailNotGXT();
    const TBytes rest = bytes.subspan(std::size_t(position));
    const std::size_t length = TextLength(rest, characterSize);
    budget.Spend(length);
    return std::string(reinterpret_cast<const char*>(rest.data()), length);
}

TGXTTable ReadTable(TBytes bytes, std::size_t index, std::uint64_t blockPosition, std::uint32_t characterSize,
                    TExpansionBudget& budget)
{
    const bool isMain = index == 0;
    if (isMain && blockPosition < NameSize)
        FailNotGXT();
    const std::uint64_t base = isMain ? blockPosition - NameSize : blockPosition;

    TGXTTable table;
    table.Name = ReadChars<8>(bytes, base);
    table.KeyMagic = ReadChars<4>(bytes, base + NameSize);
    table.KeyBlockSize = ReadU32(bytes, base + NameSize + 4);

    const std::uint64_t keyCount = table.KeyBlockSize / KeyEntrySize;
    const TBytes keyEntries = Slice(bytes, base + TableHeaderSize, keyCount * KeyEntrySize);
    budget.Spend(keyCount * (sizeof(TGXTKey) + sizeof(std::string)));
    const std::uint64_t textBase = base + TableHeaderSize + table.KeyBlockSize + TextHeaderSize;
    table.Keys.resize(std::size_t(keyCount));
    table.Texts.reserve(std::size_t(keyCount));
    for (std::size_t k = 0; k < keyCount; ++k) {
        const TBytes entry = keyEntries.subspan(k * KeyEntrySize, KeyEntrySize);
        table.Keys[k].TextOffset = fileio::LoadU32LE(entry.first<4>());
        table.Keys[k].Hash = fileio::LoadU32LE(entry.subspan<4, 4>());
        table.Texts.push_back(ReadText(bytes, textBase + table.Keys[k].TextOffset, characterSize, budget));
    }
    return table;
}

std::uint64_t TextDataLength(const TGXTTable& table, std::uint32_t characterSize)
{
    std::uint64_t length = 0;
    for (const std::string& text : table.Texts)
        length += text.size() + characterSize;
    return length;
}

std::uint64_t BlockSize(const TGXTTable& table, bool isMain, std::uint32_t characterSize)
{
    return (isMain ? 0 : NameSize) + 8 + KeyEntrySize * table.Texts.size() + TextHeaderSize +
           TextDataLength(table, characterSize) + TextBlockTail;
}

std::array<char, 8> DirectoryNameOf(const TGXTTable& table, bool isMain)
{
    if (!isMain)
        return table.Name;
    if (table.DirectoryName)
        return *table.DirectoryName;
    const bool nameIsEmpty = std::all_of(table.Name.begin(), table.Name.end(), [](char c) { return c == 0; });
    return nameIsEmpty ? DefaultMainName : table.Name;
}

// Fills a buffer sized in advance, so saving builds the whole file in one allocation.
class TBlockWriter {
public:
    explicit TBlockWriter(std::span<std::uint8_t> buffer) : Buffer(buffer) {}

    void Put(std::span<const std::uint8_t> bytes)
    {
        std::copy(bytes.begin(), bytes.end(), Buffer.begin() + std::ptrdiff_t(Position));
        Position += bytes.size();
    }
    void Put(std::string_view chars) { Put({reinterpret_cast<const std::uint8_t*>(chars.data()), chars.size()}); }
    template <std::size_t Size>
    void Put(const std::array<char, Size>& chars)
    {
        Put(std::string_view(chars.data(), Size));
    }
    void PutU32(std::uint32_t value)
    {
        fileio::StoreU32LE(Buffer.subspan(Position).first<4>(), value);
        Position += 4;
    }
    void PutZeros(std::size_t count) { Position += count; } // the buffer starts zeroed

private:
    std::span<std::uint8_t> Buffer;
    std::size_t Position = 0;
};

void WriteTableBlock(TBlockWriter& out, const TGXTTable& table, bool isMain, std::uint32_t characterSize)
{
    if (!isMain)
        out.Put(table.Name);
    out.Put(table.KeyMagic);
    out.PutU32(std::uint32_t(KeyEntrySize * table.Texts.size()));
    std::uint32_t offset = 0;
    for (std::size_t k = 0; k < table.Texts.size(); ++k) {
        out.PutU32(offset);
        out.PutU32(table.Keys[k].Hash);
        offset += std::uint32_t(table.Texts[k].size() + characterSize);
    }
    out.Put(TextMagic);
    out.PutU32(offset + TextBlockTail);
    for (const std::string& text : table.Texts) {
        out.Put(text);
        out.PutZeros(characterSize);
    }
    out.PutZeros(TextBlockTail);
}

} // namespace

void TGXTFile::LoadFromFile(const std::filesystem::path& fileName) { LoadFromBytes(fileio::ReadWholeFile(fileName)); }

void TGXTFile::LoadFromBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < HeaderSize || !std::equal(TableMagic.begin(), TableMagic.end(), bytes.begin() + 4))
        FailNotGXT();
    // A remainder of the directory size is ignored: only whole entries count.
    const std::uint64_t tableCount = ReadU32(bytes, 8) / DirectoryEntrySize;
    Slice(bytes, HeaderSize, tableCount * DirectoryEntrySize);

    const std::uint32_t characterSize = CharacterSizeOf(bytes);
    TExpansionBudget budget(bytes.size());
    std::vector<TGXTTable> tables;
    tables.reserve(std::size_t(tableCount));
    for (std::size_t i = 0; i < tableCount; ++i) {
        const std::uint64_t entry = HeaderSize + DirectoryEntrySize * i;
        tables.push_back(ReadTable(bytes, i, ReadU32(bytes, entry + NameSize), characterSize, budget));
        if (i == 0)
            tables[0].DirectoryName = ReadChars<8>(bytes, entry);
    }
    Tables = std::move(tables);
    CharacterSize = characterSize;
}

fileio::ByteBuffer TGXTFile::SaveToBytes() const
{
    std::uint64_t total = HeaderSize + DirectoryEntrySize * Tables.size();
    for (std::size_t t = 0; t < Tables.size(); ++t) {
        if (Tables[t].Keys.size() < Tables[t].Texts.size())
            throw fileio::TVehmiraError("GXT table " + std::to_string(t) + " has " +
                                        std::to_string(Tables[t].Texts.size()) + " texts but only " +
                                        std::to_string(Tables[t].Keys.size()) + " keys");
        for (const std::string& text : Tables[t].Texts)
            if (text.size() % CharacterSize != 0 || TextLength(AsBytes(text), CharacterSize) != text.size())
                throw fileio::TVehmiraError("GXT table " + std::to_string(t) +
                                            " holds a text that is not whole characters or holds a zero character");
        total += BlockSize(Tables[t], t == 0, CharacterSize);
    }
    if (total > UINT32_MAX)
        throw fileio::TVehmiraError("The GXT file would exceed 4 GiB");

    fileio::ByteBuffer bytes(std::size_t(total), 0);
    TBlockWriter out(bytes);
    out.Put(CharacterSize == 2 ? WideHeaderWord : HeaderWord);
    out.Put(TableMagic);
    out.PutU32(std::uint32_t(DirectoryEntrySize * Tables.size()));
    std::uint64_t position = HeaderSize + DirectoryEntrySize * Tables.size();
    for (std::size_t t = 0; t < Tables.size(); ++t) {
        out.Put(DirectoryNameOf(Tables[t], t == 0));
        out.PutU32(std::uint32_t(position));
        position += BlockSize(Tables[t], t == 0, CharacterSize);
    }
    for (std::size_t t = 0; t < Tables.size(); ++t)
        WriteTableBlock(out, Tables[t], t == 0, CharacterSize);
    return bytes;
}

std::string GXTTextToCp1251(std::string_view text, std::uint32_t characterSize)
{
    if (characterSize == 1)
        return std::string(text);
    std::string result;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const char16_t unit = char16_t(std::uint8_t(text[i]) | std::uint8_t(text[i + 1]) << 8);
        const std::optional<std::string> narrow = Utf16ToCp1251(std::u16string_view(&unit, 1));
        result += narrow ? *narrow : "?";
    }
    return result;
}

std::string Cp1251ToGXTText(std::string_view text, std::uint32_t characterSize)
{
    if (characterSize == 1)
        return std::string(text);
    std::string result;
    for (const char16_t unit : Cp1251ToUtf16(text)) {
        result.push_back(char(unit & 0xFF));
        result.push_back(char(unit >> 8));
    }
    return result;
}

void TGXTFile::SaveToFile(const std::filesystem::path& fileName) const
{
    fileio::ReplaceFileAtomically(fileName, SaveToBytes());
}

} // namespace vehmira::gamedata
