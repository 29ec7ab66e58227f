#include "engine/Journal.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/JournalRestore.h"
#include "engine/JournalStore.h"

#include <limits>
#include <system_error>

namespace vehmira::engine {

namespace {

TJournalInfo InfoOf(const std::string& id, const TJournalManifest& manifest)
{
    TJournalInfo info;
    info.Id = id;
    info.Target = manifest.Target;
    info.Source = manifest.Source;
    info.Time = manifest.Time;
    info.Committed = manifest.State == TJournalState::Committed || manifest.State == TJournalState::Undone;
    info.Undone = manifest.State == TJournalState::Undone;
    info.Retired = IsRetired(manifest);
    return info;
}

// Journal directories that never got a manifest: the import stopped before
// its first change, so there is nothing to restore.
std::vector<std::filesystem::path> JournalsWithoutManifest(const std::filesystem::path& gameDirectory)
{
    std::vector<std::filesystem::path> leftovers;
    for (const std::string& id : ListJournalIds(gameDirectory)) {
        const std::filesystem::path directory = JournalRoot(gameDirectory) / id;
        if (!fileio::FileExists(directory / ManifestFileName))
            leftovers.push_back(directory);
    }
    return leftovers;
}

fileio::TVehmiraError NothingToUndo(const std::filesystem::path& gameDirectory)
{
    std::int64_t retired = 0;
    for (const TJournalInfo& info : ListImportHistory(gameDirectory))
        retired += info.Retired ? 1 : 0;
    const std::string description =
        retired == 0 ? "There is no import to undo."
                     : "There is no import to undo: the " + std::to_string(retired) +
                           " import(s) made before the archive was rebuilt can no longer be undone.";
    return fileio::TVehmiraError(fileio::TErrorKind::NothingToUndo, description, {.Number = retired});
}

bool HasUnfinishedJournal(const std::filesystem::path& gameDirectory)
{
    for (const std::string& id : ListJournalIds(gameDirectory)) {
        const std::filesystem::path directory = JournalRoot(gameDirectory) / id;
        if (!fileio::FileExists(directory / ManifestFileName))
            continue;
        try {
            const TJournalState state = LoadManifest(directory).State;
            if (state == TJournalState::Pending || state == TJournalState::Undoing)
                return true;
        } catch (const fileio::TVehmiraError&) {
            return true; // let the recovery name the damaged journal
        }
    }
    return false;
}

} // namespace

std::vector<TArchiveRange> ArchiveBytesPinnedForUndo(const std::filesystem::path& gameDirectory)
{
    std::vector<TArchiveRange> pinned;
    for (const std::string& id : ListJournalIds(gameDirectory)) {
        const std::filesystem::path directory = JournalRoot(gameDirectory) / id;
        if (!fileio::FileExists(directory / ManifestFileName))
            continue;
        TJournalManifest manifest;
        try {
            manifest = LoadManifest(directory);
        } catch (const fileio::TVehmiraError&) {
            return {TArchiveRange{0, std::numeric_limits<std::uint64_t>::max()}};
        }
        // A retired journal's sectors were those of the archive before its rebuild.
        if (manifest.State == TJournalState::Undone || IsRetired(manifest))
            continue;
        pinned.insert(pinned.end(), manifest.Pinned.begin(), manifest.Pinned.end());
        pinned.insert(pinned.end(), manifest.Ranges.begin(), manifest.Ranges.end());
        if (manifest.State != TJournalState::Committed)
            continue;
        pinned.insert(pinned.end(), manifest.Written.begin(), manifest.Written.end());
        // A rebuilt archive's undo checks the whole file; another import's, what it appended.
        const std::uint64_t checkedFrom = manifest.ArchiveReplaced ? 0 : manifest.ArchiveLength;
        if (manifest.ArchiveLengthAfter > checkedFrom)
            pinned.push_back({checkedFrom, manifest.ArchiveLengthAfter - checkedFrom});
    }
    return pinned;
}

std::vector<std::string> RecoverInterruptedImports(const std::filesystem::path& gameDirectory)
{
    const std::vector<std::filesystem::path> leftovers = JournalsWithoutManifest(gameDirectory);
    const bool unfinished = HasUnfinishedJournal(gameDirectory);
    const std::filesystem::path archivePath = fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::ModelArchive);
    std::vector<std::string> lines;
    // Holding the archive exclusively keeps another instance from importing
    // meanwhile; without an archive nobody can be importing, and leftovers go
    // without it (opening the game then reports the missing archive itself).
    // An import that replaced the archive may have been cut short between its
    // renames, with no archive in place: its journal holds the old one.
    if (unfinished || (!leftovers.empty() && fileio::FileExists(archivePath))) {
        TFileArchiveHolder archive(archivePath);
        if (fileio::FileExists(archivePath))
            archive.Stream();
        for (const TCompletedJournal& journal : CompleteInterruptedJournals(gameDirectory, archive))
            lines.push_back(journal.Message);
    }
    for (const std::filesystem::path& directory : leftovers) {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    return lines;
}

std::vector<TJournalInfo> ListImportHistory(const std::filesystem::path& gameDirectory)
{
    std::vector<TJournalInfo> history;
    const std::vector<std::string> ids = ListJournalIds(gameDirectory);
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        try {
            const TJournalManifest manifest = LoadManifest(JournalRoot(gameDirectory) / *id);
            const TJournalInfo info = InfoOf(*id, manifest);
            if (info.Committed)
                history.push_back(info);
        } catch (const fileio::TVehmiraError&) {
            // A journal without a readable manifest records no finished import.
        }
    }
    return history;
}

std::optional<TJournalInfo> LastUndoableImport(const std::filesystem::path& gameDirectory)
{
    for (const TJournalInfo& info : ListImportHistory(gameDirectory))
        if (!info.Undone)
            return info.Retired ? std::nullopt : std::optional(info);
    return std::nullopt;
}

std::size_t RetireImportsBeforeRebuild(const std::filesystem::path& gameDirectory)
{
    std::size_t retired = 0;
    const std::vector<std::string> ids = ListJournalIds(gameDirectory);
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        const std::filesystem::path directory = JournalRoot(gameDirectory) / *id;
        if (!fileio::FileExists(directory / ManifestFileName))
            continue;
        TJournalManifest manifest;
        try {
            manifest = LoadManifest(directory);
        } catch (const fileio::TVehmiraError&) {
            continue; // recovery names a damaged journal before the next change
        }
        if (manifest.State != TJournalState::Committed || IsRetired(manifest))
            continue;
        manifest.Retired = true;
        SaveManifest(directory, manifest);
        ++retired;
    }
    return retired;
}

TJournalInfo UndoLastImport(const TGameContext& game)
{
    OpenArchiveOf(game);
    TIMGArchiveHolder holder(*game.Archive);
    // An undo that was cut short is the one the user asks for again.
    const std::vector<TCompletedJournal> completed = CompleteInterruptedJournals(game.GameDirectory, holder);
    if (!completed.empty())
        game.Archive->ReloadDirectory();
    for (const TCompletedJournal& journal : completed)
        if (journal.Manifest.State == TJournalState::Undoing) {
            TJournalInfo info = InfoOf(journal.Id, journal.Manifest);
            info.Undone = true;
            return info;
        }

    const std::optional<TJournalInfo> last = LastUndoableImport(game.GameDirectory);
    if (!last)
        throw NothingToUndo(game.GameDirectory);
    const std::filesystem::path directory = JournalRoot(game.GameDirectory) / last->Id;
    TJournalManifest manifest = LoadManifest(directory);
    // A game changed since the import (another tool, a rebuild whose retiring
    // was cut short) is told as such; only reading has happened so far.
    if (const auto changed = FileChangedSinceCommit(game.GameDirectory, manifest, holder.Stream()))
        throw fileio::TVehmiraError(fileio::TErrorKind::ChangedSinceImport,
                                    "Cannot undo " + DescribeImport(manifest) + ": " + *changed +
                                        " has changed since that import. Nothing was changed.",
                                    {.Path = *changed, .Subject = manifest.Target});
    // Nothing is written before the journal passes the checks recovery makes.
    CheckJournalBeforeRestore(game.GameDirectory, directory, manifest, holder);

    manifest.State = TJournalState::Undoing;
    SaveManifest(directory, manifest);
    try {
        RestoreFromJournal(game.GameDirectory, directory, manifest, holder);
    } catch (...) {
        ReloadDirectoryAfterFailure(*game.Archive, holder);
        throw;
    }
    game.Archive->ReloadDirectory();
    manifest.State = TJournalState::Undone;
    SaveManifest(directory, manifest);
    return InfoOf(last->Id, manifest);
}

} // namespace vehmira::engine
