#pragma once
// One import as a transaction over the game directory. Before the first
// change the journal in <game directory>\vehmira-backups\ holds a copy of every
// file the import will write, the archive's length and the head bytes it may
// overwrite, flushed to disk. Commit marks the journal committed (kept for
// undo); destroying an uncommitted transaction rolls every change back.
//
// An import whose data do not fit where the archive holds them rebuilds the
// archive instead (TArchiveChange::Replace): the journal then saves no archive
// bytes up front; ReplaceArchive writes the rebuilt archive beside the old
// one, moves the old file into the journal directory and the new one into its
// place. The old file stays there for rollback and undo, which move it back.

#include "archive/ArchiveRebuild.h"
#include "fileio/Progress.h"
#include "engine/GameContext.h"
#include "engine/JournalManifest.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vehmira::engine {

struct TImportDescription {
    std::string Target; // e.g. "415 (cheetah)"
    std::string Source; // the package path as UTF-8, or "separate files"
};

enum class TArchiveChange {
    InPlace, // entries rewritten in their sectors or appended; the head and ranges are saved
    Replace, // the whole archive is rebuilt; the old file is kept
};

class TImportTransaction {
public:
    // filesToWrite: the game files (resolved paths) the import may replace.
    // newArchiveEntries: how many entry names the import adds to the archive (0 to 2).
    // archiveRanges: archive bytes (Offset, Length) the import overwrites in
    // place; the journal saves them and puts them back on rollback and undo.
    TImportTransaction(const TGameContext& game, std::vector<std::filesystem::path> filesToWrite,
                       int newArchiveEntries, TImportDescription description,
                       std::vector<TArchiveRange> archiveRanges = {},
                       TArchiveChange archiveChange = TArchiveChange::InPlace);
    ~TImportTransaction();
    TImportTransaction(const TImportTransaction&) = delete;
    TImportTransaction& operator=(const TImportTransaction&) = delete;

    // Only for TArchiveChange::Replace, once: the archive rebuilt from entries
    // (their Replacement streams supply the new data) takes the old one's
    // place. The game's TIMGFile is closed around the renames and open again
    // afterwards, on the new archive (on the old one after a failure).
    void ReplaceArchive(std::span<const archive::TRebuildEntry> entries, fileio::TProgressSink* progress = nullptr);

    // Records the state after the import (lengths and checksums) and marks the journal committed.
    void Commit();
    // Takes every change back now (also done by the destructor when not committed).
    void Rollback();
    const std::string& JournalId() const;

private:
    void MarkCommitted(TJournalManifest committed);

    struct TState;
    std::unique_ptr<TState> State;
};

} // namespace vehmira::engine
