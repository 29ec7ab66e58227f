#pragma once
// Where the picture is taken from.
//
// The orthographic views are exact, so that pictures can be compared:
//   side   world +y to the right, +z up, seen from +x
//   top    world +y to the right, +x up, seen from +z
//   front  world +x to the right, +z up, seen from +y
// and the projected bounding box of the drawn triangles is centred in the
// square picture and scaled uniformly so that its larger side spans 90 % of
// it. Pixel (i, j) has its centre at (i + 0.5, j + 0.5), rows counted
// downwards.
//
// The perspective view looks at the centre of the model's bounding box from
// a distance at which its bounding sphere fits, turned by the yaw about +z
// (0: from the front, +y; positive: towards +x) and raised by the pitch.

#include "render/Scene.h"

#include <cstdint>
#include <vector>

namespace vehmira::render {

enum class TView { Perspective, Side, Top, Front };

inline constexpr float DefaultYawDegrees = -35.0f;  // the front and the left side
inline constexpr float DefaultPitchDegrees = 20.0f;
inline constexpr float MinZoom = 0.25f;
inline constexpr float MaxZoom = 8.0f;

struct TViewOptions {
    TView View = TView::Perspective;
    std::uint32_t Size = 512;
    float YawDegrees = DefaultYawDegrees;
    float PitchDegrees = DefaultPitchDegrees;
    float Zoom = 1.0f;  // perspective only; clamped to MinZoom..MaxZoom
};

struct TProjected {
    double X = 0, Y = 0;  // in pixels
    float InverseW = 1;   // 1 / the distance along the view (1 for orthographic views)
    float Nearness = 0;   // larger is nearer; linear across the picture
    bool Visible = false; // in front of the camera and finite
};

class TCamera {
public:
    static TCamera Fit(const std::vector<TSceneTriangle>& scene, const TViewOptions& options);

    TProjected Project(TVec3 point) const;
    // Towards the light, in the model's space.
    TVec3 LightDirection() const { return Light; }

private:
    void FitPerspective(const std::vector<TSceneTriangle>& scene, const TViewOptions& options);
    void FitOrthographic(const std::vector<TSceneTriangle>& scene, const TViewOptions& options);

    bool Orthographic = true;
    TVec3 Right, Up, Forward, Eye;
    double Scale = 1, CentreX = 0, CentreY = 0;
    float NearPlane = 0;
    TVec3 Light;
};

} // namespace vehmira::render
