#pragma once
// The import journal in <game directory>\vehmira-backups\: crash recovery and undo.

#include "engine/GameContext.h"
#include "engine/JournalManifest.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::engine {

inline constexpr const char* JournalDirectoryName = "vehmira-backups";

// The source a journal records for an import of separate files and typed lines.
inline constexpr std::string_view SeparateFilesSource = "separate files";

struct TJournalInfo {
    std::string Id;
    std::string Target; // e.g. "415 (cheetah)"
    std::string Source; // the package path, or SeparateFilesSource
    std::string Time;   // local time of the import, "YYYY-MM-DD HH:MM:SS"
    bool Committed = false;
    bool Undone = false;
    // Committed, but the archive was rebuilt after it: its undo would have
    // nothing to go back to, so it is no longer offered (nor any older one).
    bool Retired = false;
};

// Rolls back every import that was interrupted (not committed). Run before the
// archive is opened. Returns one line per restored import, empty when none.
std::vector<std::string> RecoverInterruptedImports(const std::filesystem::path& gameDirectory);

// Committed imports, newest first, the retired ones among them marked.
std::vector<TJournalInfo> ListImportHistory(const std::filesystem::path& gameDirectory);

// The import that UndoLastImport would take back, if any: the newest that is
// not undone, unless it is retired (then nothing older can be undone either).
std::optional<TJournalInfo> LastUndoableImport(const std::filesystem::path& gameDirectory);

// Marks every committed import retired, newest first, each manifest replaced
// durably; returns how many. Called once a rebuilt archive has taken the old
// one's place: every undo step kept refers to sectors of the old file. Cut
// short, it leaves the rest committed, and their undo still refuses, finding
// the archive changed; the newest one retired keeps the older ones from being
// offered.
std::size_t RetireImportsBeforeRebuild(const std::filesystem::path& gameDirectory);

// The archive bytes (offset, length) that kept undo steps still need: the
// sectors their imports left under free records, those a journal of the
// first format writes back, and every byte a committed import's undo checks
// as the import left them (its new data and all it appended, the zero fill of
// a short last sector among them). A journal that cannot be read pins everything.
std::vector<TArchiveRange> ArchiveBytesPinnedForUndo(const std::filesystem::path& gameDirectory);

// Restores the game directory to its state before the last committed import
// that is not undone yet. Refuses, changing nothing, when there is none
// (NothingToUndo) or when the files have changed since that import
// (ChangedSinceImport).
TJournalInfo UndoLastImport(const TGameContext& game);

} // namespace vehmira::engine
