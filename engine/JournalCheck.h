#pragma once
// What recovery and undo check of a journal before they act on it: that it
// names only what an import could have written. A pending journal is acted on
// at every start; one that a crafted or damaged game folder brings must not
// cut the archive or write and remove files anywhere else.

#include "engine/JournalDamage.h"
#include "engine/JournalManifest.h"
#include "engine/JournalRestore.h"
#include "fileio/Errors.h"
#include "fileio/Stream.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::engine {

struct TJournalDamageFacts {
    std::string Text;
    std::int64_t Number = 0;
};

// The error refusing the journal in that folder; description says in English
// what is wrong with it.
fileio::TVehmiraError JournalDamaged(const std::filesystem::path& journalDirectory, std::string_view reason,
                                     const std::string& description, TJournalDamageFacts facts = {});

// The game paths of the journal's files, in manifest order, once the archive
// it names is the game's archive (resolved as the import resolves it) and
// every file is one an import writes (never the archive, nothing in the
// journal folder), reached without a link on the way. Raises JournalDamaged
// otherwise; reads nothing but the folders on the way.
std::vector<std::filesystem::path> CheckJournaledPaths(const std::filesystem::path& gameDirectory,
                                                       const std::filesystem::path& journalDirectory,
                                                       const TJournalManifest& manifest);

// That the archive the restore would leave (the saved head and ranges over the
// present bytes, cut to the journal's length) is no longer than the archive is
// now, and that the archive reader takes its directory: every live entry's
// data lie inside its length. Raises JournalDamaged otherwise; changes nothing.
void CheckRestoredArchive(const std::filesystem::path& journalDirectory, const TJournalManifest& manifest,
                          const TSavedCopies& saved, fileio::TStream& archive);

} // namespace vehmira::engine
