#pragma once
// A vehicle model turned into the triangles to draw, in the model's space,
// each with its texture and its vertices' colours resolved.
//
// Paint: the game recolours materials by their colour (alpha ignored):
// (60, 255, 0) takes the vehicle's primary colour, (255, 0, 175) its
// secondary one; the alpha stays the material's.
//
// Lights: a material on the shared lights texture (LightsTextureName) carries
// a marker colour that tells the game which light it is; the game draws it
// white on that texture, and swaps in the lit texture only while that light is
// on (the game's CVehicleModelInfo::SetEditableMaterialsCB). The picture shows an
// undamaged vehicle with its lights off: white, on the texture as found. The
// light check comes first, as in the game: a light never takes paint.

#include "render/ClumpModel.h"
#include "render/TextureSet.h"

#include <vector>

namespace vehmira::render {

inline constexpr TColour PrimaryPaintKey{60, 255, 0, 255};
inline constexpr TColour SecondaryPaintKey{255, 0, 175, 255};
inline constexpr const char* LightsTextureName = "vehiclelights128";

struct TPaint {
    TColour Primary{0xB4, 0xB8, 0xBC, 255};   // a neutral silver grey, when the colours are not known
    TColour Secondary{0x6C, 0x70, 0x74, 255};
};

struct TSceneVertex {
    TVec3 Position;
    TVec3 Normal;            // unit length
    TTexCoord TexCoord;
    float Colour[4] = {1, 1, 1, 1};  // the material's colour times the prelit colour, 0 to 1
};

struct TSceneTriangle {
    TSceneVertex Vertices[3];
    const TTexture* Texture = nullptr;  // owned by the texture set
    bool Translucent = false;           // drawn blended, after the opaque ones
};

// Triangles whose vertex indices are out of range, or whose placed positions
// are not finite, are left out; a material index out of range takes white.
std::vector<TSceneTriangle> BuildScene(const TClumpModel& model, TTextureSet& textures, const TPaint& paint);

} // namespace vehmira::render
