#include "operations/ArchiveOperations.h"

#include "archive/ArchiveRebuild.h"

TArchiveLayout CheckArchiveAt(const std::filesystem::path& archive)
{
    return AnalyseLayout(archive);
}

TArchiveLayout CheckGameArchive(TGameSession& session)
{
    return AnalyseLayout(session.Archive().File());
}

void RebuildGameArchive(TGameSession& session, TProgressSink& progress)
{
    TRebuildOptions options;
    options.Progress = &progress;
    RebuildOpenArchive(session.Archive(), options);
}

void RebuildArchiveAt(const std::filesystem::path& archive, TProgressSink& progress)
{
    TRebuildOptions options;
    options.Progress = &progress;
    RebuildArchiveFile(archive, options);
}
