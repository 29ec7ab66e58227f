#pragma once
// The import journal in <game directory>\vehmira-backups\: crash recovery and undo.

#include "engine/GameContext.h"
#include "engine/JournalManifest.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vehmira::engine {

inline constexpr const char* JournalDirectoryName = "vehmira-backups";

struct TJournalInfo {
    std::string Id;
    std::string Target; // e.g. "415 (cheetah)"
    std::string Source; // the package path, or "separate files"
    std::string Time;   // local time of the import, "YYYY-MM-DD HH:MM:SS"
    bool Committed = false;
    bool Undone = false;
};

// Rolls back every import that was interrupted (not committed). Run before the
// archive is opened. Returns one line per restored import, empty when none.
std::vector<std::string> RecoverInterruptedImports(const std::filesystem::path& gameDirectory);

// Committed imports, newest first.
std::vector<TJournalInfo> ListImportHistory(const std::filesystem::path& gameDirectory);

// The import that UndoLastImport would take back, if any.
std::optional<TJournalInfo> LastUndoableImport(const std::filesystem::path& gameDirectory);

// The archive bytes (offset, length) that kept undo steps still need: the
// sectors their imports left under free records, those a journal of the
// first format writes back, and every byte a committed import's undo checks
// as the import left them (its new data and all it appended, the zero fill of
// a short last sector among them). A journal that cannot be read pins everything.
std::vector<TArchiveRange> ArchiveBytesPinnedForUndo(const std::filesystem::path& gameDirectory);

// Restores the game directory to its state before the last committed import
// that is not undone yet. Refuses with a clear TVehmiraError, changing nothing,
// when there is none or when the files have changed since that import.
TJournalInfo UndoLastImport(const TGameContext& game);

} // namespace vehmira::engine
