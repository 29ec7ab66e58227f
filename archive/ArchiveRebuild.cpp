#include "archive/ArchiveRebuild.h"

#include "archive/DirectoryGrowth.h"
#include "archive/EntryName.h"
#include "archive/FreeRecords.h"
#include "archive/IMG.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"

#include <algorithm>
#include <system_error>

namespace vehmira::archive {

namespace {

// Large enough for the disk to stream, small enough to keep memory flat for any archive.
constexpr std::size_t BufferSize = std::size_t(4) << 20;
// Writing back starts after every this many bytes, so the final flush has
// little left to wait for. Small steps keep the disk busy all along: with
// 64 MiB steps the rebuild took half as long again as copying the file.
constexpr std::uint64_t WriteBackInterval = std::uint64_t(4) << 20;
// Progress is reported (and a cancel asked for) about once per this much
// work, whether the entries are many small ones or few large ones.
constexpr std::uint64_t ReportInterval = std::uint64_t(1) << 20;

std::uint64_t EntryBytes(const TRebuildEntry& entry) { return std::uint64_t(entry.Size) * SectorSize; }

std::uint64_t FirstSectorFor(std::size_t entryCount, std::uint32_t spareSlots)
{
    // The count and the 4-byte tag take one entry's room.
    return std::max<std::uint64_t>(1, SectorsToHold((std::uint64_t(entryCount) + spareSlots + 1) * DirectoryEntrySize));
}

// Reads into.size() bytes at position of a stream of sourceSize bytes; bytes
// past its end read as zeros.
void ReadZeroExtended(fileio::TStream& stream, std::uint64_t sourceSize, std::uint64_t position,
                      std::span<std::uint8_t> into)
{
    const std::size_t present =
        position >= sourceSize ? 0 : std::size_t(std::min<std::uint64_t>(into.size(), sourceSize - position));
    stream.Seek(position);
    stream.Read(into.first(present));
    std::fill(into.begin() + std::ptrdiff_t(present), into.end(), std::uint8_t(0));
}

void ReportAndCheckCancel(const TRebuildOptions& options, std::uint64_t done, std::uint64_t total)
{
    if (!options.Progress)
        return;
    options.Progress->Progress(std::min(done, total), total);
    if (options.Progress->CancelRequested())
        throw fileio::TOperationCancelled("The archive rebuild was cancelled; the archive is unchanged.");
}

// Collects the new file's bytes in one buffer and writes it when full, then
// reads the buffer back and compares it while both are still in the cache (a
// second pass over the whole file after the flush would read every byte
// again). Reports progress after the write and after the check, asking for a
// cancel each time; the whole file's CRC-32 is taken from the buffer.
class TBufferedWriter {
public:
    TBufferedWriter(fileio::TFileStream& file, const TRebuildOptions& options, std::uint64_t total)
        : File(file), Options(options), Total(total), Buffer(BufferSize), ReadBack(BufferSize)
    {
    }

    // The head goes through the same write, check and CRC as the data, but counts for no progress.
    void WriteHead(std::span<const std::uint8_t> head)
    {
        WriteChecked(head);
        Written += head.size();
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
        if (Used == 0)
            return;
        const std::span<const std::uint8_t> bytes = std::span(Buffer).first(Used);
        File.Seek(Written);
        File.Write(bytes);
        Done += Used;
        Report();
        Check(bytes);
        Done += Used;
        Advance(Used);
        Used = 0;
        Report();
    }

    // Copies count bytes of source inside the system, as a file copy does
    // (no pass through this process, so nothing to read back); false when
    // the system cannot, from then on.
    bool CopyInside(fileio::TFileStream& source, std::uint64_t position, std::uint64_t count)
    {
        if (!KernelCopy)
            return false;
        WriteOut();
        File.Seek(Written);
        if (!File.CopyFrom(source, position, count)) {
            KernelCopy = false;
            return false;
        }
        Done += 2 * count;
        Advance(count);
        Report();
        return true;
    }

    void Finish()
    {
        WriteOut();
        if (LastReported != Done)
            ReportAndCheckCancel(Options, Done, Total);
    }

    std::uint32_t FileCRC() const { return ~FileRegister; }

private:
    void WriteChecked(std::span<const std::uint8_t> bytes)
    {
        File.Seek(Written);
        File.Write(bytes);
        Check(bytes);
    }

    void Advance(std::uint64_t count)
    {
        Written += count;
        SinceWriteBack += count;
        if (SinceWriteBack >= WriteBackInterval) {
            File.StartWriteBack();
            SinceWriteBack = 0;
        }
    }

    void Report()
    {
        if (Done - LastReported < ReportInterval)
            return;
        LastReported = Done;
        ReportAndCheckCancel(Options, Done, Total);
    }

    void Check(std::span<const std::uint8_t> bytes)
    {
        for (std::size_t at = 0; at < bytes.size(); at += ReadBack.size()) {
            const std::size_t count = std::min(ReadBack.size(), bytes.size() - at);
            File.Seek(Written + at);
            File.Read(std::span(ReadBack).first(count));
            if (!std::equal(ReadBack.begin(), ReadBack.begin() + std::ptrdiff_t(count), bytes.begin() + std::ptrdiff_t(at)))
                throw fileio::TVehmiraError("The rebuilt archive \"" + fileio::PathToUtf8(File.Path()) +
                                            "\" does not hold the bytes written at position " +
                                            std::to_string(Written + at));
        }
        if (Options.WantFileCRC)
            FileRegister = gamedata::CRC32Update(bytes, FileRegister);
    }

    fileio::TFileStream& File;
    const TRebuildOptions& Options;
    std::uint64_t Total;
    fileio::ByteBuffer Buffer;
    fileio::ByteBuffer ReadBack;
    std::size_t Used = 0;
    std::uint64_t Written = 0; // bytes of the file written and checked
    std::uint64_t Done = 0;    // progress: data bytes written plus data bytes checked
    std::uint64_t LastReported = 0;
    std::uint64_t SinceWriteBack = 0;
    std::uint32_t FileRegister = 0xFFFFFFFFu;
    bool KernelCopy = !Options.WantFileCRC; // the whole file's CRC needs every byte here
};

// Appends one entry's Size sectors. Bytes of the source archive file go from
// file to file inside the system where it can; the rest through the buffer.
void CopyEntry(fileio::TStream& source, std::uint64_t sourceSize, const TRebuildEntry& entry, TBufferedWriter& writer)
{
    fileio::TStream& from = entry.Replacement ? *entry.Replacement : source;
    const std::uint64_t fromSize = entry.Replacement ? entry.Replacement->Size() : sourceSize;
    const std::uint64_t start = entry.Replacement ? entry.ReplacementPosition : std::uint64_t(entry.SourceOffset) * SectorSize;
    // A replacement supplies ReplacementCount bytes and zeros after them, never bytes beyond.
    const std::uint64_t fromData = entry.Replacement ? std::min(entry.ReplacementCount, EntryBytes(entry)) : EntryBytes(entry);
    std::uint64_t done = 0;
    auto* sourceFile = dynamic_cast<fileio::TFileStream*>(&source);
    if (!entry.Replacement && sourceFile != nullptr && start < sourceSize) {
        const std::uint64_t present = std::min(fromData, sourceSize - start);
        if (writer.CopyInside(*sourceFile, start, present))
            done = present;
    }
    while (done < EntryBytes(entry)) {
        const std::span<std::uint8_t> room = writer.Room();
        const std::span<std::uint8_t> part = room.first(std::size_t(std::min<std::uint64_t>(room.size(), EntryBytes(entry) - done)));
        const std::size_t dataPart = done >= fromData ? 0 : std::size_t(std::min<std::uint64_t>(part.size(), fromData - done));
        ReadZeroExtended(from, fromSize, start + done, part.first(dataPart));
        std::fill(part.begin() + std::ptrdiff_t(dataPart), part.end(), std::uint8_t(0));
        writer.Commit(part.size());
        done += part.size();
    }
}

// How many entries from first on lie back to back in the source, whole, in
// their new order: the blocks of an archive rebuilt before, or never changed.
std::size_t InOrderRun(std::span<const TRebuildEntry> entries, std::size_t first, std::uint64_t sourceSize)
{
    std::size_t count = 0;
    std::uint64_t next = entries[first].SourceOffset;
    for (std::size_t i = first; i < entries.size(); ++i, ++count) {
        const TRebuildEntry& entry = entries[i];
        if (entry.Replacement || entry.SourceOffset != next || (std::uint64_t(entry.SourceOffset) + entry.Size) * SectorSize > sourceSize)
            break;
        next = std::uint64_t(entry.SourceOffset) + entry.Size;
    }
    return count;
}

// Such a run in one copy inside the system; false when it cannot.
bool CopyRun(fileio::TStream& source, std::span<const TRebuildEntry> run, TBufferedWriter& writer)
{
    auto* sourceFile = dynamic_cast<fileio::TFileStream*>(&source);
    const std::uint64_t start = std::uint64_t(run.front().SourceOffset) * SectorSize;
    const std::uint64_t end = (std::uint64_t(run.back().SourceOffset) + run.back().Size) * SectorSize;
    return sourceFile != nullptr && writer.CopyInside(*sourceFile, start, end - start);
}

fileio::ByteBuffer HeadBytes(fileio::TStream& source, const TDIRFile& directory, std::uint64_t firstSector)
{
    fileio::ByteBuffer head(std::size_t(firstSector * SectorSize), 0);
    ReadZeroExtended(source, source.Size(), 0, std::span(head).first(4));
    const fileio::ByteBuffer records = directory.DirectoryBytes();
    std::copy(records.begin(), records.end(), head.begin() + 4);
    return head;
}

std::vector<bool> LaterDuplicatesOf(std::span<const TRebuildEntry> entries)
{
    TDIREntrys names(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        names[i].Name = entries[i].Name;
    return LaterDuplicates(names);
}

// The entries in the order their data are written: directory order, but the
// later duplicates (which the game skips while its chain runs on across them)
// last, so that no chain run crosses their data.
std::vector<TRebuildEntry> InDataOrder(std::span<const TRebuildEntry> entries)
{
    const std::vector<bool> later = LaterDuplicatesOf(entries);
    std::vector<TRebuildEntry> ordered;
    ordered.reserve(entries.size());
    for (const bool wantLater : {false, true})
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (later[i] == wantLater)
                ordered.push_back(entries[i]);
    return ordered;
}

TDIRFile NewDirectory(std::span<const TRebuildEntry> entries, std::uint64_t firstSector)
{
    const std::vector<bool> later = LaterDuplicatesOf(entries);
    TDIRFile directory;
    directory.Entries.resize(entries.size());
    std::uint64_t next = firstSector;
    for (const bool wantLater : {false, true}) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (later[i] != wantLater)
                continue;
            const TRebuildEntry& entry = entries[i];
            if (entry.Replacement)
                CheckEntryName(entry.Name);
            CheckSectorFits(next + entry.Size, entry.Name);
            directory.Entries[i] = {std::uint32_t(next), entry.Size, entry.Name};
            next += entry.Size;
        }
    }
    return directory;
}

TRebuildResult WriteInto(fileio::TFileStream& file, fileio::TStream& source, std::span<const TRebuildEntry> entries,
                         const TRebuildOptions& options)
{
    const std::uint64_t firstSector = FirstSectorFor(entries.size(), options.SpareSlots);
    TDIRFile directory = NewDirectory(entries, firstSector);
    const fileio::ByteBuffer head = HeadBytes(source, directory, firstSector);
    const std::uint64_t total = 2 * (RebuiltArchiveLength(entries, options.SpareSlots) - head.size());
    TBufferedWriter writer(file, options, total);
    writer.WriteHead(head);
    const std::uint64_t sourceSize = source.Size();
    const std::vector<TRebuildEntry> ordered = InDataOrder(entries);
    const std::span<const TRebuildEntry> inOrder(ordered);
    for (std::size_t i = 0; i < inOrder.size();) {
        const std::size_t run = InOrderRun(inOrder, i, sourceSize);
        if (run > 1 && CopyRun(source, inOrder.subspan(i, run), writer)) {
            i += run;
            continue;
        }
        CopyEntry(source, sourceSize, inOrder[i], writer);
        ++i;
    }
    writer.Finish();
    file.Flush();
    TRebuildResult result;
    result.File = file.Path();
    result.FileCRC = options.WantFileCRC ? writer.FileCRC() : 0;
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
        if (!IsFreeRecord(entry))
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
        throw fileio::TVehmiraError("Not enough free disk space in \"" + fileio::PathToUtf8(folder) +
                                    "\" to rebuild the archive: " + std::to_string(needed) + " bytes are needed, " +
                                    std::to_string(available) + " bytes are free");
}

void CheckRebuildable(const TArchiveLayout& layout, const TDIREntrys& entries)
{
    if (!layout.PastEndEntries.empty())
        throw fileio::TVehmiraError("Cannot rebuild the archive: " + EntryText(entries, layout.PastEndEntries.front()) +
                                    " lies past the end of the file. Nothing was changed.");
    if (!layout.OverlappingEntries.empty())
        throw fileio::TVehmiraError(
            "Cannot rebuild the archive: " + EntryText(entries, layout.OverlappingEntries.front()) +
            " shares its sectors with another entry or the directory. Nothing was changed.");
}

TRebuildResult WriteRebuiltArchive(fileio::TStream& source, std::span<const TRebuildEntry> entries,
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
        throw fileio::TVehmiraError("Cannot find the free disk space in \"" + fileio::PathToUtf8(folder) +
                                    "\": " + spaceError.message());
    CheckFreeSpace(RebuiltArchiveLength(entries, options.SpareSlots), space.available, folder);

    const std::filesystem::path temporary = fileio::TemporaryNameBeside(archivePath);
    try {
        fileio::TFileStream file(temporary, fileio::TFileAccess::CreateNew);
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
        fileio::MoveFileIntoPlace(result.File, path);
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
        fileio::TFileStream archive(archivePath, fileio::TFileAccess::ReadWriteExclusive);
        fileio::RemoveTemporariesBeside(archivePath);
        TDIRFile directory;
        directory.LoadFromStream(archive, false);
        result = WriteRebuiltArchive(archive, KeepEveryEntry(directory.Entries), archivePath, options);
    }
    try {
        fileio::MoveFileIntoPlace(result.File, archivePath);
    } catch (...) {
        RemoveQuietly(result.File);
        throw;
    }
    return result;
}

} // namespace vehmira::archive
