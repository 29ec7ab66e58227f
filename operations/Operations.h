#pragma once
// The operations both front ends offer. A front gathers the inputs, calls one
// of these and presents the result (or the TVehmiraError raised) in its own
// words; the window and the command line differ only in their observer.

#include "engine/Export.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/VehicleList.h"
#include "operations/GameSession.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vehmira::operations {

// Every vehicle's ID and name, after rolling back interrupted imports.
std::vector<engine::TVehicleListRow> ListVehicles(const TGameLocation& location, TOperationObserver& observer);

// The vehicle with that ID into a new package file.
void ExportVehicleByID(TGameSession& session, std::int32_t id, const engine::TExportChoices& choices,
                       const std::filesystem::path& package);

// A package or separate files over the vehicle with that ID; afterwards the
// session holds the definitions now in the game. A failure is a TImportError
// and leaves the game as it was. An import that rebuilds the archive reports
// its progress to the observer, when one is given, whose true stops it.
// What the separate-files step checks before it goes on, as the import will:
// something is given (false: nothing to import), and each DFF or TXD file
// named exists and holds that RenderWare stream (else the typed error).
bool CheckImportFiles(const engine::TImportFiles& files);

engine::TImportResult ImportOverVehicle(TGameSession& session, std::int32_t targetID,
                                        const engine::TImportSource& source, TOperationObserver* observer = nullptr);

// Takes back the last import that is not undone yet.
engine::TJournalInfo UndoImport(TGameSession& session);

// The journaled imports, newest first, and which one an undo would take back.
struct TImportHistory {
    std::vector<engine::TJournalInfo> Imports;
    std::optional<engine::TJournalInfo> NextUndo;
};
TImportHistory ReadImportHistory(const TGameLocation& location, TOperationObserver& observer);

} // namespace vehmira::operations
