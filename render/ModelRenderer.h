#pragma once
// A vehicle model drawn into a square picture, without a graphics card: the
// parts the game shows up close (VehicleParts.h), in their paint, textured
// from the dictionaries, lit by one directional light over the viewer's
// shoulder, translucent materials blended over the opaque ones.

#include "render/Camera.h"
#include "render/ClumpModel.h"
#include "render/Scene.h"
#include "render/TextureSet.h"
#include "renderware/RgbaImage.h"

#include <cstdint>

namespace vehmira::render {

inline constexpr std::uint32_t MaxRenderSide = 4096;

struct TRenderOptions {
    TViewOptions View;
    bool Mask = false;  // white where the model covers a pixel, black elsewhere
    TPaint Paint;
};

struct TRenderedModel {
    renderware::TRgbaImage Image;
    std::size_t Triangles = 0;  // drawn (in view or not)
};

// Raises TVehmiraError for a size of 0 or over MaxRenderSide.
TRenderedModel RenderScene(const std::vector<TSceneTriangle>& scene, const TRenderOptions& options);
TRenderedModel RenderVehicle(const TClumpModel& model, TTextureSet& textures, const TRenderOptions& options);

} // namespace vehmira::render
