#pragma once
// The directory of the IMG archive.
//
// Layout (little-endian), bytes 0 to 3 of the archive are not part of it:
//   4..7          entry count, unsigned 32-bit
//   8 + 32i       Offset of entry i, in 2048-byte sectors
//   12 + 32i      Size of entry i, in sectors
//   16 + 32i      Name of entry i, 24 bytes: characters then zeros (no
//                 terminator for a 24-character name)

#include "fileio/Stream.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::archive {

inline constexpr std::uint64_t SectorSize = 2048;
inline constexpr std::uint64_t DirectoryEntrySize = 32;
inline constexpr std::size_t EntryNameSize = 24;
inline constexpr std::uint64_t DirectoryStart = 8;

struct TDIREntry {
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
    std::string Name;
};

using TDIREntrys = std::vector<TDIREntry>;

// The bytes an archive of fileSize bytes holds for its entries: its length
// rounded up to whole sectors. Some tools end the file inside the last
// entry's last sector (without its zero fill); the bytes missing there read as
// zeros. Saturates instead of wrapping for a length no file can have.
std::uint64_t SectorRoundedLength(std::uint64_t fileSize);

// Entry names compare ignoring the case of a to z only; other bytes compare exactly.
bool EntryNamesEqual(std::string_view a, std::string_view b);

class TDIRFile {
public:
    TDIREntrys Entries;
    std::int32_t FreeSlots = 0; // set and changed by TIMGFile only

    // A count that announces more entries than the stream holds, or an entry
    // whose data lies past the end of the stream, is reported as a damaged
    // archive; Entries is then left as it was. Some tools end the file inside
    // the last entry's last sector (without its zero fill): an entry ending in
    // that partial sector is accepted, and its missing bytes read as zeros.
    // With checkDataEnds false only the directory itself is checked, for a
    // layout check that reports such entries instead of refusing the file.
    void LoadFromStream(fileio::TStream& stream, bool checkDataEnds = true);
    void SaveToStream(fileio::TStream& stream) const;
    // The directory bytes from byte 4 on, as SaveToStream writes them.
    fileio::ByteBuffer DirectoryBytes() const;

    // The first entry whose name equals name ignoring ASCII case, or none.
    TDIREntry* FindEntry(std::string_view name);
    const TDIREntry* FindEntry(std::string_view name) const;
};

} // namespace vehmira::archive
