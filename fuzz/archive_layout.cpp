// The layout check over an in-memory archive: bounded whatever the directory
// says, and every count it reports agrees with the directory it read; the
// reader opens the archive exactly when no entry lies past its last sector,
// counted alike; misread pairs are new only against a directory without them.
#include "FuzzSupport.h"
#include "archive/ArchiveLayout.h"
#include "fileio/Errors.h"

using namespace vehmira::archive;
using namespace vehmira::fileio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream archive(ByteBuffer(data, data + size));
    TArchiveLayout layout;
    try {
        layout = AnalyseLayout(archive);
    } catch (const TVehmiraError&) {
        return 0;
    }
    Require(layout.FileSize == size, "the check sees the whole file");
    Require(layout.ChainPairs < layout.EntryCount || layout.EntryCount == 0, "pairs link neighbours only");
    Require(layout.MisreadPairs.size() <= layout.ChainPairs, "only linked pairs can be misread");
    for (const TMisreadPair& pair : layout.MisreadPairs)
        Require(pair.First < pair.Second && pair.Second < layout.EntryCount, "a misread pair names two entries in order");
    for (const auto* list : {&layout.OverlappingEntries, &layout.PastEndEntries, &layout.ShortTailEntries,
                             &layout.DuplicateNames, &layout.UnterminatedNames})
        for (const std::size_t index : *list)
            Require(index < layout.EntryCount, "every reported entry is in the directory");
    Require(layout.HoleBytes <= size, "holes lie inside the file");
    TDIRFile directory;
    directory.LoadFromStream(archive, false);
    bool opens = true;
    try {
        TDIRFile checked;
        checked.LoadFromStream(archive);
    } catch (const TVehmiraError&) {
        opens = false;
    }
    Require(opens == layout.PastEndEntries.empty(), "the reader refuses exactly the entries past the last sector");
    Require(NewMisreadPairs(directory.Entries, directory.Entries).empty(), "a directory adds no pair to itself");
    Require(NewMisreadPairs({}, directory.Entries).size() == layout.MisreadPairs.size(),
            "against no entries every misread pair is new");
    if (const std::optional<std::size_t> linked = EntryLinkedToTheEnd(directory.Entries))
        Require(*linked < layout.EntryCount && IsStreamedEntryName(directory.Entries[*linked].Name),
                "the entry linked to the end is a streamed one");
    (void)DescribeMisreadPairs(layout);
    return 0;
}
