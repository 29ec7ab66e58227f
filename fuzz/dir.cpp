// The archive directory loader over an in-memory archive: what loads lies inside
// the archive and reads back the same from the bytes it saves as.
#include "archive/DIR.h"
#include "fileio/Errors.h"
#include "FuzzSupport.h"

using namespace vehmira::archive;
using namespace vehmira::fileio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream archive(ByteBuffer(data, data + size));
    TDIRFile directory;
    try {
        directory.LoadFromStream(archive);
    } catch (const TVehmiraError&) {
        Require(directory.Entries.empty(), "a refused directory leaves the entries as they were");
        return 0;
    }
    for (const TDIREntry& entry : directory.Entries) {
        // The last entry may end inside a last sector the file does not fill.
        const std::uint64_t wholeSectors = (std::uint64_t(size) + SectorSize - 1) / SectorSize * SectorSize;
        Require((std::uint64_t(entry.Offset) + entry.Size) * SectorSize <= wholeSectors,
                "every entry lies inside the file's sectors");
        Require(entry.Name.size() <= EntryNameSize, "a name fits its field");
        Require(entry.Name.find('\0') == std::string::npos, "a name ends at its first zero");
    }

    // The saved directory, with the archive's own first four bytes and data behind it.
    ByteBuffer saved(data, data + 4);
    AppendBytes(saved, directory.DirectoryBytes());
    if (saved.size() < size)
        saved.insert(saved.end(), data + saved.size(), data + size);
    TMemoryStream savedArchive(saved);
    TDIRFile reloaded;
    reloaded.LoadFromStream(savedArchive);
    Require(reloaded.Entries.size() == directory.Entries.size(), "the saved directory holds every entry");
    for (std::size_t i = 0; i < reloaded.Entries.size(); ++i)
        Require(reloaded.Entries[i].Offset == directory.Entries[i].Offset &&
                    reloaded.Entries[i].Size == directory.Entries[i].Size &&
                    reloaded.Entries[i].Name == directory.Entries[i].Name,
                "every entry reads back as saved");
    return 0;
}
