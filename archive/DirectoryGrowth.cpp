#include "archive/DirectoryGrowth.h"

#include "fileio/Errors.h"

#include <algorithm>
#include <limits>
#include <string>

namespace vehmira::archive {

namespace {

constexpr std::uint64_t EntriesPerSector = SectorSize / DirectoryEntrySize;

// The lowest first data sector that leaves room for one more entry after count entries.
std::uint64_t SectorNeededForOneMore(std::size_t count)
{
    return (std::uint64_t(count) + 2 + EntriesPerSector - 1) / EntriesPerSector;
}

TDIREntrys::iterator FirstBlock(TDIREntrys& entries)
{
    return std::min_element(entries.begin(), entries.end(),
                            [](const TDIREntry& a, const TDIREntry& b) { return a.Offset < b.Offset; });
}

} // namespace

std::uint64_t SectorsToHold(std::uint64_t byteCount) { return byteCount / SectorSize + (byteCount % SectorSize != 0); }

fileio::ByteBuffer AsStoredEntry(fileio::ByteBuffer bytes)
{
    bytes.resize(static_cast<std::size_t>(SectorsToHold(bytes.size()) * SectorSize), 0);
    return bytes;
}

void CheckSectorFits(std::uint64_t sector, std::string_view entryName)
{
    if (sector > std::numeric_limits<std::uint32_t>::max())
        throw fileio::TVehmiraError("The archive entry \"" + std::string(entryName) +
                                    "\" does not fit: the archive cannot address sector " + std::to_string(sector));
}

std::uint32_t FirstDataSectorOf(const TDIREntrys& entries)
{
    if (entries.empty())
        return std::uint32_t(std::max<std::uint64_t>(1, SectorsToHold(DirectoryStart)));
    return std::min_element(entries.begin(), entries.end(),
                            [](const TDIREntry& a, const TDIREntry& b) { return a.Offset < b.Offset; })
        ->Offset;
}

std::int32_t FreeSlotsFor(const TDIREntrys& entries)
{
    const std::int64_t slots =
        std::int64_t(EntriesPerSector * FirstDataSectorOf(entries)) - std::int64_t(entries.size()) - 1;
    return std::int32_t(std::clamp<std::int64_t>(slots, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

std::vector<TBlockMove> PlanGrowth(TDIREntrys& entries, std::uint64_t& endSector)
{
    std::vector<TBlockMove> moves;
    const std::uint64_t needed = SectorNeededForOneMore(entries.size());
    while (FreeSlotsFor(entries) < 1) {
        const auto first = FirstBlock(entries);
        const std::uint64_t target = std::max(endSector, needed);
        CheckSectorFits(target, first->Name);
        moves.push_back({std::size_t(first - entries.begin()), first->Offset, std::uint32_t(target), first->Size});
        first->Offset = std::uint32_t(target);
        endSector = target + first->Size;
    }
    return moves;
}

} // namespace vehmira::archive
