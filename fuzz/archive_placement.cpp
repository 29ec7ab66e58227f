// The copy-on-write placement over any directory: it never puts new data on
// sectors a live entry uses, never misreads a pair of entries the archive
// reads right now (even while it mends another pair), and the sectors it
// frees are pins the import's journal can record and load back.
// Input: the size of each write in sectors (first byte); the second byte's
// bit 0: the first write replaces the first entry's name (else adds
// "fuzz.dff"); bit 1: a second write of the last entry's name (or "fuzz.txd");
// bit 2: the second write goes first. Then the archive.
#include "FuzzSupport.h"
#include "archive/ArchiveLayout.h"
#include "archive/CopyOnWrite.h"
#include "archive/FreeRecords.h"
#include "engine/JournalManifest.h"
#include "fileio/Errors.h"

#include <algorithm>
#include <set>
#include <utility>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

bool Overlap(std::uint64_t offset, std::uint64_t size, std::uint64_t otherOffset, std::uint64_t otherSize)
{
    return size != 0 && otherSize != 0 && offset < otherOffset + otherSize && otherOffset < offset + size;
}

// What the game files a linked entry under, worked out here on its own: the
// name up to the dot and the three letters after it, upper-cased.
std::string FiledUnder(const std::string& name)
{
    const std::size_t dot = name.find('.');
    std::string key = dot == std::string::npos ? name : name.substr(0, dot + 4);
    std::transform(key.begin(), key.end(), key.begin(), [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
    return key;
}

std::set<std::pair<std::string, std::string>> MisreadPairs(const TArchiveLayout& layout)
{
    std::set<std::pair<std::string, std::string>> pairs;
    for (const TMisreadPair& pair : layout.MisreadPairs)
        pairs.insert({FiledUnder(pair.FirstName), FiledUnder(pair.SecondName)});
    return pairs;
}

// The journal of an import over this archive records the freed sectors as
// pins; they must load back from its manifest.
void RequirePinsLoad(std::uint64_t archiveLength, const TPlacement& plan)
{
    TJournalManifest manifest;
    manifest.ArchiveRelativePath = "Models/GTA3.img";
    manifest.ArchiveLength = archiveLength;
    for (const TSectorRange& freed : plan.Freed)
        manifest.Pinned.push_back({std::uint64_t(freed.Offset) * SectorSize, std::uint64_t(freed.Size) * SectorSize});
    try {
        Require(ManifestFromText(ManifestToText(manifest)).Pinned.size() == plan.Freed.size(), "every pin loads back");
    } catch (const TVehmiraError&) {
        Require(false, "the journal loads the pins of an import over an archive the reader opens");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint64_t bytes = std::uint64_t(data[0]) * SectorSize - (data[0] != 0 ? 7 : 0);
    const bool replaces = data[1] & 1;
    const bool twoWrites = data[1] & 2;
    const bool secondFirst = data[1] & 4;
    TMemoryStream archive(ByteBuffer(data + 2, data + size));
    TDIRFile directory;
    try {
        directory.LoadFromStream(archive, false);
    } catch (const TVehmiraError&) {
        return 0;
    }
    const TDIREntrys& entries = directory.Entries;
    std::vector<TEntryWrite> writes = {{replaces && !entries.empty() ? entries.front().Name : "fuzz.dff", bytes}};
    if (twoWrites)
        writes.insert(secondFirst ? writes.begin() : writes.end(),
                      {entries.empty() ? "fuzz.txd" : entries.back().Name, bytes});
    const TArchiveLayout before = AnalyseLayout(entries, archive.Size());
    TPlacement plan;
    try {
        plan = PlanCopyOnWrite(entries, archive.Size(), writes, {});
    } catch (const TVehmiraError&) {
        return 0; // a name the game cannot read, or a sector past 32 bits
    }
    const TArchiveLayout after = AnalyseLayout(plan.Entries, plan.EndSector * SectorSize);
    const auto misreadBefore = MisreadPairs(before);
    for (const auto& pair : MisreadPairs(after))
        Require(misreadBefore.contains(pair), "no new misread pair");
    Require(plan.Writes.size() == writes.size(), "one place per write");
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const TSectorRange& write = plan.Writes[i];
        Require(std::uint64_t(write.Size) * SectorSize >= writes[i].ByteCount, "the place holds the data");
        for (const TDIREntry& old : entries)
            if (!IsFreeRecord(old))
                Require(!Overlap(write.Offset, write.Size, old.Offset, old.Size), "new data over a live entry");
        for (const TBlockCopy& move : plan.Moves)
            Require(!Overlap(write.Offset, write.Size, move.To, move.Size), "new data over a moved block");
        for (std::size_t j = 0; j < i; ++j)
            Require(!Overlap(write.Offset, write.Size, plan.Writes[j].Offset, plan.Writes[j].Size),
                    "two writes share a sector");
    }
    // The import reads the archive as the game does: entries in a short last sector, none past it.
    TDIRFile opened;
    try {
        opened.LoadFromStream(archive);
    } catch (const TVehmiraError&) {
        return 0;
    }
    RequirePinsLoad(archive.Size(), plan);
    return 0;
}
