#include "engine/ArchiveReplacement.h"

#include "archive/ArchiveLayout.h"
#include "archive/DirectoryGrowth.h"

#include <algorithm>

const TDIREntry* LastEntryNamed(const TDIREntrys& entries, std::string_view name)
{
    const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                   [&](const TDIREntry& entry) { return EntryNamesEqual(entry.Name, name); });
    return last == entries.rend() ? nullptr : &*last;
}

bool ImportNeedsRebuild(TIMGFile& archive, std::span<const TArchiveWrite> writes)
{
    const TDIREntrys& entries = archive.Directory.Entries;
    int newNames = 0;
    bool misplaces = false;
    for (const TArchiveWrite& write : writes) {
        const TDIREntry* present = LastEntryNamed(entries, write.EntryName);
        if (present == nullptr)
            ++newNames;
        else if (SectorsToHold(write.Count) > present->Size)
            misplaces = true;
    }
    if (newNames > 0 && !archive.AppendKeepsChain(newNames))
        misplaces = true;
    if (!misplaces)
        return false;
    return AnalyseLayout(entries, archive.File().Size()).CanRebuild();
}

std::vector<TRebuildEntry> EntriesWithWrites(const TDIREntrys& entries, std::span<const TArchiveWrite> writes)
{
    std::vector<TRebuildEntry> rebuilt = KeepEveryEntry(entries);
    for (const TArchiveWrite& write : writes) {
        const TDIREntry* present = LastEntryNamed(entries, write.EntryName);
        TRebuildEntry* entry = nullptr;
        if (present != nullptr) {
            entry = &rebuilt[std::size_t(present - entries.data())];
        } else {
            rebuilt.push_back({});
            entry = &rebuilt.back();
        }
        const std::uint64_t sectors = SectorsToHold(write.Count);
        CheckSectorFits(sectors, write.EntryName);
        entry->Name = write.EntryName;
        entry->Size = std::uint32_t(sectors);
        entry->SourceOffset = 0;
        entry->Replacement = write.Source;
        entry->ReplacementPosition = write.Position;
        entry->ReplacementCount = write.Count;
    }
    return rebuilt;
}
