#include "archive/ArchiveLayout.h"

#include "archive/FreeRecords.h"
#include "fileio/FileStream.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace vehmira::archive {

namespace {

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }

// The game cuts a name at its first dot; a dot further in than this is not looked for.
constexpr std::size_t LastDotPosition = 20;
constexpr std::size_t KindLength = 3;

// What the game files a streamed entry under: the name before the dot and the
// kind, upper-cased, zero-padded to three words (the directory of a real
// archive holds tens of thousands of names, looked at several times per
// import: words compare and hash without a call).
struct TStreamedKey {
    std::array<std::uint64_t, 3> Words{};
    auto operator<=>(const TStreamedKey&) const = default;
};
static_assert(sizeof(TStreamedKey) >= LastDotPosition + 1 + KindLength);

std::uint64_t HashOf(const TStreamedKey& key)
{
    std::uint64_t hash = 0;
    for (const std::uint64_t word : key.Words)
        hash = (hash ^ word ^ (word >> 29)) * 0x9E3779B97F4A7C15u;
    return hash ^ (hash >> 32);
}

constexpr std::uint32_t KindCode(std::string_view upperKind)
{
    return std::uint32_t(std::uint8_t(upperKind[0])) | std::uint32_t(std::uint8_t(upperKind[1])) << 8 |
           std::uint32_t(std::uint8_t(upperKind[2])) << 16;
}

bool IsStreamedKind(std::uint32_t code)
{
    static constexpr std::array<std::uint32_t, 8> Streamed = {KindCode("DFF"), KindCode("TXD"), KindCode("COL"),
                                                               KindCode("IPL"), KindCode("DAT"), KindCode("IFP"),
                                                               KindCode("RRR"), KindCode("SCM")};
    return std::find(Streamed.begin(), Streamed.end(), code) != Streamed.end();
}

// Nothing for an entry the game does not stream.
std::optional<TStreamedKey> StreamedKey(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot > LastDotPosition || name.size() - dot - 1 < KindLength)
        return std::nullopt;
    std::array<char, sizeof(TStreamedKey)> text{};
    std::transform(name.begin(), name.begin() + std::ptrdiff_t(dot + 1 + KindLength), text.begin(), UpperLetter);
    if (!IsStreamedKind(KindCode(std::string_view(text.data() + dot + 1, KindLength))))
        return std::nullopt;
    TStreamedKey key;
    std::memcpy(key.Words.data(), text.data(), text.size());
    return key;
}

// What the game's directory loader does with each entry.
enum class TChainRole : std::uint8_t {
    Breaks,  // not streamed: the chain ends here
    Linked,  // streamed: linked to the streamed entry before it
    Skipped, // a later entry of a key seen before: passed over, the chain goes on
};

std::vector<TChainRole> ChainRoles(const TDIREntrys& entries)
{
    // An open-addressing table of the keys seen so far, each slot the entry's
    // index + 1 (low half) and more bits of its key's hash (high half): a
    // name is looked at again only when both halves of the hash agree. The
    // table is all the memory there is to reach at random, which takes longer
    // than the rest of the analysis when it is larger.
    std::vector<std::uint64_t> slots(std::bit_ceil(2 * entries.size() + 2), 0);
    const std::size_t mask = slots.size() - 1;
    std::vector<TChainRole> roles(entries.size(), TChainRole::Breaks);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::optional<TStreamedKey> key = StreamedKey(entries[i].Name);
        if (!key)
            continue;
        const std::uint64_t hash = HashOf(*key);
        const std::uint64_t tag = hash & ~std::uint64_t(0xFFFFFFFFu);
        std::size_t slot = std::size_t(hash) & mask;
        bool seen = false;
        for (; slots[slot] != 0; slot = (slot + 1) & mask) {
            if ((slots[slot] & ~std::uint64_t(0xFFFFFFFFu)) != tag)
                continue;
            const std::size_t earlier = std::size_t(slots[slot] & 0xFFFFFFFFu) - 1;
            if (StreamedKey(entries[earlier].Name) == key) {
                seen = true;
                break;
            }
        }
        if (seen) {
            roles[i] = TChainRole::Skipped;
            continue;
        }
        roles[i] = TChainRole::Linked;
        slots[slot] = tag | std::uint64_t(i + 1);
    }
    return roles;
}

std::uint64_t DataBegin(const TDIREntry& entry) { return std::uint64_t(entry.Offset) * SectorSize; }
std::uint64_t DataEnd(const TDIREntry& entry) { return (std::uint64_t(entry.Offset) + entry.Size) * SectorSize; }

bool LiesRightAfter(const TDIREntry& first, const TDIREntry& second)
{
    return std::uint64_t(first.Offset) + first.Size == second.Offset;
}

// Calls onPair(first, second) for the directory indexes of every two entries the game links.
template <typename TOnPair> void ForEachChainPair(const std::vector<TChainRole>& roles, TOnPair onPair)
{
    constexpr std::size_t None = std::numeric_limits<std::size_t>::max();
    std::size_t previous = None; // the last linked entry
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (roles[i] == TChainRole::Skipped)
            continue;
        if (roles[i] == TChainRole::Breaks) {
            previous = None;
            continue;
        }
        if (previous != None)
            onPair(previous, i);
        previous = i;
    }
}

void FindChains(const TDIREntrys& entries, TArchiveLayout& layout)
{
    const std::vector<TChainRole> roles = ChainRoles(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TDIREntry& entry = entries[i];
        if (entry.Name.size() >= EntryNameSize)
            layout.UnterminatedNames.push_back(i);
        if (IsFreeRecord(entry)) {
            ++layout.FreeRecords;
            layout.FreeBytes += std::uint64_t(entry.Size) * SectorSize;
        }
        if (roles[i] == TChainRole::Skipped)
            layout.DuplicateNames.push_back(i);
    }
    ForEachChainPair(roles, [&](std::size_t first, std::size_t second) {
        ++layout.ChainPairs;
        if (!LiesRightAfter(entries[first], entries[second]))
            layout.MisreadPairs.push_back({first, second, entries[first].Name, entries[second].Name});
    });
}

// Offset (high half) and index (low half) packed in one number, the indexes
// ascending: a stable radix sort on the offset's four bytes orders them by
// offset and then index, in a few passes over the array instead of n log n
// comparisons.
void SortByOffset(std::vector<std::uint64_t>& packed)
{
    std::vector<std::uint64_t> sorted(packed.size());
    for (unsigned shift = 32; shift < 64; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const std::uint64_t key : packed)
            ++starts[((key >> shift) & 0xFFu) + 1];
        if (starts[((packed.front() >> shift) & 0xFFu) + 1] == packed.size())
            continue; // every key has the same byte here
        for (std::size_t b = 1; b < starts.size(); ++b)
            starts[b] += starts[b - 1];
        for (const std::uint64_t key : packed)
            sorted[starts[(key >> shift) & 0xFFu]++] = key;
        packed.swap(sorted);
    }
}

// The entries that hold sectors, in the order of their offsets (ties in
// directory order).
std::vector<std::size_t> IndexesByOffset(const TDIREntrys& entries)
{
    std::vector<std::uint64_t> packed;
    packed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Size != 0)
            packed.push_back(std::uint64_t(entries[i].Offset) << 32 | std::uint64_t(i));
    // A stock or rebuilt archive lists its entries in offset order already.
    if (!std::is_sorted(packed.begin(), packed.end()))
        SortByOffset(packed);
    std::vector<std::size_t> order;
    order.reserve(packed.size());
    for (const std::uint64_t key : packed)
        order.push_back(std::size_t(key & 0xFFFFFFFFu));
    return order;
}

// One pass over the blocks sorted by offset: overlaps, holes and the data end.
void FindOverlapsAndHoles(const TDIREntrys& entries, TArchiveLayout& layout)
{
    std::vector<std::size_t> order = IndexesByOffset(entries);
    const std::uint64_t directoryEnd = DirectoryStart + std::uint64_t(entries.size()) * DirectoryEntrySize;
    std::vector<bool> overlapping(entries.size(), false);
    std::uint64_t coveredEnd = 0;
    std::size_t coveredBy = 0;
    for (std::size_t position = 0; position < order.size(); ++position) {
        const std::size_t i = order[position];
        const std::uint64_t begin = DataBegin(entries[i]);
        if (begin < directoryEnd)
            overlapping[i] = true;
        if (position > 0 && begin < coveredEnd)
            overlapping[i] = overlapping[coveredBy] = true;
        else if (position > 0 && coveredEnd < layout.FileSize)
            // Only unused bytes on disk count: a block past the end leaves no hole behind the file.
            layout.HoleBytes += std::min(begin, layout.FileSize) - coveredEnd;
        if (position == 0 || DataEnd(entries[i]) > coveredEnd) {
            coveredEnd = DataEnd(entries[i]);
            coveredBy = i;
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (overlapping[i])
            layout.OverlappingEntries.push_back(i);
    if (coveredEnd < layout.FileSize)
        layout.TrailingBytes = layout.FileSize - coveredEnd;
}

void FindEntriesPastTheEnd(const TDIREntrys& entries, TArchiveLayout& layout)
{
    const std::uint64_t fileSize = layout.FileSize;
    const std::uint64_t sectorEnd = SectorRoundedLength(fileSize);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint64_t end = DataEnd(entries[i]);
        if (end > sectorEnd)
            layout.PastEndEntries.push_back(i);
        else if (end > fileSize)
            layout.ShortTailEntries.push_back(i);
    }
    if (!layout.ShortTailEntries.empty())
        layout.ShortTailBytes = sectorEnd - fileSize;
}

} // namespace

bool IsStreamedEntryName(std::string_view name) { return StreamedKey(name).has_value(); }

std::vector<bool> LaterDuplicates(const TDIREntrys& entries)
{
    const std::vector<TChainRole> roles = ChainRoles(entries);
    std::vector<bool> later(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i)
        later[i] = roles[i] == TChainRole::Skipped;
    return later;
}

std::optional<std::size_t> EntryTheGameReads(const TDIREntrys& entries, std::string_view name)
{
    const std::optional<TStreamedKey> key = StreamedKey(name);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (key ? StreamedKey(entries[i].Name) == key : EntryNamesEqual(entries[i].Name, name))
            return i;
    return std::nullopt;
}

std::size_t CountMisreadPairs(const TDIREntrys& entries)
{
    std::size_t count = 0;
    ForEachChainPair(ChainRoles(entries), [&](std::size_t first, std::size_t second) {
        count += LiesRightAfter(entries[first], entries[second]) ? 0 : 1;
    });
    return count;
}

std::optional<std::size_t> EntryLinkedToTheEnd(const TDIREntrys& entries)
{
    const std::vector<TChainRole> roles = ChainRoles(entries);
    for (std::size_t i = roles.size(); i-- > 0;) {
        if (roles[i] == TChainRole::Breaks)
            return std::nullopt;
        if (roles[i] == TChainRole::Linked)
            return i;
    }
    return std::nullopt;
}

std::vector<TMisreadPair> NewMisreadPairs(const TDIREntrys& before, const TDIREntrys& after)
{
    using TPairKey = std::pair<TStreamedKey, TStreamedKey>;
    const auto keyOf = [](const TDIREntrys& entries, std::size_t first, std::size_t second) {
        // Both are linked entries: each has its key.
        return TPairKey{*StreamedKey(entries[first].Name), *StreamedKey(entries[second].Name)};
    };
    std::vector<TPairKey> misreadBefore;
    ForEachChainPair(ChainRoles(before), [&](std::size_t first, std::size_t second) {
        if (!LiesRightAfter(before[first], before[second]))
            misreadBefore.push_back(keyOf(before, first, second));
    });
    std::sort(misreadBefore.begin(), misreadBefore.end());
    std::vector<TMisreadPair> added;
    ForEachChainPair(ChainRoles(after), [&](std::size_t first, std::size_t second) {
        if (!LiesRightAfter(after[first], after[second]) &&
            !std::binary_search(misreadBefore.begin(), misreadBefore.end(), keyOf(after, first, second)))
            added.push_back({first, second, after[first].Name, after[second].Name});
    });
    return added;
}

TArchiveLayout AnalyseLayout(const TDIREntrys& entries, std::uint64_t fileSize)
{
    TArchiveLayout layout;
    layout.EntryCount = entries.size();
    layout.FileSize = fileSize;
    FindChains(entries, layout);
    FindOverlapsAndHoles(entries, layout);
    FindEntriesPastTheEnd(entries, layout);
    return layout;
}

TArchiveLayout AnalyseLayout(fileio::TStream& archive)
{
    TDIRFile directory;
    directory.LoadFromStream(archive, false);
    return AnalyseLayout(directory.Entries, archive.Size());
}

TArchiveLayout AnalyseLayout(const std::filesystem::path& archivePath)
{
    fileio::TFileStream archive(archivePath, fileio::TFileAccess::Read);
    return AnalyseLayout(archive);
}

std::string DescribeMisreadPairs(const TArchiveLayout& layout, std::size_t limit)
{
    std::string text;
    const std::size_t shown = std::min(limit, layout.MisreadPairs.size());
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            text += ", ";
        text += layout.MisreadPairs[i].FirstName + " / " + layout.MisreadPairs[i].SecondName;
    }
    if (layout.MisreadPairs.size() > shown)
        text += " and " + std::to_string(layout.MisreadPairs.size() - shown) + " more";
    return text;
}

} // namespace vehmira::archive
