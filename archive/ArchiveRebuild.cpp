#include "archive/ArchiveRebuild.h"

#include "archive/DirectoryGrowth.h"
#include "archive/IMG.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"

#include <algorithm>
#include <system_error>

namespace {

// Large enough for the disk to stream, small enough to keep memory flat for any archive.
constexpr std::size_t BufferSize = std::size_t(4) << 20;
// Writing back starts after this many bytes, so the final flush has little left to wait for.
constexpr std::uint64_t WriteBackInterval = std::uint64_t(64) << 20;

std::uint64_t EntryBytes(const TRebuildEntry& entry) { return std::uint64_t(entry.Size) * SectorSize; }

std::uint64_t FirstSectorFor(std::size_t entryCount, std::uint32_t spareSlots)
{
    // The count and the 4-byte tag take one entry's room.
    return std::max<std::uint64_t>(1, SectorsToHold((std::uint64_t(entryCount) + spareSlots + 1) * DirectoryEntrySize));
}

// Reads count bytes at position; bytes past the stream's end read as zeros.
void ReadZeroExtended(TStream& stream, std::uint64_t position, std::span<std::uint8_t> into)
{
    const std::uint64_t size = stream.Size();
    const std::size_t present = position >= size ? 0 : std::size_t(std::min<std::uint64_t>(into.size(), size - position));
    stream.Seek(position);
    stream.Read(into.first(present));
    std::fill(into.begin() + std::ptrdiff_t(present), into.end(), std::uint8_t(0));
}

// Collects the new file's bytes in one buffer and writes it when full; asks
// for a cancel and reports progress once per buffer.
class TBufferedWriter {
public:
    TBufferedWriter(TFileStream& file, const TRebuildOptions& options, std::uint64_t total)
        : File(file), Options(options), Total(total), Buffer(BufferSize)
    {
    }

    std::span<std::uint8_t> Room()
    {
        if (Used == Buffer.size())
            WriteOut();
        return std::span(Buffer).subspan(Used);
    }
    void Commit(std::size_t count) { Used += count; }

    void WriteOut()
    {
        File.Write(std::span(Buffer).first(Used));
        Done += Used;
        SinceWriteBack += Used;
        Used = 0;
        if (SinceWriteBack >= WriteBackInterval) {
            File.StartWriteBack();
            SinceWriteBack = 0;
        }
        ReportAndCheckCancel(Options, Done, Total);
    }

    static void ReportAndCheckCancel(const TRebuildOptions& options, std::uint64_t done, std::uint64_t total)
    {
        if (!options.Progress)
            return;
        options.Progress->Progress(std::min(done, total), total);
        if (options.Progress->CancelRequested())
            throw TOperationCancelled("The archive rebuild was cancelled; the archive is unchanged.");
    }

private:
    TFileStream& File;
    const TRebuildOptions& Options;
    std::uint64_t Total;
    ByteBuffer Buffer;
    std::size_t Used = 0;
    std::uint64_t Done = 0;
    std::uint64_t SinceWriteBack = 0;
};

// Appends one entry's Size sectors; returns their CRC-32.
std::uint32_t CopyEntry(TStream& source, const TRebuildEntry& entry, TBufferedWriter& writer)
{
    TStream& from = entry.Replacement ? *entry.Replacement : source;
    const std::uint64_t start = entry.Replacement ? entry.ReplacementPosition : std::uint64_t(entry.SourceOffset) * SectorSize;
    // A replacement supplies ReplacementCount bytes and zeros after them, never bytes beyond.
    const std::uint64_t fromData = entry.Replacement ? std::min(entry.ReplacementCount, EntryBytes(entry)) : EntryBytes(entry);
    std::uint32_t crcRegister = 0xFFFFFFFFu;
    for (std::uint64_t done = 0; done < EntryBytes(entry);) {
        const std::span<std::uint8_t> room = writer.Room();
        const std::span<std::uint8_t> part = room.first(std::size_t(std::min<std::uint64_t>(room.size(), EntryBytes(entry) - done)));
        const std::size_t dataPart = done >= fromData ? 0 : std::size_t(std::min<std::uint64_t>(part.size(), fromData - done));
        ReadZeroExtended(from, start + done, part.first(dataPart));
        std::fill(part.begin() + std::ptrdiff_t(dataPart), part.end(), std::uint8_t(0));
        crcRegister = CRC32Update(part, crcRegister);
        writer.Commit(part.size());
        done += part.size();
    }
    return ~crcRegister;
}

ByteBuffer HeadBytes(TStream& source, const TDIRFile& directory, std::uint64_t firstSector)
{
    ByteBuffer head(std::size_t(firstSector * SectorSize), 0);
    ReadZeroExtended(source, 0, std::span(head).first(4));
    const ByteBuffer records = directory.DirectoryBytes();
    std::copy(records.begin(), records.end(), head.begin() + 4);
    return head;
}

// Reads the written data back and compares every entry's CRC-32 with the one
// taken when it was written; also the whole file's CRC-32 when asked for.
std::uint32_t VerifyWritten(TFileStream& file, const TDIRFile& directory, const std::vector<std::uint32_t>& crcs,
                            const ByteBuffer& head, const TRebuildOptions& options, std::uint64_t total)
{
    ByteBuffer chunk(BufferSize);
    std::uint32_t fileRegister = options.WantFileCRC ? CRC32Update(head, 0xFFFFFFFFu) : 0;
    const std::uint64_t dataBytes = total / 2;
    std::uint64_t at = head.size();
    for (std::size_t i = 0; i < directory.Entries.size(); ++i) {
        const std::uint64_t length = std::uint64_t(directory.Entries[i].Size) * SectorSize;
        std::uint32_t entryRegister = 0xFFFFFFFFu;
        for (std::uint64_t done = 0; done < length;) {
            const std::span<std::uint8_t> part = std::span(chunk).first(std::size_t(std::min<std::uint64_t>(chunk.size(), length - done)));
            file.Seek(at + done);
            file.Read(part);
            entryRegister = CRC32Update(part, entryRegister);
            if (options.WantFileCRC)
                fileRegister = CRC32Update(part, fileRegister);
            done += part.size();
            TBufferedWriter::ReportAndCheckCancel(options, dataBytes + (at - head.size()) + done, total);
        }
        if (~entryRegister != crcs[i])
            throw TVehmiraError("The rebuilt archive \"" + PathToUtf8(file.Path()) + "\" does not hold entry " +
                                std::to_string(i) + " (\"" + directory.Entries[i].Name + "\") as written");
        at += length;
    }
    return ~fileRegister;
}

TDIRFile NewDirectory(std::span<const TRebuildEntry> entries, std::uint64_t firstSector)
{
    TDIRFile directory;
    directory.Entries.reserve(entries.size());
    std::uint64_t next = firstSector;
    for (const TRebuildEntry& entry : entries) {
        CheckSectorFits(next + entry.Size, entry.Name);
        directory.Entries.push_back({std::uint32_t(next), entry.Size, entry.Name});
        next += entry.Size;
    }
    return directory;
}

TRebuildResult WriteInto(TFileStream& file, TStream& source, std::span<const TRebuildEntry> entries,
                         const TRebuildOptions& options)
{
    const std::uint64_t firstSector = FirstSectorFor(entries.size(), options.SpareSlots);
    TDIRFile directory = NewDirectory(entries, firstSector);
    const ByteBuffer head = HeadBytes(source, directory, firstSector);
    const std::uint64_t total = 2 * (RebuiltArchiveLength(entries, options.SpareSlots) - head.size());
    file.Write(head);
    TBufferedWriter writer(file, options, total);
    std::vector<std::uint32_t> crcs;
    crcs.reserve(entries.size());
    for (const TRebuildEntry& entry : entries)
        crcs.push_back(CopyEntry(source, entry, writer));
    writer.WriteOut();
    file.Flush();
    TRebuildResult result;
    result.File = file.Path();
    result.FileCRC = VerifyWritten(file, directory, crcs, head, options, total);
    result.FileLength = file.Size();
    result.Entries = std::move(directory.Entries);
    return result;
}

void RemoveQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string EntryText(const TDIREntrys& entries, std::size_t index)
{
    return "entry " + std::to_string(index) + " (\"" + entries[index].Name + "\")";
}

} // namespace

std::vector<TRebuildEntry> KeepEveryEntry(const TDIREntrys& entries)
{
    std::vector<TRebuildEntry> kept;
    kept.reserve(entries.size());
    for (const TDIREntry& entry : entries)
        kept.push_back({entry.Name, entry.Size, entry.Offset});
    return kept;
}

std::uint64_t RebuiltArchiveLength(std::span<const TRebuildEntry> entries, std::uint32_t spareSlots)
{
    std::uint64_t sectors = FirstSectorFor(entries.size(), spareSlots);
    for (const TRebuildEntry& entry : entries)
        sectors += entry.Size;
    return sectors * SectorSize;
}

void CheckFreeSpace(std::uint64_t needed, std::uint64_t available, const std::filesystem::path& folder)
{
    if (available < needed)
        throw TVehmiraError("Not enough free disk space in \"" + PathToUtf8(folder) + "\" to rebuild the archive: " +
                            std::to_string(needed) + " bytes are needed, " + std::to_string(available) +
                            " bytes are free");
}

void CheckRebuildable(const TArchiveLayout& layout, const TDIREntrys& entries)
{
    if (!layout.PastEndEntries.empty())
        throw TVehmiraError("Cannot rebuild the archive: " + EntryText(entries, layout.PastEndEntries.front()) +
                            " lies past the end of the file. Nothing was changed.");
    if (!layout.OverlappingEntries.empty())
        throw TVehmiraError("Cannot rebuild the archive: " + EntryText(entries, layout.OverlappingEntries.front()) +
                            " shares its sectors with another entry or the directory. Nothing was changed.");
}

TRebuildResult WriteRebuiltArchive(TStream& source, std::span<const TRebuildEntry> entries,
                                   const std::filesystem::path& archivePath, const TRebuildOptions& options)
{
    // Only the blocks copied from the source: entries whose data come from a
    // replacement (new names among them) take no room there, and counting
    // them would make the source's directory look larger than it is.
    TDIREntrys sourceBlocks;
    sourceBlocks.reserve(entries.size());
    for (const TRebuildEntry& entry : entries)
        if (!entry.Replacement)
            sourceBlocks.push_back({entry.SourceOffset, entry.Size, entry.Name});
    CheckRebuildable(AnalyseLayout(sourceBlocks, source.Size()), sourceBlocks);

    const std::filesystem::path folder = archivePath.parent_path().empty() ? "." : archivePath.parent_path();
    std::error_code spaceError;
    const std::filesystem::space_info space = std::filesystem::space(folder, spaceError);
    if (spaceError)
        throw TVehmiraError("Cannot find the free disk space in \"" + PathToUtf8(folder) + "\": " + spaceError.message());
    CheckFreeSpace(RebuiltArchiveLength(entries, options.SpareSlots), space.available, folder);

    const std::filesystem::path temporary = TemporaryNameBeside(archivePath);
    try {
        TFileStream file(temporary, TFileAccess::CreateNew);
        return WriteInto(file, source, entries, options);
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
}

TRebuildResult RebuildOpenArchive(TIMGFile& archive, const TRebuildOptions& options)
{
    const std::filesystem::path path = archive.File().Path();
    const TRebuildResult result =
        WriteRebuiltArchive(archive.File(), KeepEveryEntry(archive.Directory.Entries), path, options);
    archive.Close();
    try {
        MoveFileIntoPlace(result.File, path);
    } catch (...) {
        RemoveQuietly(result.File);
        try {
            archive.Open(path);
        } catch (...) {
            // The move's own error is the one to report.
        }
        throw;
    }
    archive.Open(path);
    return result;
}

TRebuildResult RebuildArchiveFile(const std::filesystem::path& archivePath, const TRebuildOptions& options)
{
    TRebuildResult result;
    {
        // Locked while the new file is written: nobody else may change it meanwhile.
        TFileStream archive(archivePath, TFileAccess::ReadWriteExclusive);
        RemoveTemporariesBeside(archivePath);
        TDIRFile directory;
        directory.LoadFromStream(archive, false);
        result = WriteRebuiltArchive(archive, KeepEveryEntry(directory.Entries), archivePath, options);
    }
    try {
        MoveFileIntoPlace(result.File, archivePath);
    } catch (...) {
        RemoveQuietly(result.File);
        throw;
    }
    return result;
}
