#pragma once
// The archive's own operations: check how the game's chained read sees
// Models\GTA3.img (or any archive file), and rebuild it so that it reads
// every entry correctly.

#include "archive/ArchiveLayout.h"
#include "archive/Paintjobs.h"
#include "operations/GameSession.h"
#include "operations/OperationObserver.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vehmira::operations {

// The game's archive, after rolling back interrupted imports.
archive::TArchiveLayout CheckArchive(const TGameLocation& location, TOperationObserver& observer);
// Any archive file, read only.
archive::TArchiveLayout CheckArchive(const std::filesystem::path& archive);
// The archive the session holds open.
archive::TArchiveLayout CheckArchive(TGameSession& session);

// A vehicle that the game would give more paintjobs than it holds (archive::MaxPaintjobs).
struct TPaintjobExcess {
    std::int32_t ID = 0;
    std::string ModelName;
    std::vector<std::string> Paintjobs; // entry names in the game's order
};

// The vehicles of Data\Vehicles.ide over the limit, from every archive the
// game reads (engine/GameArchives.h), after rolling back interrupted imports.
std::vector<TPaintjobExcess> FindPaintjobExcess(const TGameLocation& location, TOperationObserver& observer);

// Whether free records hold so much of the archive (over a quarter of the
// file) that a rebuild is worth offering.
bool FreeSpaceWorthReclaiming(const archive::TArchiveLayout& layout);

struct TArchiveRebuildOutcome {
    bool Rebuilt = false;  // false: the archive already lay back to back, nothing was written
    archive::TArchiveLayout Before;
    archive::TArchiveLayout After; // the layout now
    // Imports made before that can no longer be undone (the game's archive
    // only): undo and the history no longer offer them.
    std::size_t RetiredImports = 0;
};

// Whether a rebuild would change how the archive lies: misread pairs, holes
// between the data, a last sector cut short, or free records to reclaim.
bool ArchiveNeedsRebuild(const archive::TArchiveLayout& layout);

// Rebuilds the archive the session holds open (closed and opened again
// around the move), reporting progress to the observer, whose true stops it
// (TOperationCancelled, the archive unchanged). A refusal (overlapping
// entries, data past the end, too little disk space) changes nothing; an
// archive with overlapping entries or data past its end is refused even when
// nothing would move. Imports
// made before can no longer be undone afterwards: once the rebuilt archive is
// in place their journals are retired (engine::RetireImportsBeforeRebuild).
TArchiveRebuildOutcome RebuildArchive(TGameSession& session, TOperationObserver& observer);
// The same for an archive file nobody holds open; it knows no game directory,
// so no journal is retired.
TArchiveRebuildOutcome RebuildArchive(const std::filesystem::path& archive, TOperationObserver& observer);

} // namespace vehmira::operations
