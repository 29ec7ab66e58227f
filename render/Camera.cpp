#include "render/Camera.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace vehmira::render {

namespace {

constexpr double FilledShare = 0.9;
constexpr double FieldOfViewDegrees = 30.0;

double DotD(TVec3 a, TVec3 b) { return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z; }

struct TBox {
    double Min[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::max()};
    double Max[3] = {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest(),
                     std::numeric_limits<double>::lowest()};
    bool Empty() const { return Min[0] > Max[0]; }
    void Add(double a, double b, double c)
    {
        const double v[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            Min[i] = std::min(Min[i], v[i]);
            Max[i] = std::max(Max[i], v[i]);
        }
    }
};

template <class TMap>
TBox BoundScene(const std::vector<TSceneTriangle>& scene, TMap map)
{
    TBox box;
    for (const TSceneTriangle& triangle : scene)
        for (const TSceneVertex& vertex : triangle.Vertices) {
            const auto [a, b, c] = map(vertex.Position);
            box.Add(a, b, c);
        }
    return box;
}

TVec3 LightFor(TVec3 right, TVec3 up, TVec3 forward)
{
    return Normalised(forward * -1.0f + up * 0.9f + right * -0.5f);
}

} // namespace

void TCamera::FitPerspective(const std::vector<TSceneTriangle>& scene, const TViewOptions& options)
{
    const TBox box = BoundScene(scene, [](TVec3 p) { return std::array<double, 3>{p.X, p.Y, p.Z}; });
    TVec3 target;
    double radius = 1;
    if (!box.Empty()) {
        target = {float((box.Min[0] + box.Max[0]) / 2), float((box.Min[1] + box.Max[1]) / 2),
                  float((box.Min[2] + box.Max[2]) / 2)};
        const double dx = box.Max[0] - box.Min[0], dy = box.Max[1] - box.Min[1], dz = box.Max[2] - box.Min[2];
        radius = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
        if (!(radius > 0) || !std::isfinite(radius))
            radius = 1;
    }
    const double yaw = options.YawDegrees * std::numbers::pi / 180;
    const double pitch = std::clamp(double(options.PitchDegrees), -89.0, 89.0) * std::numbers::pi / 180;
    const double halfField = FieldOfViewDegrees / 2 * std::numbers::pi / 180;
    const double zoom = std::clamp(double(options.Zoom), double(MinZoom), double(MaxZoom));
    const double distance = radius / std::sin(halfField) / zoom;
    const TVec3 towardsEye{float(std::cos(pitch) * std::sin(yaw)), float(std::cos(pitch) * std::cos(yaw)),
                           float(std::sin(pitch))};
    Orthographic = false;
    Eye = target + towardsEye * float(distance);
    Forward = towardsEye * -1.0f;
    Right = Normalised(Cross(Forward, {0, 0, 1}));
    Up = Cross(Right, Forward);
    Scale = options.Size / 2.0 / std::tan(halfField);
    CentreX = CentreY = options.Size / 2.0;
    NearPlane = float(distance * 0.01);
}

void TCamera::FitOrthographic(const std::vector<TSceneTriangle>& scene, const TViewOptions& options)
{
    if (options.View == TView::Side)
        Right = {0, 1, 0}, Up = {0, 0, 1}, Forward = {-1, 0, 0};
    else if (options.View == TView::Top)
        Right = {0, 1, 0}, Up = {1, 0, 0}, Forward = {0, 0, -1};
    else
        Right = {1, 0, 0}, Up = {0, 0, 1}, Forward = {0, -1, 0};
    const TBox box = BoundScene(scene, [this](TVec3 p) { return std::array<double, 3>{DotD(p, Right), DotD(p, Up), 0.0}; });
    if (box.Empty())
        return;
    const double size = options.Size;
    const double extent = std::max(box.Max[0] - box.Min[0], box.Max[1] - box.Min[1]);
    Scale = extent > 0 && std::isfinite(extent) ? FilledShare * size / extent : 1;
    CentreX = size / 2 - Scale * (box.Min[0] + box.Max[0]) / 2;
    CentreY = size / 2 + Scale * (box.Min[1] + box.Max[1]) / 2;
}

TCamera TCamera::Fit(const std::vector<TSceneTriangle>& scene, const TViewOptions& options)
{
    TCamera camera;
    if (options.View == TView::Perspective)
        camera.FitPerspective(scene, options);
    else
        camera.FitOrthographic(scene, options);
    camera.Light = LightFor(camera.Right, camera.Up, camera.Forward);
    return camera;
}

TProjected TCamera::Project(TVec3 point) const
{
    TProjected projected;
    if (Orthographic) {
        projected.X = CentreX + Scale * DotD(point, Right);
        projected.Y = CentreY - Scale * DotD(point, Up);
        projected.Nearness = -float(DotD(point, Forward));
    } else {
        const TVec3 relative = point - Eye;
        const double depth = DotD(relative, Forward);
        if (!(depth > NearPlane))
            return projected;
        projected.X = CentreX + Scale * DotD(relative, Right) / depth;
        projected.Y = CentreY - Scale * DotD(relative, Up) / depth;
        projected.InverseW = float(1 / depth);
        projected.Nearness = projected.InverseW;
    }
    projected.Visible = std::isfinite(projected.X) && std::isfinite(projected.Y) && std::isfinite(projected.Nearness);
    return projected;
}

} // namespace vehmira::render
