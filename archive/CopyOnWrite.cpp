#include "archive/CopyOnWrite.h"

#include "archive/ArchiveLayout.h"
#include "archive/DirectoryGrowth.h"
#include "archive/EntryName.h"
#include "archive/FreeRecords.h"
#include "fileio/Errors.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <set>

namespace vehmira::archive {

namespace {

// Room kept for the records the writes add (a free record and a separator
// each, or a separator and the entry itself for a new name).
constexpr std::uint64_t RecordsPerWrite = 2;

bool BreaksChain(const TDIREntry& entry) { return !IsStreamedEntryName(entry.Name); }

std::uint64_t EndOf(const TDIREntry& entry) { return std::uint64_t(entry.Offset) + entry.Size; }

bool Overlap(std::uint64_t offset, std::uint64_t size, const TSectorRange& range)
{
    return offset < std::uint64_t(range.Offset) + range.Size && std::uint64_t(range.Offset) < offset + size;
}

// The sector from which data may lie when the directory holds count records.
std::uint64_t DataSectorFor(std::uint64_t count) { return SectorsToHold(DirectoryStart + count * DirectoryEntrySize); }

class TPlanner {
public:
    TPlanner(const TDIREntrys& entries, std::uint64_t fileSize, std::span<const TSectorRange> pinned)
        : Before(entries), Pinned(pinned.begin(), pinned.end())
    {
        Plan.Entries = entries;
        // Past the file's end and past every entry's data, even one the file cuts short.
        Plan.EndSector = std::max(SectorsToHold(fileSize), std::uint64_t(1));
        for (const TDIREntry& entry : entries)
            Plan.EndSector = std::max(Plan.EndSector, EndOf(entry));
        FirstNewSector = Plan.EndSector;
        NextNumber = NextFreeRecordNumber(entries);
        const TArchiveLayout layout = AnalyseLayout(entries, fileSize);
        const std::set<std::size_t> overlapping(layout.OverlappingEntries.begin(), layout.OverlappingEntries.end());
        // Only free records that were there before, whose sectors nothing else
        // uses. They are found again by name, so a name that two records share
        // (another tool's copy, or a damaged directory) marks neither.
        std::set<std::string> seen;
        std::set<std::string> shared;
        for (const TDIREntry& entry : entries)
            if (IsFreeRecord(entry) && !seen.insert(entry.Name).second)
                shared.insert(entry.Name);
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (IsFreeRecord(entries[i]) && entries[i].Size > 0 && !overlapping.contains(i) &&
                !shared.contains(entries[i].Name))
                Reusable.insert(entries[i].Name);
    }

    void MakeRoomForDirectory(std::uint64_t extraRecords)
    {
        for (;;) {
            const std::uint64_t needed = DataSectorFor(Plan.Entries.size() + extraRecords);
            const auto lowest = std::min_element(Plan.Entries.begin(), Plan.Entries.end(),
                                                 [](const TDIREntry& a, const TDIREntry& b) { return a.Offset < b.Offset; });
            if (lowest == Plan.Entries.end() || lowest->Offset >= needed)
                return;
            MoveOutOfDirectory(std::size_t(lowest - Plan.Entries.begin()), needed);
        }
    }

    void Write(const TEntryWrite& write)
    {
        CheckEntryName(write.EntryName);
        // Free records are found again by name: an entry written under one would be taken for free space.
        if (IsFreeRecordName(write.EntryName))
            throw fileio::TVehmiraError("The archive entry name \"" + write.EntryName + "\" is a free record's");
        const std::uint64_t sectors = SectorsToHold(write.ByteCount);
        CheckSectorFits(sectors, write.EntryName);
        const TSectorRange place = Allocate(std::uint32_t(sectors), write.EntryName);
        Plan.Writes.push_back(place);
        if (const std::optional<std::size_t> index = EntryTheGameReads(Plan.Entries, write.EntryName))
            Replace(*index, place, write.EntryName);
        else
            Append(place, write.EntryName);
    }

    TPlacement Finish()
    {
        if (!NewMisreadPairs(Before, Plan.Entries).empty())
            throw fileio::TVehmiraError("The new archive directory would break the game's chained read");
        return std::move(Plan);
    }

private:
    TSectorRange Allocate(std::uint32_t sectors, const std::string& entryName)
    {
        if (TDIREntry* free = SmallestReusable(sectors)) {
            const TSectorRange place{free->Offset, sectors};
            free->Offset += sectors;
            free->Size -= sectors;
            return place;
        }
        const std::uint64_t start = Plan.EndSector;
        CheckSectorFits(start + sectors, entryName);
        Plan.EndSector = start + sectors;
        return {std::uint32_t(start), sectors};
    }

    TDIREntry* SmallestReusable(std::uint32_t sectors)
    {
        TDIREntry* best = nullptr;
        for (TDIREntry& entry : Plan.Entries) {
            if (sectors == 0 || entry.Size < sectors || !Reusable.contains(entry.Name) || IsPinned(entry))
                continue;
            if (best == nullptr || entry.Size < best->Size)
                best = &entry;
        }
        return best;
    }

    bool IsPinned(const TDIREntry& entry) const
    {
        return std::any_of(Pinned.begin(), Pinned.end(),
                           [&](const TSectorRange& range) { return Overlap(entry.Offset, entry.Size, range); });
    }

    void Replace(std::size_t index, TSectorRange place, const std::string& entryName)
    {
        const TDIREntry old = Plan.Entries[index];
        Plan.Entries[index] = {place.Offset, place.Size, entryName};
        Plan.Entries.insert(Plan.Entries.begin() + std::ptrdiff_t(index), MakeFreeRecord(TakeNumber(), old.Offset, old.Size));
        // An entry this plan moved lies where nothing was: its undo cuts those sectors off.
        if (old.Size > 0 && old.Offset < FirstNewSector)
            Plan.Freed.push_back({old.Offset, old.Size});
        SeparateFromNext(index + 1);
    }

    // The new entry is linked to the last entry the game links, skipped
    // duplicates after it or not: a separator breaks that link unless its
    // data end right where the new ones begin.
    void Append(TSectorRange place, const std::string& entryName)
    {
        const std::optional<std::size_t> linked = EntryLinkedToTheEnd(Plan.Entries);
        if (linked && EndOf(Plan.Entries[*linked]) != place.Offset)
            Plan.Entries.push_back(Separator(place.Offset));
        Plan.Entries.push_back({place.Offset, place.Size, entryName});
    }

    // The entry's data go to the end; the directory takes its old sectors.
    void MoveOutOfDirectory(std::size_t index, std::uint64_t neededSector)
    {
        TDIREntry& entry = Plan.Entries[index];
        if (IsFreeRecord(entry)) {
            const std::uint64_t end = std::max(EndOf(entry), neededSector);
            entry.Size = std::uint32_t(end - neededSector);
            entry.Offset = std::uint32_t(neededSector);
            return;
        }
        const std::uint64_t to = std::max(Plan.EndSector, neededSector);
        CheckSectorFits(to + entry.Size, entry.Name);
        if (entry.Size > 0)
            Plan.Moves.push_back({entry.Offset, std::uint32_t(to), entry.Size});
        entry.Offset = std::uint32_t(to);
        Plan.EndSector = to + entry.Size;
        SeparateFromNext(index);
        if (index > 0 && !BreaksChain(Plan.Entries[index - 1]))
            Plan.Entries.insert(Plan.Entries.begin() + std::ptrdiff_t(index), Separator(std::uint32_t(to)));
    }

    void SeparateFromNext(std::size_t index)
    {
        const std::size_t next = index + 1;
        if (next < Plan.Entries.size() && !BreaksChain(Plan.Entries[next]))
            Plan.Entries.insert(Plan.Entries.begin() + std::ptrdiff_t(next), Separator(Plan.Entries[index].Offset));
    }

    TDIREntry Separator(std::uint32_t offset) { return MakeFreeRecord(TakeNumber(), offset, 0); }

    // A number no free record has yet, so that every record's name is its own.
    std::uint32_t TakeNumber()
    {
        if (NextNumber > std::numeric_limits<std::uint32_t>::max())
            throw fileio::TVehmiraError("The archive's free records are numbered too high to add another; rebuild it");
        return std::uint32_t(NextNumber++);
    }

    const TDIREntrys& Before;
    TPlacement Plan;
    std::vector<TSectorRange> Pinned;
    std::set<std::string> Reusable;
    std::uint64_t NextNumber = 1;
    std::uint64_t FirstNewSector = 0; // past every byte the archive held before
};

} // namespace

TPlacement PlanCopyOnWrite(const TDIREntrys& entries, std::uint64_t fileSize, std::span<const TEntryWrite> writes,
                           std::span<const TSectorRange> pinned)
{
    TPlanner planner(entries, fileSize, pinned);
    // The directory's room is made first, so that no new data land where it grows.
    planner.MakeRoomForDirectory(RecordsPerWrite * writes.size() + 1);
    for (const TEntryWrite& write : writes)
        planner.Write(write);
    return planner.Finish();
}

} // namespace vehmira::archive
