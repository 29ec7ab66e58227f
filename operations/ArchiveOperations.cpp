#include "operations/ArchiveOperations.h"

#include "archive/ArchiveRebuild.h"
#include "archive/IMG.h"
#include "engine/GameArchives.h"
#include "engine/Journal.h"
#include "fileio/FileStream.h"
#include "fileio/GamePaths.h"
#include "operations/ObserverProgress.h"

#include <algorithm>

namespace vehmira::operations {

archive::TArchiveLayout CheckArchive(const TGameLocation& location, TOperationObserver& observer)
{
    RecoverGameDirectory(location, observer);
    return CheckArchive(fileio::ResolveGamePath(location.GameDirectory, fileio::GameFiles::ModelArchive));
}

archive::TArchiveLayout CheckArchive(const std::filesystem::path& archive) { return archive::AnalyseLayout(archive); }

archive::TArchiveLayout CheckArchive(TGameSession& session)
{
    const TArchiveUse use(session);
    return archive::AnalyseLayout(session.Archive().File());
}

std::vector<TPaintjobExcess> FindPaintjobExcess(const TGameLocation& location, TOperationObserver& observer)
{
    RecoverGameDirectory(location, observer);
    gamedata::TVehicleFile definitions;
    definitions.LoadFromFile(fileio::ResolveGamePath(location.GameDirectory, fileio::GameFiles::VehicleDefinitions));
    const std::vector<engine::TGameArchive> archives =
        engine::ReadGameArchives(location.GameDirectory, engine::ReadGameFileList(location.GameDirectory));
    const archive::TPaintjobRegister paintjobs = engine::GamePaintjobs(archives, definitions.Vehicles);
    std::vector<TPaintjobExcess> excess;
    for (const gamedata::TVehicleRecord& vehicle : definitions.Vehicles) {
        const std::vector<std::string>& names = paintjobs.Of(vehicle.ID);
        const bool listed = std::any_of(excess.begin(), excess.end(),
                                        [&](const TPaintjobExcess& e) { return e.ID == vehicle.ID; });
        if (names.size() > archive::MaxPaintjobs && !listed)
            excess.push_back({vehicle.ID, vehicle.ModelName, names});
    }
    return excess;
}

bool ArchiveNeedsRebuild(const archive::TArchiveLayout& layout)
{
    return !layout.ReadsCorrectly() || layout.HoleBytes != 0 || !layout.ShortTailEntries.empty() ||
           layout.FreeRecords != 0;
}

bool FreeSpaceWorthReclaiming(const archive::TArchiveLayout& layout)
{
    return layout.CanRebuild() && layout.FreeBytes > layout.FileSize / 4;
}

TArchiveRebuildOutcome RebuildArchive(TGameSession& session, TOperationObserver& observer)
{
    const TArchiveUse use(session);
    archive::TIMGFile& archive = session.Archive();
    TArchiveRebuildOutcome outcome;
    outcome.Before = archive::AnalyseLayout(archive.File());
    // A damaged archive is refused whether or not anything would move.
    archive::CheckRebuildable(outcome.Before, archive.Directory.Entries);
    if (!ArchiveNeedsRebuild(outcome.Before)) {
        outcome.After = outcome.Before;
        return outcome;
    }
    TObserverProgress progress(observer);
    archive::TRebuildOptions options;
    options.Progress = &progress;
    archive::RebuildOpenArchive(archive, options);
    outcome.Rebuilt = true;
    outcome.RetiredImports = engine::RetireImportsBeforeRebuild(session.Location().GameDirectory);
    outcome.After = archive::AnalyseLayout(archive.File());
    return outcome;
}

TArchiveRebuildOutcome RebuildArchive(const std::filesystem::path& archive, TOperationObserver& observer)
{
    TArchiveRebuildOutcome outcome;
    {
        fileio::TFileStream file(archive, fileio::TFileAccess::Read);
        archive::TDIRFile directory;
        directory.LoadFromStream(file, false);
        outcome.Before = archive::AnalyseLayout(directory.Entries, file.Size());
        archive::CheckRebuildable(outcome.Before, directory.Entries);
    }
    if (!ArchiveNeedsRebuild(outcome.Before)) {
        outcome.After = outcome.Before;
        return outcome;
    }
    TObserverProgress progress(observer);
    archive::TRebuildOptions options;
    options.Progress = &progress;
    archive::RebuildArchiveFile(archive, options);
    outcome.Rebuilt = true;
    outcome.After = archive::AnalyseLayout(archive);
    return outcome;
}

} // namespace vehmira::operations
