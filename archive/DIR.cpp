#include "archive/DIR.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"

#include <algorithm>
#include <limits>
#include <string>

namespace vehmira::archive {

namespace {

constexpr std::uint64_t CountPosition = 4;

char UpperAsciiLetter(char c) { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }

[[noreturn]] void Damaged(const std::string& problem) { throw fileio::TVehmiraError("Damaged archive: " + problem); }

// The name field holds the characters, then zeros; bytes after the first zero
// are leftovers of earlier names and do not belong to the name.
std::string NameFromField(std::span<const std::uint8_t> field)
{
    const auto end = std::find(field.begin(), field.end(), std::uint8_t(0));
    return std::string(field.begin(), end);
}

TDIREntry ReadEntry(fileio::TByteReader& reader)
{
    TDIREntry entry;
    entry.Offset = reader.U32("entry offset");
    entry.Size = reader.U32("entry size");
    entry.Name = NameFromField(reader.Bytes(EntryNameSize, "entry name"));
    return entry;
}

} // namespace

void TDIRFile::LoadFromStream(fileio::TStream& stream, bool checkDataEnds)
{
    const std::uint64_t fileSize = stream.Size();
    if (fileSize < DirectoryStart)
        Damaged("the file is too short for its directory (" + std::to_string(fileSize) + " bytes)");
    stream.Seek(CountPosition);
    std::uint8_t countBytes[4];
    stream.Read(countBytes);
    const std::uint64_t count = fileio::LoadU32LE(countBytes);
    const std::uint64_t regionSize = count * DirectoryEntrySize;
    if (regionSize > fileSize - DirectoryStart)
        Damaged("the directory announces " + std::to_string(count) + " entries, but the file holds only " +
                std::to_string((fileSize - DirectoryStart) / DirectoryEntrySize));

    // One read for the whole region: real directories hold 16,000 entries and more.
    fileio::ByteBuffer region(static_cast<std::size_t>(regionSize));
    stream.Read(region);
    fileio::TByteReader reader(region, "Archive directory");
    const std::uint64_t sectorEnd = SectorRoundedLength(fileSize);
    TDIREntrys loaded;
    loaded.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        TDIREntry entry = ReadEntry(reader);
        const std::uint64_t dataEnd = (std::uint64_t(entry.Offset) + entry.Size) * SectorSize;
        if (checkDataEnds && dataEnd > sectorEnd)
            Damaged("entry " + std::to_string(i) + " (\"" + entry.Name + "\") lies past the end of the file");
        loaded.push_back(std::move(entry));
    }
    Entries = std::move(loaded);
}

fileio::ByteBuffer TDIRFile::DirectoryBytes() const
{
    fileio::ByteBuffer bytes;
    bytes.reserve(4 + Entries.size() * DirectoryEntrySize);
    fileio::AppendU32LE(bytes, std::uint32_t(Entries.size()));
    for (const TDIREntry& entry : Entries) {
        fileio::AppendU32LE(bytes, entry.Offset);
        fileio::AppendU32LE(bytes, entry.Size);
        const std::size_t nameLength = std::min(entry.Name.size(), EntryNameSize);
        bytes.insert(bytes.end(), entry.Name.begin(), entry.Name.begin() + std::ptrdiff_t(nameLength));
        bytes.insert(bytes.end(), EntryNameSize - nameLength, std::uint8_t(0));
    }
    return bytes;
}

void TDIRFile::SaveToStream(fileio::TStream& stream) const
{
    stream.Seek(CountPosition);
    stream.Write(DirectoryBytes());
}

std::uint64_t SectorRoundedLength(std::uint64_t fileSize)
{
    const std::uint64_t missing = (SectorSize - fileSize % SectorSize) % SectorSize;
    return fileSize > std::numeric_limits<std::uint64_t>::max() - missing ? std::numeric_limits<std::uint64_t>::max()
                                                                           : fileSize + missing;
}

bool EntryNamesEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAsciiLetter(x) == UpperAsciiLetter(y); });
}

TDIREntry* TDIRFile::FindEntry(std::string_view name)
{
    const auto found = std::find_if(Entries.begin(), Entries.end(),
                                    [name](const TDIREntry& entry) { return EntryNamesEqual(entry.Name, name); });
    return found == Entries.end() ? nullptr : &*found;
}

const TDIREntry* TDIRFile::FindEntry(std::string_view name) const
{
    const auto found = std::find_if(Entries.begin(), Entries.end(),
                                    [name](const TDIREntry& entry) { return EntryNamesEqual(entry.Name, name); });
    return found == Entries.end() ? nullptr : &*found;
}

} // namespace vehmira::archive
