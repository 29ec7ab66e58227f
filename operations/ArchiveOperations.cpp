#include "operations/ArchiveOperations.h"

#include "archive/ArchiveRebuild.h"
#include "archive/IMG.h"
#include "fileio/GamePaths.h"
#include "operations/ObserverProgress.h"

TArchiveLayout CheckArchive(const TGameLocation& location, TOperationObserver& observer)
{
    RecoverGameDirectory(location, observer);
    return CheckArchive(ResolveGamePath(location.GameDirectory, GameFiles::ModelArchive));
}

TArchiveLayout CheckArchive(const std::filesystem::path& archive) { return AnalyseLayout(archive); }

TArchiveLayout CheckArchive(TGameSession& session) { return AnalyseLayout(session.Archive().File()); }

bool ArchiveNeedsRebuild(const TArchiveLayout& layout)
{
    return !layout.ReadsCorrectly() || layout.HoleBytes != 0 || !layout.ShortTailEntries.empty();
}

TArchiveRebuildOutcome RebuildArchive(TGameSession& session, TOperationObserver& observer)
{
    TIMGFile& archive = session.Archive();
    TArchiveRebuildOutcome outcome;
    outcome.Before = AnalyseLayout(archive.File());
    if (!ArchiveNeedsRebuild(outcome.Before)) {
        outcome.After = outcome.Before;
        return outcome;
    }
    TObserverProgress progress(observer);
    TRebuildOptions options;
    options.Progress = &progress;
    RebuildOpenArchive(archive, options);
    outcome.Rebuilt = true;
    outcome.After = AnalyseLayout(archive.File());
    return outcome;
}

TArchiveRebuildOutcome RebuildArchive(const std::filesystem::path& archive, TOperationObserver& observer)
{
    TArchiveRebuildOutcome outcome;
    outcome.Before = AnalyseLayout(archive);
    if (!ArchiveNeedsRebuild(outcome.Before)) {
        outcome.After = outcome.Before;
        return outcome;
    }
    TObserverProgress progress(observer);
    TRebuildOptions options;
    options.Progress = &progress;
    RebuildArchiveFile(archive, options);
    outcome.Rebuilt = true;
    outcome.After = AnalyseLayout(archive);
    return outcome;
}
