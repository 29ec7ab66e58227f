// The copy-on-write placement over any directory: it never puts new data on
// sectors a live entry uses, and never leaves more misread pairs than it found.
// Input: the write's size in sectors (first byte), whether it replaces the
// first entry's name or adds a new one (second byte), then the archive.
#include "FuzzSupport.h"
#include "archive/ArchiveLayout.h"
#include "archive/CopyOnWrite.h"
#include "archive/FreeRecords.h"
#include "fileio/Errors.h"

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

bool Overlap(std::uint64_t offset, std::uint64_t size, std::uint64_t otherOffset, std::uint64_t otherSize)
{
    return size != 0 && otherSize != 0 && offset < otherOffset + otherSize && otherOffset < offset + size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint64_t bytes = std::uint64_t(data[0]) * SectorSize - (data[0] != 0 ? 7 : 0);
    const bool replaces = data[1] & 1;
    TMemoryStream archive(ByteBuffer(data + 2, data + size));
    TDIRFile directory;
    try {
        directory.LoadFromStream(archive, false);
    } catch (const TVehmiraError&) {
        return 0;
    }
    const std::string name = replaces && !directory.Entries.empty() ? directory.Entries.front().Name : "fuzz.dff";
    const std::vector<TEntryWrite> writes = {{name, bytes}};
    const TArchiveLayout before = AnalyseLayout(directory.Entries, archive.Size());
    TPlacement plan;
    try {
        plan = PlanCopyOnWrite(directory.Entries, archive.Size(), writes, {});
    } catch (const TVehmiraError&) {
        return 0; // a name the game cannot read, or a sector past 32 bits
    }
    const TArchiveLayout after = AnalyseLayout(plan.Entries, plan.EndSector * SectorSize);
    Require(after.MisreadPairs.size() <= before.MisreadPairs.size(), "no new misread pairs");
    Require(plan.Writes.size() == 1, "one place per write");
    for (const TSectorRange& write : plan.Writes) {
        Require(std::uint64_t(write.Size) * SectorSize >= bytes, "the place holds the data");
        for (const TDIREntry& old : directory.Entries)
            if (!IsFreeRecord(old))
                Require(!Overlap(write.Offset, write.Size, old.Offset, old.Size), "new data over a live entry");
        for (const TBlockCopy& move : plan.Moves)
            Require(!Overlap(write.Offset, write.Size, move.To, move.Size), "new data over a moved block");
    }
    return 0;
}
