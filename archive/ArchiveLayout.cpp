#include "archive/ArchiveLayout.h"

#include "fileio/FileStream.h"

#include <algorithm>
#include <array>

namespace vehmira::archive {

namespace {

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }

std::string UpperName(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperLetter);
    return upper;
}

// For each entry: whether an earlier entry has the same name (ASCII case ignored).
std::vector<bool> SeenBefore(const TDIREntrys& entries)
{
    std::vector<std::pair<std::string, std::size_t>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keyed.emplace_back(UpperName(entries[i].Name), i);
    std::sort(keyed.begin(), keyed.end());
    std::vector<bool> seen(entries.size(), false);
    for (std::size_t i = 1; i < keyed.size(); ++i)
        if (keyed[i].first == keyed[i - 1].first)
            seen[keyed[i].second] = true; // sorted by index within a name: all but the first
    return seen;
}

std::uint64_t DataBegin(const TDIREntry& entry) { return std::uint64_t(entry.Offset) * SectorSize; }
std::uint64_t DataEnd(const TDIREntry& entry) { return (std::uint64_t(entry.Offset) + entry.Size) * SectorSize; }

void FindChains(const TDIREntrys& entries, TArchiveLayout& layout)
{
    const std::vector<bool> seen = SeenBefore(entries);
    bool previousLinked = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (seen[i])
            layout.DuplicateNames.push_back(i);
        if (entries[i].Name.size() >= EntryNameSize)
            layout.UnterminatedNames.push_back(i);
        const bool linked = !seen[i] && IsStreamedEntryName(entries[i].Name);
        if (linked && previousLinked) {
            ++layout.ChainPairs;
            const TDIREntry& first = entries[i - 1];
            if (std::uint64_t(first.Offset) + first.Size != entries[i].Offset)
                layout.MisreadPairs.push_back({i - 1, first.Name, entries[i].Name});
        }
        previousLinked = linked;
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

bool IsStreamedEntryName(std::string_view name)
{
    static constexpr std::array<std::string_view, 8> Streamed = {"DFF", "TXD", "COL", "IPL", "DAT", "IFP", "RRR", "SCM"};
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = UpperName(name.substr(dot + 1));
    return std::find(Streamed.begin(), Streamed.end(), extension) != Streamed.end();
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
