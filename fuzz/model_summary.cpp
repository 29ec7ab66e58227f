// The model summary and the texture check: bounded for any clump, and every
// atomic points at a frame and a geometry the summary holds.
#include "FuzzSupport.h"
#include "fileio/Errors.h"
#include "renderware/ModelSummary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Rw::TModelSummary model;
    try {
        model = Rw::ReadModelSummary(AsBytes(data, size));
    } catch (const TVehmiraError&) {
        return 0;
    }
    for (const Rw::TAtomicSummary& atomic : model.Atomics) {
        Require(atomic.FrameIndex < model.Frames.size(), "an atomic's frame is in the frame list");
        Require(atomic.GeometryIndex < model.Geometries.size(), "an atomic's geometry is in the geometry list");
    }
    std::uint64_t vertices = 0;
    for (const Rw::TGeometrySummary& geometry : model.Geometries)
        vertices += geometry.Vertices;
    Require(vertices == model.TotalVertices, "the total counts every geometry's vertices");
    return 0;
}
