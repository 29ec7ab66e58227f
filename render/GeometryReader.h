#pragma once
// Reading one Geometry chunk for drawing (layout in ClumpModel.h).

#include "render/ClumpModel.h"
#include "renderware/ChunkReader.h"

namespace vehmira::render {

// Raises TVehmiraError naming `what` when the geometry is damaged.
TGeometry ReadGeometry(const renderware::TChunk& geometry, const std::string& what);

} // namespace vehmira::render
