#include "support/ArchiveBuilder.h"

#include "fileio/FileStream.h"

#include <algorithm>

using namespace vehmira::archive;
using namespace vehmira::fileio;

ByteBuffer TestEntryData(const TTestEntry& entry)
{
    ByteBuffer data(std::size_t(entry.Size) * SectorSize);
    std::uint8_t seed = 0;
    for (char c : entry.Name)
        seed = std::uint8_t(seed * 31 + std::uint8_t(c));
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(seed + i * 7 + (i >> 11));
    return data;
}

ByteBuffer TestDirectoryImage(const std::vector<TTestEntry>& entries)
{
    ByteBuffer image(DirectoryStart + entries.size() * DirectoryEntrySize, 0);
    const std::span<std::uint8_t> bytes(image);
    std::copy_n("TEST", 4, image.begin());
    StoreU32LE(bytes.subspan<4, 4>(), std::uint32_t(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::span<std::uint8_t> field = bytes.subspan(DirectoryStart + i * DirectoryEntrySize, DirectoryEntrySize);
        StoreU32LE(field.subspan<0, 4>(), entries[i].Offset);
        StoreU32LE(field.subspan<4, 4>(), entries[i].Size);
        std::copy_n(entries[i].Name.begin(), std::min(entries[i].Name.size(), EntryNameSize), field.begin() + 8);
    }
    return image;
}

std::filesystem::path WriteTestArchive(const std::filesystem::path& path, const std::vector<TTestEntry>& entries,
                                       std::uint64_t fileSize)
{
    TFileStream file(path, TFileAccess::CreateOrTruncate);
    const ByteBuffer directory = TestDirectoryImage(entries);
    file.Write(directory);
    std::uint64_t end = (directory.size() + SectorSize - 1) / SectorSize * SectorSize;
    for (const TTestEntry& entry : entries) {
        file.Seek(std::uint64_t(entry.Offset) * SectorSize);
        file.Write(TestEntryData(entry));
        end = std::max(end, file.Position());
    }
    file.Truncate(std::max(end, fileSize));
    return path;
}

ByteBuffer ArchiveBytes(TIMGFile& archive)
{
    TFileStream& file = archive.File();
    file.Seek(0);
    return file.ReadBytes(file.Size());
}

ByteBuffer Extract(TIMGFile& archive, std::string_view name)
{
    TMemoryStream out;
    archive.ExtractToStream(out, 0, name);
    return out.Bytes();
}

ByteBuffer ZeroFilled(const ByteBuffer& bytes, std::size_t length)
{
    ByteBuffer filled(std::max(length, bytes.size()), 0);
    std::copy(bytes.begin(), bytes.end(), filled.begin());
    return filled;
}

std::string NumberedName(std::string_view prefix, std::size_t number, std::string_view suffix)
{
    std::string name(prefix);
    name.append(std::to_string(number)).append(suffix);
    return name;
}
