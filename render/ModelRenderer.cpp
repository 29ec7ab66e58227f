#include "render/ModelRenderer.h"

#include "fileio/Errors.h"
#include "render/Rasteriser.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vehmira::render {

namespace {

constexpr std::uint8_t Background[4] = {0xE6, 0xE9, 0xEC, 0xFF};
constexpr float AmbientLight = 0.42f;
constexpr float DiffuseLight = 0.58f;

// Both faces of a triangle are lit alike: vehicle models are drawn without
// back-face culling, and their normals do not always face outwards.
void LightVertex(const TSceneVertex& vertex, const TCamera& camera, TRasterVertex& lit)
{
    lit.Screen = camera.Project(vertex.Position);
    lit.TexCoord = vertex.TexCoord;
    const float light = AmbientLight + DiffuseLight * std::fabs(Dot(vertex.Normal, camera.LightDirection()));
    const float intensity = std::isfinite(light) ? std::min(light, 1.0f) : AmbientLight;
    for (int k = 0; k < 3; ++k)
        lit.Colour[k] = vertex.Colour[k] * intensity;
    lit.Colour[3] = vertex.Colour[3];
}

void Draw(TFrameBuffer& buffer, const TSceneTriangle& triangle, const TCamera& camera)
{
    TRasterVertex vertices[3];
    for (int i = 0; i < 3; ++i)
        LightVertex(triangle.Vertices[i], camera, vertices[i]);
    buffer.DrawTriangle(vertices, triangle.Texture, triangle.Translucent);
}

float Nearness(const TSceneTriangle& triangle, const TCamera& camera)
{
    float sum = 0;
    for (const TSceneVertex& vertex : triangle.Vertices)
        sum += camera.Project(vertex.Position).Nearness;
    return std::isfinite(sum) ? sum : 0;
}

// Translucent triangles go last, the farthest first, so that each blends over
// what lies behind it.
std::vector<std::size_t> TranslucentFarthestFirst(const std::vector<TSceneTriangle>& scene, const TCamera& camera)
{
    std::vector<std::pair<float, std::size_t>> keyed;
    for (std::size_t i = 0; i < scene.size(); ++i)
        if (scene[i].Translucent)
            keyed.emplace_back(Nearness(scene[i], camera), i);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::size_t> order;
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    return order;
}

} // namespace

TRenderedModel RenderScene(const std::vector<TSceneTriangle>& scene, const TRenderOptions& options)
{
    if (options.View.Size == 0 || options.View.Size > MaxRenderSide)
        throw fileio::TVehmiraError("the picture size " + std::to_string(options.View.Size) + " is not between 1 and " +
                                    std::to_string(MaxRenderSide));
    const TCamera camera = TCamera::Fit(scene, options.View);
    TFrameBuffer buffer(options.View.Size, Background);
    for (const TSceneTriangle& triangle : scene)
        if (!triangle.Translucent)
            Draw(buffer, triangle, camera);
    for (std::size_t index : TranslucentFarthestFirst(scene, camera))
        Draw(buffer, scene[index], camera);
    TRenderedModel rendered;
    rendered.Triangles = scene.size();
    rendered.Image = options.Mask ? buffer.CoverageMask() : buffer.Colour();
    return rendered;
}

TRenderedModel RenderVehicle(const TClumpModel& model, TTextureSet& textures, const TRenderOptions& options)
{
    return RenderScene(BuildScene(model, textures, options.Paint), options);
}

} // namespace vehmira::render
