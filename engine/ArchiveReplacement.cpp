#include "engine/ArchiveReplacement.h"

#include "archive/ArchiveLayout.h"
#include "archive/DirectoryGrowth.h"

#include <algorithm>

namespace vehmira::engine {

const archive::TDIREntry* LastEntryNamed(const archive::TDIREntrys& entries, std::string_view name)
{
    const auto last = std::find_if(entries.rbegin(), entries.rend(), [&](const archive::TDIREntry& entry) {
        return archive::EntryNamesEqual(entry.Name, name);
    });
    return last == entries.rend() ? nullptr : &*last;
}

bool ImportNeedsRebuild(archive::TIMGFile& archive, std::span<const TArchiveWrite> writes)
{
    const archive::TDIREntrys& entries = archive.Directory.Entries;
    int newNames = 0;
    bool misplaces = false;
    for (const TArchiveWrite& write : writes) {
        const archive::TDIREntry* present = LastEntryNamed(entries, write.EntryName);
        if (present == nullptr)
            ++newNames;
        else if (archive::SectorsToHold(write.Count) > present->Size)
            misplaces = true;
    }
    if (newNames > 0 && !archive.AppendKeepsChain(newNames))
        misplaces = true;
    if (!misplaces)
        return false;
    return AnalyseLayout(entries, archive.File().Size()).CanRebuild();
}

std::vector<archive::TRebuildEntry> EntriesWithWrites(const archive::TDIREntrys& entries,
                                                      std::span<const TArchiveWrite> writes)
{
    std::vector<archive::TRebuildEntry> rebuilt = archive::KeepEveryEntry(entries);
    for (const TArchiveWrite& write : writes) {
        const archive::TDIREntry* present = LastEntryNamed(entries, write.EntryName);
        archive::TRebuildEntry* entry = nullptr;
        if (present != nullptr) {
            entry = &rebuilt[std::size_t(present - entries.data())];
        } else {
            rebuilt.push_back({});
            entry = &rebuilt.back();
        }
        const std::uint64_t sectors = archive::SectorsToHold(write.Count);
        archive::CheckSectorFits(sectors, write.EntryName);
        entry->Name = write.EntryName;
        entry->Size = std::uint32_t(sectors);
        entry->SourceOffset = 0;
        entry->Replacement = write.Source;
        entry->ReplacementPosition = write.Position;
        entry->ReplacementCount = write.Count;
    }
    return rebuilt;
}

} // namespace vehmira::engine
