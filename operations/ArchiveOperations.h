#pragma once
// The model archive as the game's streamer reads it: its check, and the
// rebuild that puts every entry's data back to back in directory order.

#include "archive/ArchiveLayout.h"
#include "fileio/Progress.h"
#include "operations/GameSession.h"

#include <filesystem>

// The layout of an archive that nobody holds open (read only).
TArchiveLayout CheckArchiveAt(const std::filesystem::path& archive);
// The layout of the session's open archive.
TArchiveLayout CheckGameArchive(TGameSession& session);

// Rebuilds the session's archive, reporting to progress and stopping when it
// asks (TOperationCancelled, the archive as it was). Refuses a damaged archive
// or too little free disk space, changing nothing.
void RebuildGameArchive(TGameSession& session, TProgressSink& progress);
// The same for an archive that nobody holds open.
void RebuildArchiveAt(const std::filesystem::path& archive, TProgressSink& progress);
