#pragma once
// Reading one Geometry chunk of a model for its summary (layout in
// ModelSummary.h).

#include "renderware/ChunkReader.h"
#include "renderware/ModelSummary.h"

namespace vehmira::renderware {

TGeometrySummary ReadGeometrySummary(const TChunk& geometry, const std::string& what);

} // namespace vehmira::renderware
