#pragma once
// Which atomics of a vehicle model are drawn, and where: the vehicle as the
// game shows an undamaged one up close.
//   - every atomic whose frame name does not end in "_dam" (the damaged
//     version) or "_vlo" (the far-away one) and is not "extra1" ... "extra6"
//     (optional parts the game shows one of at random), ASCII case ignored;
//   - the atomics of the frame named "wheel" are not drawn where they hang
//     but at every wheel_lf/rf/lm/rm/lb/rb_dummy frame, in their pose
//     relative to their parent, and mirrored in their own x axis at the left
//     ones (wheel_l?_dummy), as the game clones one wheel onto every axle.

#include "render/ClumpModel.h"

#include <string_view>
#include <vector>

namespace vehmira::render {

struct TPlacedAtomic {
    std::uint32_t Geometry = 0;  // an index into the model's geometries
    TMatrix World;
};

// Each frame's placement in the model's space. A frame whose parent is out
// of range, or whose parents lead round in a loop, is placed as a root.
std::vector<TMatrix> FrameWorldMatrices(const std::vector<TFrame>& frames);

bool IsDrawnPart(std::string_view frameName);

// Atomics naming a frame or a geometry the model does not have are left out.
std::vector<TPlacedAtomic> PlaceVehicleAtomics(const TClumpModel& model);

} // namespace vehmira::render
