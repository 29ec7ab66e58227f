#pragma once
// The little linear algebra the renderer needs: points and directions in
// three dimensions, and RenderWare's affine frame matrix.

#include <cmath>

namespace vehmira::render {

struct TVec3 {
    float X = 0, Y = 0, Z = 0;
};

inline TVec3 operator+(TVec3 a, TVec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline TVec3 operator-(TVec3 a, TVec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline TVec3 operator*(TVec3 a, float s) { return {a.X * s, a.Y * s, a.Z * s}; }
inline float Dot(TVec3 a, TVec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
inline TVec3 Cross(TVec3 a, TVec3 b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
inline bool IsFinite(TVec3 v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

// The unit vector along v; a zero or non-finite vector stays as it is.
inline TVec3 Normalised(TVec3 v)
{
    const float length = std::sqrt(Dot(v, v));
    if (!(length > 0) || !std::isfinite(length))
        return v;
    return v * (1.0f / length);
}

// A frame's placement in its parent, as RenderWare stores it: a point p of
// the frame lies at p.X * Right + p.Y * Up + p.Z * At + Pos in the parent.
struct TMatrix {
    TVec3 Right{1, 0, 0};
    TVec3 Up{0, 1, 0};
    TVec3 At{0, 0, 1};
    TVec3 Pos;
};

inline TVec3 TransformDirection(const TMatrix& m, TVec3 d) { return m.Right * d.X + m.Up * d.Y + m.At * d.Z; }
inline TVec3 TransformPoint(const TMatrix& m, TVec3 p) { return TransformDirection(m, p) + m.Pos; }

// The placement of a frame given in `parent`'s space, in the space `parent` lies in.
inline TMatrix Compose(const TMatrix& parent, const TMatrix& local)
{
    return {TransformDirection(parent, local.Right), TransformDirection(parent, local.Up),
            TransformDirection(parent, local.At), TransformPoint(parent, local.Pos)};
}

// The same placement mirrored in its own x axis (x becomes -x before it is placed).
inline TMatrix MirroredInX(TMatrix m)
{
    m.Right = m.Right * -1.0f;
    return m;
}

} // namespace vehmira::render
