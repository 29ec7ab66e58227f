// The model summary and the texture check: bounded for any clump, and every
// atomic points at a frame and a geometry the summary holds.
#include "FuzzSupport.h"
#include "GameFrameSearch.h"
#include "fileio/Errors.h"
#include "renderware/ModelSummary.h"

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    renderware::TModelSummary model;
    try {
        model = renderware::ReadModelSummary(AsBytes(data, size));
    } catch (const TVehmiraError&) {
        return 0;
    }
    for (const renderware::TAtomicSummary& atomic : model.Atomics) {
        Require(atomic.FrameIndex < model.Frames.size(), "an atomic's frame is in the frame list");
        Require(atomic.GeometryIndex < model.Geometries.size(), "an atomic's geometry is in the geometry list");
    }
    for (std::size_t frame = 0; frame <= model.Frames.size(); ++frame)
        Require(renderware::IsFoundFromClumpFrame(model, frame) == GameReachesFrame(model, frame),
                "a frame is found exactly when its parents lead to the clump's frame");
    std::uint64_t vertices = 0;
    for (const renderware::TGeometrySummary& geometry : model.Geometries)
        vertices += geometry.Vertices;
    Require(vertices == model.TotalVertices, "the total counts every geometry's vertices");
    return 0;
}
