#include "ArchiveBuilder.h"

#include "fileio/FileStream.h"

#include <algorithm>

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
    ByteBuffer image{'T', 'E', 'S', 'T'};
    AppendU32LE(image, std::uint32_t(entries.size()));
    for (const TTestEntry& entry : entries) {
        AppendU32LE(image, entry.Offset);
        AppendU32LE(image, entry.Size);
        ByteBuffer name(EntryNameSize, 0);
        std::copy_n(entry.Name.begin(), std::min(entry.Name.size(), EntryNameSize), name.begin());
        AppendBytes(image, name);
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
