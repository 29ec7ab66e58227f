#pragma once
// The operations both front ends offer. A front gathers the inputs, calls one
// of these and presents the result (or the TVehmiraError raised) in its own
// words; the window and the command line differ only in their observer.

#include "engine/Export.h"
#include "engine/Import.h"
#include "engine/ImportCheck.h"
#include "engine/Journal.h"
#include "engine/VehicleList.h"
#include "operations/GameSession.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vehmira::operations {

// Every vehicle's ID, name and model, after rolling back interrupted imports, and
// what the list met in the game's files (its Findings); with WithPaintjobs also
// each vehicle's paintjobs, read from the directories of the game's archives.
enum class TListDetail { Names, WithPaintjobs };
engine::TVehicleList ListVehicles(const TGameLocation& location, TOperationObserver& observer, TListDetail detail);

// The vehicle with that ID into a new package file.
void ExportVehicleByID(TGameSession& session, std::int32_t id, const engine::TExportChoices& choices,
                       const std::filesystem::path& package);

// What the separate-files step checks before it goes on, as the import will:
// something is given (false: nothing to import), and each DFF or TXD file
// named exists and holds that RenderWare stream (else the typed error).
bool CheckImportFiles(const engine::TImportFiles& files);

// What the game would meet after importing the source over the vehicle with
// that ID (engine::CheckImport); nothing is written.
fileio::TCheckFindings CheckImportOverVehicle(TGameSession& session, std::int32_t targetID,
                                              const engine::TImportSource& source);

// A model file and its texture dictionary file before a target is chosen
// (engine::CheckModelFiles); the session, when one is open, lends its game's
// shared dictionary.
fileio::TCheckFindings CheckModelFiles(const std::filesystem::path& model, const std::filesystem::path& textures,
                                       const TGameSession* session);

// Whether an import whose check finds errors runs: a front that has shown the
// errors and had them confirmed imports despite them.
enum class TCheckPolicy { RefuseOnErrors, ImportDespiteErrors };

// An import its check refused; the game is as it was. Findings holds every
// finding, errors and warnings.
class TImportCheckFailed : public engine::TImportError {
public:
    explicit TImportCheckFailed(fileio::TCheckFindings findings);
    const fileio::TCheckFindings& Findings() const { return CheckFindings; }

private:
    fileio::TCheckFindings CheckFindings;
};

// A package or separate files over the vehicle with that ID, after the check
// (which may refuse it: TImportCheckFailed); afterwards the session holds the
// definitions now in the game. A failure is a TImportError and leaves the game
// as it was. An import that rebuilds the archive reports its progress to the
// observer, when one is given, whose true stops it.
engine::TImportResult ImportOverVehicle(TGameSession& session, std::int32_t targetID,
                                        const engine::TImportSource& source, TCheckPolicy policy,
                                        TOperationObserver* observer = nullptr);

// Takes back the last import that is not undone yet.
engine::TJournalInfo UndoImport(TGameSession& session);

// The journaled imports, newest first, and which one an undo would take back.
struct TImportHistory {
    std::vector<engine::TJournalInfo> Imports;
    std::optional<engine::TJournalInfo> NextUndo;
};
TImportHistory ReadImportHistory(const TGameLocation& location, TOperationObserver& observer);

} // namespace vehmira::operations
