#pragma once
// One import as a transaction over the game directory. Before the first
// change the journal in <game directory>\vehmira-backups\ holds a copy of every
// file the import will write, the archive's length and the head bytes it
// overwrites (its directory), flushed to disk. The archive's entry data are
// never overwritten: new data go where nothing that the state before needs
// lies (CopyOnWrite.h), so the journal records where, not the old bytes.
// Commit marks the journal committed (kept for undo); destroying an
// uncommitted transaction rolls every change back.

#include "engine/GameContext.h"
#include "engine/JournalManifest.h"
#include "fileio/FileSystem.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>
#include <cstdint>

namespace vehmira::engine {

struct TImportDescription {
    std::string Target; // e.g. "415 (cheetah)"
    std::string Source; // the package path as UTF-8, or "separate files"
};

// What an import does to the archive, in bytes.
struct TArchivePlan {
    std::uint64_t HeadLength = 0;      // the head it overwrites: the directory
    std::vector<TArchiveRange> Freed;   // left under free records
    std::vector<TArchiveRange> Written; // its new data (CRCs unused)
};

class TImportTransaction {
public:
    // filesToWrite: the game files (resolved paths) the import may replace.
    TImportTransaction(const TGameContext& game, std::vector<std::filesystem::path> filesToWrite,
                       TImportDescription description, TArchivePlan archivePlan = {});
    ~TImportTransaction();
    TImportTransaction(const TImportTransaction&) = delete;
    TImportTransaction& operator=(const TImportTransaction&) = delete;

    // Writes game files the journal holds over in place (fileio::OverwriteJournaledFiles),
    // and keeps their lengths and checksums for the commit.
    void ReplaceFiles(std::span<const fileio::TFileReplacement> replacements);
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
