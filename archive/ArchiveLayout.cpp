#include "archive/ArchiveLayout.h"

#include "archive/FreeRecords.h"
#include "fileio/FileStream.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vehmira::archive {

namespace {

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }

std::string UpperName(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperLetter);
    return upper;
}

// The game cuts a name at its first dot; a dot further in than this is not looked for.
constexpr std::size_t LastDotPosition = 20;
constexpr std::size_t KindLength = 3;

// What the game files a streamed entry under: the name before the dot and the
// kind, upper-cased; nothing for an entry it does not stream.
std::optional<std::string> StreamedKey(std::string_view name)
{
    static constexpr std::array<std::string_view, 8> Streamed = {"DFF", "TXD", "COL", "IPL", "DAT", "IFP", "RRR", "SCM"};
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot > LastDotPosition || name.size() - dot - 1 < KindLength)
        return std::nullopt;
    const std::string kind = UpperName(name.substr(dot + 1, KindLength));
    if (std::find(Streamed.begin(), Streamed.end(), kind) == Streamed.end())
        return std::nullopt;
    return UpperName(name.substr(0, dot)) + "." + kind;
}

std::uint64_t DataBegin(const TDIREntry& entry) { return std::uint64_t(entry.Offset) * SectorSize; }
std::uint64_t DataEnd(const TDIREntry& entry) { return (std::uint64_t(entry.Offset) + entry.Size) * SectorSize; }

void FindChains(const TDIREntrys& entries, TArchiveLayout& layout)
{
    const std::vector<bool> duplicate = LaterDuplicates(entries);
    std::optional<std::size_t> previous; // the last linked entry
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TDIREntry& entry = entries[i];
        if (entry.Name.size() >= EntryNameSize)
            layout.UnterminatedNames.push_back(i);
        if (IsFreeRecord(entry)) {
            ++layout.FreeRecords;
            layout.FreeBytes += std::uint64_t(entry.Size) * SectorSize;
        }
        if (duplicate[i]) {
            layout.DuplicateNames.push_back(i);
            continue;
        }
        if (!IsStreamedEntryName(entry.Name)) {
            previous.reset();
            continue;
        }
        if (previous) {
            ++layout.ChainPairs;
            const TDIREntry& first = entries[*previous];
            if (std::uint64_t(first.Offset) + first.Size != entry.Offset)
                layout.MisreadPairs.push_back({*previous, i, first.Name, entry.Name});
        }
        previous = i;
    }
}

// One pass over the blocks sorted by offset: overlaps, holes and the data end.
void FindOverlapsAndHoles(const TDIREntrys& entries, TArchiveLayout& layout)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Size != 0)
            order.push_back(i);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return entries[a].Offset < entries[b].Offset; });
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
    const std::uint64_t sectorEnd = (fileSize + SectorSize - 1) / SectorSize * SectorSize;
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
    std::vector<std::pair<std::string, std::size_t>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (std::optional<std::string> key = StreamedKey(entries[i].Name))
            keyed.emplace_back(std::move(*key), i);
    std::sort(keyed.begin(), keyed.end());
    std::vector<bool> later(entries.size(), false);
    for (std::size_t i = 1; i < keyed.size(); ++i)
        if (keyed[i].first == keyed[i - 1].first)
            later[keyed[i].second] = true; // sorted by index within a key: all but the first
    return later;
}

std::optional<std::size_t> EntryTheGameReads(const TDIREntrys& entries, std::string_view name)
{
    const std::optional<std::string> key = StreamedKey(name);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (key ? StreamedKey(entries[i].Name) == key : EntryNamesEqual(entries[i].Name, name))
            return i;
    return std::nullopt;
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
