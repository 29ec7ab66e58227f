#include "render/VehicleParts.h"

#include "renderware/ModelSummary.h"
#include "renderware/Platform.h"

#include <array>
#include <cstddef>
#include <optional>

namespace vehmira::render {

namespace {

constexpr std::string_view WheelFrame = "wheel";
constexpr std::array<std::string_view, 6> ExtraFrames = {"extra1", "extra2", "extra3", "extra4", "extra5", "extra6"};

struct TWheelPlace {
    std::string_view Frame;
    bool Left;
};
constexpr std::array<TWheelPlace, 6> WheelPlaces = {{{"wheel_lf_dummy", true},
                                                     {"wheel_rf_dummy", false},
                                                     {"wheel_lm_dummy", true},
                                                     {"wheel_rm_dummy", false},
                                                     {"wheel_lb_dummy", true},
                                                     {"wheel_rb_dummy", false}}};

bool SameName(std::string_view a, std::string_view b) { return renderware::SameTextureName(a, b); }

std::optional<std::size_t> FindFrame(const std::vector<TFrame>& frames, std::string_view name)
{
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (SameName(frames[i].Name, name))
            return i;
    return std::nullopt;
}

bool ValidAtomic(const TClumpModel& model, const TAtomic& atomic)
{
    return atomic.Frame < model.Frames.size() && atomic.Geometry < model.Geometries.size();
}

void PlaceWheels(const TClumpModel& model, const std::vector<TMatrix>& worlds, std::size_t wheel,
                 std::vector<TPlacedAtomic>& placed)
{
    for (const TWheelPlace& place : WheelPlaces) {
        const std::optional<std::size_t> dummy = FindFrame(model.Frames, place.Frame);
        if (!dummy)
            continue;
        TMatrix world = Compose(worlds[*dummy], model.Frames[wheel].Local);
        if (place.Left)
            world = MirroredInX(world);
        for (const TAtomic& atomic : model.Atomics)
            if (ValidAtomic(model, atomic) && atomic.Frame == wheel)
                placed.push_back({atomic.Geometry, world});
    }
}

} // namespace

// Walks up from each frame to a placed one or a root, then places the chain
// top down: no recursion, so a long chain cannot exhaust the stack.
std::vector<TMatrix> FrameWorldMatrices(const std::vector<TFrame>& frames)
{
    enum : std::uint8_t { Unplaced, OnChain, Placed };
    std::vector<TMatrix> worlds(frames.size());
    std::vector<std::uint8_t> state(frames.size(), Unplaced);
    std::vector<std::size_t> chain;
    for (std::size_t start = 0; start < frames.size(); ++start) {
        chain.clear();
        TMatrix base;
        for (std::size_t at = start;;) {
            if (state[at] == Placed) {
                base = worlds[at];
                break;
            }
            if (state[at] == OnChain)
                break;
            state[at] = OnChain;
            chain.push_back(at);
            const std::int32_t parent = frames[at].Parent;
            if (parent < 0 || std::size_t(parent) >= frames.size())
                break;
            at = std::size_t(parent);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            worlds[*it] = Compose(base, frames[*it].Local);
            base = worlds[*it];
            state[*it] = Placed;
        }
    }
    return worlds;
}

bool IsDrawnPart(std::string_view frameName)
{
    if (renderware::PartVariantOf(frameName) != renderware::TPartVariant::Normal)
        return false;
    for (std::string_view extra : ExtraFrames)
        if (SameName(frameName, extra))
            return false;
    return true;
}

std::vector<TPlacedAtomic> PlaceVehicleAtomics(const TClumpModel& model)
{
    const std::vector<TMatrix> worlds = FrameWorldMatrices(model.Frames);
    const std::optional<std::size_t> wheel = FindFrame(model.Frames, WheelFrame);
    std::vector<TPlacedAtomic> placed;
    for (const TAtomic& atomic : model.Atomics) {
        if (!ValidAtomic(model, atomic) || atomic.Frame == wheel || !IsDrawnPart(model.Frames[atomic.Frame].Name))
            continue;
        placed.push_back({atomic.Geometry, worlds[atomic.Frame]});
    }
    if (wheel)
        PlaceWheels(model, worlds, *wheel, placed);
    return placed;
}

} // namespace vehmira::render
