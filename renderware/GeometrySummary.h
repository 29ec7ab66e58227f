#pragma once
// Reading one Geometry chunk of a model for its summary (layout in
// ModelSummary.h).

#include "renderware/ChunkReader.h"
#include "renderware/ModelSummary.h"

namespace Rw {

TGeometrySummary ReadGeometrySummary(const TChunk& geometry, const std::string& what);

} // namespace Rw
