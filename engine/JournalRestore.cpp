#include "engine/JournalRestore.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "engine/JournalStore.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace {

// Large enough to read fast, small enough to keep memory flat for any archive.
constexpr std::uint64_t CRCChunkSize = 1 << 20;

std::string GenericText(const std::filesystem::path& relativePath)
{
    const std::u8string generic = relativePath.generic_u8string();
    return std::string(generic.begin(), generic.end());
}

// "Data\Handling.cfg": how the game's own files are named to the user.
std::string GameFileText(const std::filesystem::path& relativePath)
{
    std::string text = GenericText(relativePath);
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string JournalName(const std::filesystem::path& journalDirectory)
{
    return "\"" + PathToUtf8(journalDirectory.filename()) + "\"";
}

TVehmiraError DamagedJournal(const std::string& journalName, const std::string& what)
{
    return TVehmiraError("The import journal " + journalName + " is damaged: " + what + ". Nothing was restored.");
}

// The saved bytes of a journal, each piece checked against the fingerprint
// taken when it was saved.
class TSavedBytes {
public:
    TSavedBytes(TStream& saved, std::string journalName) : Saved(saved), JournalName(std::move(journalName)) {}

    ByteBuffer Next(std::uint64_t length, std::uint32_t crc, const std::string& whatItHolds)
    {
        if (Position > Saved.Size() || length > Saved.Size() - Position)
            throw DamagedJournal(JournalName, "its copy of " + whatItHolds + " is cut short");
        ByteBuffer bytes(static_cast<std::size_t>(length));
        Saved.Seek(Position);
        Saved.Read(bytes);
        Position += length;
        if (CRC32Buffer(bytes) != crc)
            throw DamagedJournal(JournalName, "its copy of " + whatItHolds + " does not match what was saved");
        return bytes;
    }

private:
    TStream& Saved;
    std::string JournalName;
    std::uint64_t Position = 0;
};

void RestoreFile(const std::filesystem::path& target, const std::optional<ByteBuffer>& copy)
{
    if (copy) {
        if (FileExists(target))
            SetAttributesNormal(target);
        ReplaceFileAtomically(target, *copy);
        return;
    }
    std::error_code error;
    if (std::filesystem::remove(target, error))
        FlushDirectory(target.parent_path());
    if (error)
        throw TVehmiraError("Cannot remove \"" + PathToUtf8(target) + "\": " + error.message());
}

// The old archive back in its place; nothing to do when it never left (the
// import stopped before its move) or is back already (an interrupted restore).
void PutBackReplacedArchive(const std::filesystem::path& journalDirectory, TArchiveHolder& archive)
{
    const std::filesystem::path saved = journalDirectory / SavedArchiveFileName;
    if (FileExists(saved)) {
        archive.Release();
        MoveFileIntoPlace(saved, archive.Path());
        FlushDirectory(journalDirectory);
    }
    RemoveTemporariesBeside(archive.Path());
    archive.Stream();
}

void MarkState(const std::filesystem::path& journalDirectory, TJournalManifest manifest, TJournalState state)
{
    manifest.State = state;
    SaveManifest(journalDirectory, manifest);
}

} // namespace

std::uint32_t StreamRangeCRC(TStream& stream, std::uint64_t begin, std::uint64_t end)
{
    const std::uint64_t savedPosition = stream.Position();
    std::uint32_t crcRegister = 0xFFFFFFFFu;
    ByteBuffer chunk;
    for (std::uint64_t at = begin; at < end; at += chunk.size()) {
        chunk.resize(static_cast<std::size_t>(std::min(CRCChunkSize, end - at)));
        stream.Seek(at);
        stream.Read(chunk);
        crcRegister = CRC32Update(chunk, crcRegister);
    }
    stream.Seek(savedPosition);
    return ~crcRegister;
}

TFileFingerprint FingerprintOfFile(const std::filesystem::path& path)
{
    TFileFingerprint print;
    if (!FileExists(path))
        return print;
    TFileStream file(path, TFileAccess::Read);
    print.Present = true;
    print.Length = file.Size();
    print.CRC = StreamRangeCRC(file, 0, print.Length);
    return print;
}

std::filesystem::path JournaledPath(const std::filesystem::path& gameDirectory,
                                    const std::filesystem::path& relativePath)
{
    // Manifests are checked when loaded; this guards every other way a path
    // could reach the restore, which overwrites and deletes what it names.
    const std::string text = GenericText(relativePath);
    if (!IsInsideGameDirectory(text))
        throw TVehmiraError("The import journal names a file outside the game directory: " + text);
    return ResolveGamePath(gameDirectory, text);
}

TSavedCopies ReadSavedCopies(TStream& savedBytes, const TJournalManifest& manifest, const std::string& journalName)
{
    TSavedBytes saved(savedBytes, journalName);
    TSavedCopies copies;
    copies.Head = saved.Next(manifest.HeadLength, manifest.HeadCRC, "the archive's head");
    for (const TArchiveRange& range : manifest.Ranges)
        copies.Ranges.push_back(saved.Next(range.Length, range.CRC, "the archive's rewritten sectors"));
    for (const TJournaledFile& file : manifest.Files) {
        if (file.Before.Present)
            copies.Files.emplace_back(saved.Next(file.Before.Length, file.Before.CRC, GameFileText(file.RelativePath)));
        else
            copies.Files.emplace_back();
    }
    return copies;
}

void RestoreFromJournal(const std::filesystem::path& gameDirectory, const std::filesystem::path& journalDirectory,
                        const TJournalManifest& manifest, TArchiveHolder& holder)
{
    std::optional<TFileStream> savedFile;
    try {
        savedFile.emplace(journalDirectory / SavedBytesFileName, TFileAccess::Read);
    } catch (const TVehmiraError&) {
        throw DamagedJournal(JournalName(journalDirectory), "its saved bytes cannot be read");
    }
    const TSavedCopies saved = ReadSavedCopies(*savedFile, manifest, JournalName(journalDirectory));
    const std::vector<std::optional<ByteBuffer>>& copies = saved.Files;
    if (manifest.ArchiveReplaced) {
        PutBackReplacedArchive(journalDirectory, holder);
    } else {
        TFileStream& archive = holder.Stream();
        archive.Seek(0);
        archive.Write(saved.Head);
        for (std::size_t j = 0; j < saved.Ranges.size(); ++j) {
            archive.Seek(manifest.Ranges[j].Offset);
            archive.Write(saved.Ranges[j]);
        }
        archive.Truncate(manifest.ArchiveLength);
        archive.Flush();
    }
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        const std::filesystem::path path = JournaledPath(gameDirectory, manifest.Files[i].RelativePath);
        RestoreFile(path, copies[i]);
        RemoveTemporariesBeside(path);
    }
}

std::optional<std::string> DescribeChangeSinceCommit(const std::filesystem::path& gameDirectory,
                                                     const TJournalManifest& manifest, TFileStream& archive)
{
    for (const TJournaledFile& file : manifest.Files) {
        const TFileFingerprint now = FingerprintOfFile(JournaledPath(gameDirectory, file.RelativePath));
        if (now.Present != file.After.Present || now.Length != file.After.Length || now.CRC != file.After.CRC)
            return GameFileText(file.RelativePath) + " has changed since that import";
    }
    const std::string archiveChanged = GameFileText(manifest.ArchiveRelativePath) + " has changed since that import";
    if (manifest.ArchiveReplaced) {
        // The whole file was new: all of it must be as the import left it.
        if (archive.Size() != manifest.ArchiveLengthAfter ||
            StreamRangeCRC(archive, 0, manifest.ArchiveLengthAfter) != manifest.ArchiveCRCAfter)
            return archiveChanged;
        return std::nullopt;
    }
    if (archive.Size() != manifest.ArchiveLengthAfter || manifest.ArchiveLengthAfter < manifest.ArchiveLength)
        return archiveChanged;
    for (const TArchiveRange& range : manifest.Ranges)
        if (StreamRangeCRC(archive, range.Offset, range.Offset + range.Length) != range.CRCAfter)
            return archiveChanged;
    if (StreamRangeCRC(archive, 0, manifest.HeadLength) != manifest.HeadCRCAfter ||
        StreamRangeCRC(archive, manifest.ArchiveLength, manifest.ArchiveLengthAfter) != manifest.AppendedCRCAfter)
        return archiveChanged;
    return std::nullopt;
}

std::string DescribeImport(const TJournalManifest& manifest)
{
    return "the import of " + manifest.Target + " from " + manifest.Source + " (" + manifest.Time + ")";
}

std::vector<TCompletedJournal> CompleteInterruptedJournals(const std::filesystem::path& gameDirectory,
                                                           TArchiveHolder& archive)
{
    std::vector<TCompletedJournal> completed;
    const std::filesystem::path root = JournalRoot(gameDirectory);
    const std::vector<std::string> ids = ListJournalIds(gameDirectory);
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        const std::filesystem::path directory = root / *id;
        if (!FileExists(directory / ManifestFileName))
            continue;
        TJournalManifest manifest;
        try {
            manifest = LoadManifest(directory);
        } catch (const TVehmiraError& error) {
            throw TVehmiraError("The import journal \"" + PathToUtf8(directory) + "\" cannot be read (" +
                                error.what() + "). Move it out of the way to go on.");
        }
        if (manifest.State == TJournalState::Pending) {
            RestoreFromJournal(gameDirectory, directory, manifest, archive);
            RemoveJournal(directory);
            completed.push_back({*id, manifest,
                                 "Restored the game files as they were before " + DescribeImport(manifest) +
                                     ", which was interrupted."});
        } else if (manifest.State == TJournalState::Undoing) {
            RestoreFromJournal(gameDirectory, directory, manifest, archive);
            MarkState(directory, manifest, TJournalState::Undone);
            completed.push_back(
                {*id, manifest, "Finished undoing " + DescribeImport(manifest) + ", which was interrupted."});
        }
    }
    return completed;
}

TFileStream& OpenArchiveOf(const TGameContext& game)
{
    if (game.Archive == nullptr || !game.Archive->IsOpen())
        throw TVehmiraError("No model archive is open.");
    return game.Archive->File();
}

void ReloadDirectoryAfterFailure(TIMGFile& archive, TArchiveHolder& holder) noexcept
{
    try {
        if (archive.IsOpen())
            archive.ReloadDirectory();
        else
            holder.Stream();
    } catch (...) {
        // The journal stays unfinished and is completed before the next change.
    }
}
