#include "engine/ImportTransaction.h"

#include "fileio/Errors.h"
#include "fileio/FileLinks.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "engine/AppendedDataCRC.h"
#include "engine/ArchiveHolder.h"
#include "engine/JournalManifest.h"
#include "engine/JournalPaths.h"
#include "engine/JournalRestore.h"
#include "engine/JournalStore.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <optional>
#include <system_error>

namespace vehmira::engine {

struct TImportTransaction::TState {
    TGameContext Game;
    std::string Id;
    std::filesystem::path JournalDirectory;
    TJournalManifest Manifest;
    // Follows what the import appends to the archive, for the commit's checksum.
    std::unique_ptr<TAppendedDataCRC> Appended;
    std::filesystem::path ArchivePath;
    // The files replaced through the transaction, as written (relative paths).
    std::map<std::filesystem::path, TFileFingerprint> Replaced;
    bool Committed = false;
    bool RolledBack = false;
};

namespace {

// The path relative to the game directory of a game file the import writes.
// The journal names only such files, reached without a link, since recovery
// writes and removes what it names and refuses any other journal.
std::filesystem::path JournaledFileRelative(const std::filesystem::path& gameDirectory,
                                            const std::filesystem::path& path)
{
    std::filesystem::path relative = GameRelativePath(gameDirectory, path);
    if (!IsGameFileAnImportWrites(relative))
        throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(path) + "\" is not a game file an import writes");
    return relative;
}

fileio::ByteBuffer ReadArchiveRange(fileio::TFileStream& archive, std::uint64_t offset, std::uint64_t length)
{
    const std::uint64_t savedPosition = archive.Position();
    fileio::ByteBuffer head(static_cast<std::size_t>(length));
    archive.Seek(offset);
    archive.Read(head);
    archive.Seek(savedPosition);
    return head;
}

// Saves what the import may change into the journal directory, flushed, then
// writes the manifest last: only from then on does recovery act on the journal.
void WriteJournal(const std::filesystem::path& directory, TJournalManifest& manifest,
                  const std::vector<std::filesystem::path>& files, fileio::TFileStream& archive)
{
    fileio::TFileStream saved(directory / SavedBytesFileName, fileio::TFileAccess::CreateNew);
    const fileio::ByteBuffer head = ReadArchiveRange(archive, 0, manifest.HeadLength);
    manifest.HeadCRC = gamedata::CRC32Buffer(head);
    saved.Write(head);
    for (std::size_t i = 0; i < files.size(); ++i) {
        TFileFingerprint& before = manifest.Files[i].Before;
        before.Present = fileio::FileExists(files[i]);
        if (!before.Present)
            continue;
        const fileio::ByteBuffer bytes = fileio::ReadWholeFile(files[i]);
        before.Length = bytes.size();
        before.CRC = gamedata::CRC32Buffer(bytes);
        saved.Write(bytes);
    }
    saved.Flush();
    // Flushing the journal directory after the manifest's rename makes both names durable.
    SaveManifest(directory, manifest);
}

} // namespace

TImportTransaction::TImportTransaction(const TGameContext& game, std::vector<std::filesystem::path> filesToWrite,
                                       TImportDescription description, TArchivePlan archivePlan)
    : State(std::make_unique<TState>())
{
    OpenArchiveOf(game);
    State->Game = game;
    // A rollback that failed earlier in this run is finished before anything else changes.
    TIMGArchiveHolder holder(*game.Archive);
    if (!CompleteInterruptedJournals(game.GameDirectory, holder).empty())
        game.Archive->ReloadDirectory();
    fileio::TFileStream& archive = holder.Stream();
    State->ArchivePath = archive.Path();

    TJournalManifest& manifest = State->Manifest;
    manifest.Target = std::move(description.Target);
    manifest.Source = std::move(description.Source);
    manifest.Time = LocalTimeText(std::time(nullptr));
    manifest.ArchiveRelativePath = GameRelativePath(game.GameDirectory, archive.Path());
    manifest.ArchiveLength = archive.Size();
    // Bytes past the old end need no copy: the rollback cuts them off.
    manifest.HeadLength = std::min(archivePlan.HeadLength, manifest.ArchiveLength);
    manifest.Pinned = std::move(archivePlan.Freed);
    manifest.Written = std::move(archivePlan.Written);
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::path& path : filesToWrite) {
        const std::filesystem::path relative = JournaledFileRelative(game.GameDirectory, path);
        const auto sameFile = [&](const TJournaledFile& file) { return file.RelativePath == relative; };
        if (std::none_of(manifest.Files.begin(), manifest.Files.end(), sameFile)) {
            manifest.Files.push_back({relative, {}, {}});
            files.push_back(path);
        }
    }

    State->JournalDirectory = CreateJournalDirectory(game.GameDirectory, State->Id);
    try {
        WriteJournal(State->JournalDirectory, manifest, files, archive);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(State->JournalDirectory, ignored);
        throw;
    }
    State->Appended = std::make_unique<TAppendedDataCRC>(archive);
}

TImportTransaction::~TImportTransaction()
{
    if (State->Committed || State->RolledBack)
        return;
    try {
        Rollback();
    } catch (...) {
        // The journal stays pending; it is rolled back before the next change
        // in this run, or when the game directory is opened next.
    }
}

void TImportTransaction::ReplaceFiles(std::span<const fileio::TFileReplacement> replacements)
{
    std::vector<std::filesystem::path> relatives;
    for (const fileio::TFileReplacement& replacement : replacements) {
        relatives.push_back(GameRelativePath(State->Game.GameDirectory, replacement.Path));
        const auto journaled = [&](const TJournaledFile& file) { return file.RelativePath == relatives.back(); };
        if (std::none_of(State->Manifest.Files.begin(), State->Manifest.Files.end(), journaled))
            throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(replacement.Path) +
                                        "\" is not in the import's journal and cannot be written");
    }
    // The journal holds every one of them, flushed: no temporary and rename
    // needed. A file with other names (a hard link a backup tool or a mod
    // manager made) gets a new file instead, so that those names keep their bytes.
    std::vector<fileio::TFileReplacement> inPlace;
    std::vector<fileio::TFileReplacement> anew;
    for (const fileio::TFileReplacement& replacement : replacements)
        (fileio::HardLinkCount(replacement.Path) > 1 ? anew : inPlace).push_back(replacement);
    fileio::ReplaceFilesAtomically(anew);
    fileio::OverwriteJournaledFiles(inPlace);
    // Checksums of the bytes just written spare reading the files back.
    for (std::size_t i = 0; i < replacements.size(); ++i)
        State->Replaced[relatives[i]] = {true, replacements[i].Bytes.size(), gamedata::CRC32Buffer(replacements[i].Bytes)};
}

void TImportTransaction::Commit()
{
    if (State->RolledBack)
        throw fileio::TVehmiraError("The import was already taken back.");
    if (State->Committed)
        return;
    fileio::TFileStream& archive = OpenArchiveOf(State->Game);
    // The appended data must be on disk before the journal says the import is done.
    archive.Flush();
    TJournalManifest committed = State->Manifest;
    for (TJournaledFile& file : committed.Files) {
        const auto replaced = State->Replaced.find(file.RelativePath);
        file.After = replaced != State->Replaced.end()
                         ? replaced->second
                         : FingerprintOfFile(JournaledPath(State->Game.GameDirectory, file.RelativePath));
    }
    committed.ArchiveLengthAfter = archive.Size();
    if (committed.ArchiveLengthAfter < committed.ArchiveLength)
        throw fileio::TVehmiraError("The model archive became shorter during the import.");
    committed.HeadCRCAfter = StreamRangeCRC(archive, 0, committed.HeadLength);
    for (TArchiveRange& range : committed.Written)
        range.CRCAfter = StreamRangeCRC(archive, range.Offset, range.Offset + range.Length);
    const std::optional<std::uint32_t> followed =
        State->Appended ? State->Appended->CRCOfRange(committed.ArchiveLength, committed.ArchiveLengthAfter)
                        : std::nullopt;
    committed.AppendedCRCAfter =
        followed ? *followed : StreamRangeCRC(archive, committed.ArchiveLength, committed.ArchiveLengthAfter);
    State->Appended.reset();
    MarkCommitted(committed);
}

void TImportTransaction::MarkCommitted(TJournalManifest committed)
{
    committed.State = TJournalState::Committed;
    SaveManifest(State->JournalDirectory, committed);
    State->Manifest = std::move(committed);
    State->Committed = true;
    try {
        PruneJournals(State->Game.GameDirectory);
    } catch (const std::exception&) {
        // Old journals only take room; the next commit prunes them again.
    }
}

void TImportTransaction::Rollback()
{
    if (State->Committed)
        throw fileio::TVehmiraError("The import is committed; only an undo can take it back.");
    if (State->RolledBack)
        return;
    State->Appended.reset();
    archive::TIMGFile& img = *State->Game.Archive;
    // A failed replacement may have left the archive closed: the holder opens it again.
    TIMGArchiveHolder holder(img, State->ArchivePath);
    try {
        RestoreFromJournal(State->Game.GameDirectory, State->JournalDirectory, State->Manifest, holder);
    } catch (...) {
        ReloadDirectoryAfterFailure(img, holder);
        throw;
    }
    State->Game.Archive->ReloadDirectory();
    RemoveJournal(State->JournalDirectory);
    State->RolledBack = true;
}

const std::string& TImportTransaction::JournalId() const { return State->Id; }

} // namespace vehmira::engine
