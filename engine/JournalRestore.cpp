#include "engine/JournalRestore.h"

#include "fileio/Errors.h"
#include "fileio/FileLinks.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "engine/JournalCheck.h"
#include "engine/JournalStore.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace vehmira::engine {

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

fileio::TVehmiraError DamagedCopy(const std::filesystem::path& journalDirectory, const std::string& what)
{
    return JournalDamaged(journalDirectory, JournalDamage::DamagedCopy, what, {.Text = what});
}

// The saved bytes of a journal, each piece checked against the fingerprint
// taken when it was saved.
class TSavedBytes {
public:
    TSavedBytes(fileio::TStream& saved, std::filesystem::path journalDirectory)
        : Saved(saved), JournalDirectory(std::move(journalDirectory))
    {
    }

    fileio::ByteBuffer Next(std::uint64_t length, std::uint32_t crc, const std::string& whatItHolds)
    {
        if (Position > Saved.Size() || length > Saved.Size() - Position)
            throw DamagedCopy(JournalDirectory, "its copy of " + whatItHolds + " is cut short");
        fileio::ByteBuffer bytes(static_cast<std::size_t>(length));
        Saved.Seek(Position);
        Saved.Read(bytes);
        Position += length;
        if (gamedata::CRC32Buffer(bytes) != crc)
            throw DamagedCopy(JournalDirectory, "its copy of " + whatItHolds + " does not match what was saved");
        return bytes;
    }

private:
    fileio::TStream& Saved;
    std::filesystem::path JournalDirectory;
    std::uint64_t Position = 0;
};

void RestoreFile(const std::filesystem::path& target, const std::optional<fileio::ByteBuffer>& copy)
{
    if (copy) {
        if (fileio::FileExists(target))
            fileio::SetAttributesNormal(target);
        // A file of several names was written through all of them (as imports
        // once wrote in place): putting its bytes back in place restores every
        // name. A repeated restore writes the same bytes again.
        if (fileio::HardLinkCount(target) > 1) {
            const fileio::TFileReplacement replacement{target, *copy};
            fileio::OverwriteJournaledFiles(std::span(&replacement, 1));
            return;
        }
        fileio::ReplaceFileAtomically(target, *copy);
        return;
    }
    std::error_code error;
    if (std::filesystem::remove(target, error))
        fileio::FlushDirectory(target.parent_path());
    if (error)
        throw fileio::TVehmiraError("Cannot remove \"" + fileio::PathToUtf8(target) + "\": " + error.message());
}

// The old archive back in its place; nothing to do when it never left (the
// import stopped before its move) or is back already (an interrupted restore).
void PutBackReplacedArchive(const std::filesystem::path& journalDirectory, TArchiveHolder& archive)
{
    const std::filesystem::path saved = journalDirectory / SavedArchiveFileName;
    if (fileio::FileExists(saved)) {
        archive.Release();
        fileio::MoveFileIntoPlace(saved, archive.Path());
        fileio::FlushDirectory(journalDirectory);
    }
    fileio::RemoveTemporariesBeside(archive.Path());
    archive.Stream();
}

void MarkState(const std::filesystem::path& journalDirectory, TJournalManifest manifest, TJournalState state)
{
    manifest.State = state;
    SaveManifest(journalDirectory, manifest);
}

} // namespace

std::uint32_t StreamRangeCRC(fileio::TStream& stream, std::uint64_t begin, std::uint64_t end)
{
    const std::uint64_t savedPosition = stream.Position();
    std::uint32_t crcRegister = 0xFFFFFFFFu;
    fileio::ByteBuffer chunk;
    for (std::uint64_t at = begin; at < end; at += chunk.size()) {
        chunk.resize(static_cast<std::size_t>(std::min(CRCChunkSize, end - at)));
        stream.Seek(at);
        stream.Read(chunk);
        crcRegister = gamedata::CRC32Update(chunk, crcRegister);
    }
    stream.Seek(savedPosition);
    return ~crcRegister;
}

TFileFingerprint FingerprintOfFile(const std::filesystem::path& path)
{
    TFileFingerprint print;
    if (!fileio::FileExists(path))
        return print;
    fileio::TFileStream file(path, fileio::TFileAccess::Read);
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
    if (!fileio::IsInsideGameDirectory(text))
        throw fileio::TVehmiraError("The import journal names a file outside the game directory: " + text);
    return fileio::ResolveGamePath(gameDirectory, text);
}

TSavedCopies ReadSavedCopies(fileio::TStream& savedBytes, const TJournalManifest& manifest,
                             const std::filesystem::path& journalDirectory)
{
    TSavedBytes saved(savedBytes, journalDirectory);
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

namespace {

// A journal that passed every check, with what its restore writes back.
struct TCheckedJournal {
    std::vector<std::filesystem::path> Paths; // the game paths of its files, in manifest order
    TSavedCopies Saved;
};

TCheckedJournal CheckedJournal(const std::filesystem::path& gameDirectory, const std::filesystem::path& journalDirectory,
                               const TJournalManifest& manifest, TArchiveHolder& holder)
{
    TCheckedJournal checked;
    checked.Paths = CheckJournaledPaths(gameDirectory, journalDirectory, manifest);
    std::optional<fileio::TFileStream> savedFile;
    try {
        savedFile.emplace(journalDirectory / SavedBytesFileName, fileio::TFileAccess::Read);
    } catch (const fileio::TVehmiraError&) {
        throw DamagedCopy(journalDirectory, "its saved bytes cannot be read");
    }
    checked.Saved = ReadSavedCopies(*savedFile, manifest, journalDirectory);
    if (!manifest.ArchiveReplaced)
        CheckRestoredArchive(journalDirectory, manifest, checked.Saved, holder.Stream());
    return checked;
}

} // namespace

void CheckJournalBeforeRestore(const std::filesystem::path& gameDirectory,
                               const std::filesystem::path& journalDirectory, const TJournalManifest& manifest,
                               TArchiveHolder& archive)
{
    CheckedJournal(gameDirectory, journalDirectory, manifest, archive);
}

void RestoreFromJournal(const std::filesystem::path& gameDirectory, const std::filesystem::path& journalDirectory,
                        const TJournalManifest& manifest, TArchiveHolder& holder)
{
    const TCheckedJournal checked = CheckedJournal(gameDirectory, journalDirectory, manifest, holder);
    if (manifest.ArchiveReplaced) {
        PutBackReplacedArchive(journalDirectory, holder);
    } else {
        fileio::TFileStream& archive = holder.Stream();
        archive.Seek(0);
        archive.Write(checked.Saved.Head);
        for (std::size_t j = 0; j < checked.Saved.Ranges.size(); ++j) {
            archive.Seek(manifest.Ranges[j].Offset);
            archive.Write(checked.Saved.Ranges[j]);
        }
        archive.Truncate(manifest.ArchiveLength);
        archive.Flush();
    }
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        RestoreFile(checked.Paths[i], checked.Saved.Files[i]);
        fileio::RemoveTemporariesBeside(checked.Paths[i]);
    }
}

std::optional<std::string> FileChangedSinceCommit(const std::filesystem::path& gameDirectory,
                                                  const TJournalManifest& manifest, fileio::TFileStream& archive)
{
    for (const TJournaledFile& file : manifest.Files) {
        const TFileFingerprint now = FingerprintOfFile(JournaledPath(gameDirectory, file.RelativePath));
        if (now.Present != file.After.Present || now.Length != file.After.Length || now.CRC != file.After.CRC)
            return GameFileText(file.RelativePath);
    }
    const std::string archiveFile = GameFileText(manifest.ArchiveRelativePath);
    if (manifest.ArchiveReplaced) {
        // The whole file was new: all of it must be as the import left it.
        if (archive.Size() != manifest.ArchiveLengthAfter ||
            StreamRangeCRC(archive, 0, manifest.ArchiveLengthAfter) != manifest.ArchiveCRCAfter)
            return archiveFile;
        return std::nullopt;
    }
    if (archive.Size() != manifest.ArchiveLengthAfter || manifest.ArchiveLengthAfter < manifest.ArchiveLength)
        return archiveFile;
    for (const std::vector<TArchiveRange>* ranges : {&manifest.Ranges, &manifest.Written})
        for (const TArchiveRange& range : *ranges)
            if (StreamRangeCRC(archive, range.Offset, range.Offset + range.Length) != range.CRCAfter)
                return archiveFile;
    if (StreamRangeCRC(archive, 0, manifest.HeadLength) != manifest.HeadCRCAfter ||
        StreamRangeCRC(archive, manifest.ArchiveLength, manifest.ArchiveLengthAfter) != manifest.AppendedCRCAfter)
        return archiveFile;
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
        if (!fileio::FileExists(directory / ManifestFileName))
            continue;
        TJournalManifest manifest;
        try {
            manifest = LoadManifest(directory);
        } catch (const fileio::TVehmiraError& error) {
            throw JournalDamaged(directory, JournalDamage::UnreadableManifest,
                                 std::string("its manifest cannot be read (") + error.what() + ")",
                                 {.Text = error.what()});
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

fileio::TFileStream& OpenArchiveOf(const TGameContext& game)
{
    if (game.Archive == nullptr || !game.Archive->IsOpen())
        throw fileio::TVehmiraError("No model archive is open.");
    return game.Archive->File();
}

void ReloadDirectoryAfterFailure(archive::TIMGFile& archive, TArchiveHolder& holder) noexcept
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

} // namespace vehmira::engine
