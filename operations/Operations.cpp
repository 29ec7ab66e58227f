#include "operations/Operations.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "operations/ObserverProgress.h"

#include <optional>

namespace vehmira::operations {

engine::TVehicleList ListVehicles(const TGameLocation& location, TOperationObserver& observer, TListDetail detail)
{
    RecoverGameDirectory(location, observer);
    engine::TVehicleList list = engine::BuildVehicleList(location.GameDirectory, location.GXTFileName);
    if (detail == TListDetail::WithPaintjobs)
        engine::AddPaintjobs(list, location.GameDirectory);
    return list;
}

void ExportVehicleByID(TGameSession& session, std::int32_t id, const engine::TExportChoices& choices,
                       const std::filesystem::path& package)
{
    const TArchiveUse use(session);
    engine::ExportVehicle(session.Context(), session.FindVehicle(id), choices, package);
}

bool CheckImportFiles(const engine::TImportFiles& files)
{
    if (!engine::GivesAnything(files))
        return false;
    engine::CheckSourceFiles(files);
    return true;
}

fileio::TCheckFindings CheckImportOverVehicle(TGameSession& session, std::int32_t targetID,
                                              const engine::TImportSource& source)
{
    const TArchiveUse use(session);
    return engine::CheckImport(session.Context(), session.FindVehicle(targetID), source);
}

fileio::TCheckFindings CheckModelFiles(const std::filesystem::path& model, const std::filesystem::path& textures,
                                       const TGameSession* session)
{
    return engine::CheckModelFiles(model, textures, session ? session->Location().GameDirectory : std::filesystem::path());
}

TImportCheckFailed::TImportCheckFailed(fileio::TCheckFindings findings)
    : engine::TImportError("The check found errors that the game would meet"), CheckFindings(std::move(findings))
{
}

engine::TImportResult ImportOverVehicle(TGameSession& session, std::int32_t targetID,
                                        const engine::TImportSource& source, TCheckPolicy policy,
                                        TOperationObserver* observer)
{
    const TArchiveUse use(session);
    std::optional<TObserverProgress> progress;
    if (observer)
        progress.emplace(*observer);
    engine::TImportResult result;
    try {
        if (policy == TCheckPolicy::RefuseOnErrors) {
            fileio::TCheckFindings findings = CheckImportOverVehicle(session, targetID, source);
            if (fileio::HasCheckErrors(findings))
                throw TImportCheckFailed(std::move(findings));
        }
        result = engine::ImportVehicle(session.Context(), session.FindVehicle(targetID), source,
                                       progress ? &*progress : nullptr);
    } catch (const engine::TImportError&) {
        throw;
    } catch (const fileio::TVehmiraError& error) {
        throw engine::TImportError(error);
    }
    session.ReloadDefinitions();
    return result;
}

engine::TJournalInfo UndoImport(TGameSession& session)
{
    const TArchiveUse use(session);
    engine::TJournalInfo undone = engine::UndoLastImport(session.Context());
    session.ReloadDefinitions();
    return undone;
}

TImportHistory ReadImportHistory(const TGameLocation& location, TOperationObserver& observer)
{
    RequireGameDirectory(location);
    RecoverGameDirectory(location, observer);
    return {engine::ListImportHistory(location.GameDirectory), engine::LastUndoableImport(location.GameDirectory)};
}

} // namespace vehmira::operations
