#include "archive/IMG.h"

#include "archive/DirectoryGrowth.h"
#include "archive/EntryName.h"
#include "fileio/Errors.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <string>

namespace vehmira::archive {

namespace {

// Copies go through a buffer of this size, so memory stays bounded whatever the entry's size.
constexpr std::uint64_t CopyChunkSize = std::uint64_t(1) << 20;

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

void CheckSourceRange(const fileio::TStream& source, std::uint64_t position, std::uint64_t count,
                      std::string_view entryName)
{
    const std::uint64_t size = source.Size();
    if (position > size || count > size - position)
        throw fileio::TVehmiraError("The data for archive entry " + Quoted(entryName) +
                                    " is incomplete: " + std::to_string(count) + " bytes are needed from position " +
                                    std::to_string(position) + ", the source holds " + std::to_string(size) + " bytes");
}

// afterChunk, when given, is called with each chunk's byte count once it is written.
void CopyBetweenStreams(fileio::TStream& from, std::uint64_t fromPosition, fileio::TStream& to,
                        std::uint64_t toPosition, std::uint64_t count,
                        const std::function<void(std::uint64_t)>& afterChunk = {})
{
    // Not zeroed first: every byte is read into before it is written out.
    const auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(std::min(count, CopyChunkSize)));
    from.Seek(fromPosition);
    to.Seek(toPosition);
    for (std::uint64_t done = 0; done < count;) {
        const std::span<std::uint8_t> part(chunk.get(), static_cast<std::size_t>(std::min(count - done, CopyChunkSize)));
        // Both may be the same stream (a block moving inside the archive).
        from.Seek(fromPosition + done);
        from.Read(part);
        to.Seek(toPosition + done);
        to.Write(part);
        done += part.size();
        if (afterChunk)
            afterChunk(part.size());
    }
    from.Seek(fromPosition + count);
    to.Seek(toPosition + count);
}

void WriteZeros(fileio::TStream& stream, std::uint64_t position, std::uint64_t count)
{
    const fileio::ByteBuffer zeros(static_cast<std::size_t>(std::min(count, CopyChunkSize)), 0);
    stream.Seek(position);
    for (std::uint64_t done = 0; done < count;) {
        const std::size_t part = static_cast<std::size_t>(std::min(count - done, CopyChunkSize));
        stream.Write(std::span(zeros).first(part));
        done += part;
    }
}

// Copies count bytes of the archive from fromPosition; bytes past its end (the
// short last sector some tools write) arrive as the zeros they stand for.
void CopyArchiveBytes(fileio::TStream& archive, std::uint64_t fromPosition, fileio::TStream& to,
                      std::uint64_t toPosition, std::uint64_t count)
{
    const std::uint64_t size = archive.Size();
    const std::uint64_t present = fromPosition >= size ? 0 : std::min(count, size - fromPosition);
    CopyBetweenStreams(archive, fromPosition, to, toPosition, present);
    WriteZeros(to, toPosition + present, count - present);
}

// Zero-fills the archive up to byteEnd when it is shorter.
void ExtendTo(fileio::TStream& archive, std::uint64_t byteEnd)
{
    const std::uint64_t size = archive.Size();
    if (size < byteEnd)
        WriteZeros(archive, size, byteEnd - size);
}

} // namespace

void TIMGFile::Open(const std::filesystem::path& fileName)
{
    Close();
    auto file = std::make_unique<fileio::TFileStream>(fileName, fileio::TFileAccess::ReadWriteExclusive);
    Directory.LoadFromStream(*file);
    Stream = std::move(file);
    UpdateFreeSlots();
}

void TIMGFile::Close()
{
    Stream.reset();
    Directory = TDIRFile();
}

fileio::TFileStream& TIMGFile::File()
{
    if (!Stream)
        throw fileio::TVehmiraError("The model archive is not open");
    return *Stream;
}

std::uint64_t TIMGFile::ExtractToStream(fileio::TStream& dest, std::uint64_t position, std::string_view entryName)
{
    fileio::TFileStream& archive = File();
    const TDIREntry* entry = Directory.FindEntry(entryName);
    if (!entry)
        throw fileio::TVehmiraError("The model archive has no entry " + Quoted(entryName));
    const std::uint64_t byteCount = std::uint64_t(entry->Size) * SectorSize;
    CopyArchiveBytes(archive, std::uint64_t(entry->Offset) * SectorSize, dest, position, byteCount);
    return byteCount;
}

void TIMGFile::AddFile(const std::filesystem::path& fileName, std::string_view entryName)
{
    File(); // a closed archive is refused before the source is opened
    CheckEntryName(entryName);
    fileio::TFileStream source(fileName, fileio::TFileAccess::Read);
    WriteEntry(source, 0, source.Size(), entryName);
}

void TIMGFile::AddStream(fileio::TStream& source, std::uint64_t position, std::uint64_t count,
                         std::string_view entryName)
{
    File();
    CheckEntryName(entryName);
    CheckSourceRange(source, position, count, entryName);
    WriteEntry(source, position, count, entryName);
}

void TIMGFile::WriteEntry(fileio::TStream& source, std::uint64_t position, std::uint64_t count,
                          std::string_view entryName)
{
    fileio::TFileStream& archive = File();
    // The last entry of that name is the one replaced.
    const auto present = std::find_if(Directory.Entries.rbegin(), Directory.Entries.rend(),
                                      [entryName](const TDIREntry& entry) { return EntryNamesEqual(entry.Name, entryName); });
    const std::ptrdiff_t targetIndex =
        present == Directory.Entries.rend() ? -1 : std::distance(Directory.Entries.begin(), present.base()) - 1;
    try {
        if (targetIndex < 0)
            MoveBlocksForOneMoreEntry();
        // Data starts on a sector boundary even if the archive ends inside a sector.
        const std::uint64_t dataSector = SectorsToHold(archive.Size());
        CheckSectorFits(dataSector, entryName);
        const std::uint64_t sectors = SectorsToHold(count);
        CheckSectorFits(sectors, entryName);
        ExtendTo(archive, dataSector * SectorSize);
        CopyBetweenStreams(source, position, archive, dataSector * SectorSize, count);
        WriteZeros(archive, dataSector * SectorSize + count, sectors * SectorSize - count);

        TDIREntry& target = targetIndex < 0 ? Directory.Entries.emplace_back() : Directory.Entries[std::size_t(targetIndex)];
        target.Name = std::string(entryName);
        target.Offset = std::uint32_t(dataSector);
        target.Size = std::uint32_t(sectors);
        SaveDirectoryAfterData(archive);
    } catch (...) {
        RestoreDirectoryFromDisk();
        throw;
    }
    UpdateFreeSlots();
}

void TIMGFile::ApplyPlacement(const TPlacement& placement, std::span<const TEntrySource> sources,
                              fileio::TProgressSink* progress)
{
    fileio::TFileStream& archive = File();
    if (sources.size() != placement.Writes.size())
        throw fileio::TVehmiraError("The placement does not match the entries to write");
    std::uint64_t total = 0;
    for (const TEntrySource& source : sources)
        total += source.Count;
    std::uint64_t done = 0;
    try {
        for (const TBlockCopy& move : placement.Moves) {
            ExtendTo(archive, std::uint64_t(move.To) * SectorSize);
            CopyArchiveBytes(archive, std::uint64_t(move.From) * SectorSize, archive, std::uint64_t(move.To) * SectorSize,
                             std::uint64_t(move.Size) * SectorSize);
        }
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const TEntrySource& source = sources[i];
            const std::uint64_t start = std::uint64_t(placement.Writes[i].Offset) * SectorSize;
            const std::uint64_t length = std::uint64_t(placement.Writes[i].Size) * SectorSize;
            CheckSourceRange(*source.Stream, source.Position, source.Count, source.EntryName);
            if (source.Count > length)
                throw fileio::TVehmiraError("The placement gives an entry fewer sectors than its data need");
            ExtendTo(archive, start);
            // Each chunk is sent on to the disk at once: the disk works while the
            // next one is copied, and the commit's flush has little left to wait for.
            CopyBetweenStreams(*source.Stream, source.Position, archive, start, source.Count, [&](std::uint64_t chunk) {
                archive.StartWriteBack();
                done += chunk;
                if (progress) {
                    progress->Progress(done, total);
                    if (progress->CancelRequested())
                        throw fileio::TOperationCancelled("The import was cancelled; the game files are unchanged.");
                }
            });
            WriteZeros(archive, start + source.Count, length - source.Count);
        }
        ExtendTo(archive, placement.EndSector * SectorSize);
        Directory.Entries = placement.Entries;
        Directory.SaveToStream(archive);
    } catch (...) {
        RestoreDirectoryFromDisk();
        throw;
    }
    UpdateFreeSlots();
}

void TIMGFile::GrowDirectory()
{
    fileio::TFileStream& archive = File();
    try {
        MoveBlocksForOneMoreEntry();
        SaveDirectoryAfterData(archive);
    } catch (...) {
        RestoreDirectoryFromDisk();
        throw;
    }
    UpdateFreeSlots();
}

void TIMGFile::SaveDirectoryAfterData(fileio::TFileStream& archive)
{
    if (DirectoryDeferred)
        return;
    // The new data (and any moved block) must be on disk before the directory points at it.
    archive.Flush();
    Directory.SaveToStream(archive);
}

void TIMGFile::MoveBlocksForOneMoreEntry()
{
    fileio::TFileStream& archive = File();
    std::uint64_t endSector = SectorsToHold(archive.Size());
    for (const TBlockMove& move : PlanGrowth(Directory.Entries, endSector)) {
        ExtendTo(archive, std::uint64_t(move.To) * SectorSize);
        CopyArchiveBytes(archive, std::uint64_t(move.From) * SectorSize, archive, std::uint64_t(move.To) * SectorSize,
                         std::uint64_t(move.Size) * SectorSize);
    }
    ExtendTo(archive, endSector * SectorSize);
    UpdateFreeSlots();
}

std::uint32_t TIMGFile::FirstDataSector() const { return FirstDataSectorOf(Directory.Entries); }

std::uint64_t TIMGFile::HeadBytesAtRisk(int newEntries) const
{
    if (!Stream)
        throw fileio::TVehmiraError("The model archive is not open");
    const std::uint64_t fileSize = Stream->Size();
    // Bytes past the end are not overwritten but appended.
    if (newEntries <= 0)
        return std::min(std::uint64_t(FirstDataSector()) * SectorSize, fileSize);
    // The growth is planned on a copy: nothing moves yet.
    TDIREntrys entries = Directory.Entries;
    std::uint64_t endSector = SectorsToHold(fileSize);
    for (int added = 0; added < newEntries; ++added) {
        PlanGrowth(entries, endSector);
        TDIREntry& simulated = entries.emplace_back();
        simulated.Offset = std::uint32_t(std::min<std::uint64_t>(endSector, std::numeric_limits<std::uint32_t>::max()));
    }
    return std::min(std::uint64_t(FirstDataSectorOf(entries)) * SectorSize, fileSize);
}

void TIMGFile::ReloadDirectory()
{
    Directory.LoadFromStream(File());
    UpdateFreeSlots();
}

void TIMGFile::RestoreDirectoryFromDisk()
{
    try {
        ReloadDirectory();
    } catch (...) {
        // The directory on disk cannot be read back: keep nobody working on a
        // directory that no longer matches the file.
        Close();
    }
}

void TIMGFile::UpdateFreeSlots() { Directory.FreeSlots = FreeSlotsFor(Directory.Entries); }

TIMGFile::TDeferredDirectory::TDeferredDirectory(TIMGFile& archive) : Archive(archive)
{
    if (Archive.DirectoryDeferred)
        throw fileio::TVehmiraError("The archive's directory is already held back");
    Archive.File(); // a closed archive is refused
    Archive.DirectoryDeferred = true;
}

TIMGFile::TDeferredDirectory::~TDeferredDirectory()
{
    Archive.DirectoryDeferred = false;
    if (!Settled && Archive.IsOpen())
        Archive.RestoreDirectoryFromDisk();
}

void TIMGFile::TDeferredDirectory::Write()
{
    if (Settled)
        return;
    try {
        Archive.Directory.SaveToStream(Archive.File());
    } catch (...) {
        Archive.RestoreDirectoryFromDisk();
        Settled = true; // already taken back
        throw;
    }
    Settled = true;
    Archive.DirectoryDeferred = false;
}

} // namespace vehmira::archive
