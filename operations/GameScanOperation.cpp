#include "operations/GameScanOperation.h"

#include "operations/ObserverProgress.h"

namespace vehmira::operations {

engine::TGameScan ScanGame(const TGameLocation& location, const std::vector<std::int32_t>& onlyIDs,
                           TOperationObserver& observer)
{
    RecoverGameDirectory(location, observer);
    TObserverProgress progress(observer);
    return engine::ScanGame(location.GameDirectory, {.OnlyIDs = onlyIDs, .Progress = &progress});
}

} // namespace vehmira::operations
