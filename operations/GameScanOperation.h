#pragma once
// The scan of every vehicle of the game (engine/GameScan.h), after rolling
// back interrupted imports; progress (vehicles done of vehicles to scan) goes
// to the observer, whose true stops it.

#include "engine/GameScan.h"
#include "operations/GameSession.h"
#include "operations/OperationObserver.h"

#include <cstdint>
#include <vector>

namespace vehmira::operations {

engine::TGameScan ScanGame(const TGameLocation& location, const std::vector<std::int32_t>& onlyIDs,
                           TOperationObserver& observer);

} // namespace vehmira::operations
