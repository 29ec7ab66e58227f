#include "operations/Operations.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "operations/ObserverProgress.h"

#include <optional>

std::vector<TVehicleListRow> ListVehicles(const TGameLocation& location, TOperationObserver& observer)
{
    RecoverGameDirectory(location, observer);
    return BuildVehicleList(location.GameDirectory, location.GXTFileName);
}

void ExportVehicleByID(TGameSession& session, std::int32_t id, const TExportChoices& choices,
                       const std::filesystem::path& package)
{
    ExportVehicle(session.Context(), session.FindVehicle(id), choices, package);
}

TImportResult ImportOverVehicle(TGameSession& session, std::int32_t targetID, const TImportSource& source,
                                TOperationObserver* observer)
{
    std::optional<TObserverProgress> progress;
    if (observer)
        progress.emplace(*observer);
    TImportResult result;
    try {
        result = ImportVehicle(session.Context(), session.FindVehicle(targetID), source, progress ? &*progress : nullptr);
    } catch (const TImportError&) {
        throw;
    } catch (const TVehmiraError& error) {
        throw TImportError(error);
    }
    session.ReloadDefinitions();
    return result;
}

TJournalInfo UndoImport(TGameSession& session)
{
    TJournalInfo undone = UndoLastImport(session.Context());
    session.ReloadDefinitions();
    return undone;
}

TImportHistory ReadImportHistory(const TGameLocation& location, TOperationObserver& observer)
{
    if (!std::filesystem::is_directory(location.GameDirectory))
        throw TVehmiraError("The game directory \"" + PathToUtf8(location.GameDirectory) + "\" does not exist");
    RecoverGameDirectory(location, observer);
    return {ListImportHistory(location.GameDirectory), LastUndoableImport(location.GameDirectory)};
}
