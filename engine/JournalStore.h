#pragma once
// Where the import journals live: <game directory>\vehmira-backups\<id>\, one
// directory per import. Ids are the local time of the import and a sequence
// number ("20240131-235959-000001"), always increasing, so sorting them by
// name sorts the imports by age.

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace vehmira::engine {

inline constexpr std::size_t JournalsKeptForUndo = 10;

std::filesystem::path JournalRoot(const std::filesystem::path& gameDirectory);

// The ids of the journal directories, oldest first; other names are ignored.
std::vector<std::string> ListJournalIds(const std::filesystem::path& gameDirectory);

// "YYYY-MM-DD HH:MM:SS" in local time.
std::string LocalTimeText(std::time_t when);

// An id greater than every existing one, made from the time when possible.
std::string NextJournalId(const std::vector<std::string>& existingIds, std::time_t now);

// Creates a fresh, empty journal directory durably; sets id to its name.
std::filesystem::path CreateJournalDirectory(const std::filesystem::path& gameDirectory, std::string& id);

// Removes the manifest first (durably), so an interruption leaves a directory
// that recovery treats as "nothing happened" and removes; then the rest.
void RemoveJournal(const std::filesystem::path& journalDirectory);

// Keeps the newest JournalsKeptForUndo committed journals; removes older
// committed ones and every undone or retired one. Journals that cannot be read are left.
// A rolled back journal must be gone for good before the next import, so
// RemoveJournal flushes; pruned ones would only come back as history.
void PruneJournals(const std::filesystem::path& gameDirectory);

} // namespace vehmira::engine
