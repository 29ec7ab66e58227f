#pragma once
// One import as a transaction over the game directory. Before the first
// change the journal in <game directory>\vehmira-backups\ holds a copy of every
// file the import will write, the archive's length and the head bytes it may
// overwrite, flushed to disk. Commit marks the journal committed (kept for
// undo); destroying an uncommitted transaction rolls every change back.

#include "engine/GameContext.h"
#include "engine/JournalManifest.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct TImportDescription {
    std::string Target; // e.g. "415 (cheetah)"
    std::string Source; // the package path as UTF-8, or "separate files"
};

class TImportTransaction {
public:
    // filesToWrite: the game files (resolved paths) the import may replace.
    // newArchiveEntries: how many entry names the import adds to the archive (0 to 2).
    // archiveRanges: archive bytes (Offset, Length) the import overwrites in
    // place; the journal saves them and puts them back on rollback and undo.
    TImportTransaction(const TGameContext& game, std::vector<std::filesystem::path> filesToWrite,
                       int newArchiveEntries, TImportDescription description,
                       std::vector<TArchiveRange> archiveRanges = {});
    ~TImportTransaction();
    TImportTransaction(const TImportTransaction&) = delete;
    TImportTransaction& operator=(const TImportTransaction&) = delete;

    // Records the state after the import (lengths and checksums) and marks the journal committed.
    void Commit();
    // Takes every change back now (also done by the destructor when not committed).
    void Rollback();
    const std::string& JournalId() const;

private:
    struct TState;
    std::unique_ptr<TState> State;
};
