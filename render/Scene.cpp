#include "render/Scene.h"

#include "render/VehicleParts.h"

namespace vehmira::render {

namespace {

struct TResolvedMaterial {
    float Colour[4] = {1, 1, 1, 1};
    const TTexture* Texture = nullptr;
    bool Translucent = false;
};

bool SameRgb(const TColour& a, const TColour& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

TResolvedMaterial Resolve(const TMaterial& material, TTextureSet& textures, const TPaint& paint)
{
    TColour colour = material.Colour;
    if (SameTextureName(material.TextureName, LightsTextureName))
        colour = {255, 255, 255, colour[3]};
    else if (SameRgb(colour, PrimaryPaintKey))
        colour = {paint.Primary[0], paint.Primary[1], paint.Primary[2], colour[3]};
    else if (SameRgb(colour, SecondaryPaintKey))
        colour = {paint.Secondary[0], paint.Secondary[1], paint.Secondary[2], colour[3]};
    TResolvedMaterial resolved;
    for (int i = 0; i < 4; ++i)
        resolved.Colour[i] = colour[i] / 255.0f;
    resolved.Texture = textures.Find(material.TextureName);
    resolved.Translucent = colour[3] < 255 || (resolved.Texture && resolved.Texture->Translucent);
    return resolved;
}

bool IndicesInRange(const TTriangle& triangle, std::size_t vertices)
{
    return triangle.Vertices[0] < vertices && triangle.Vertices[1] < vertices && triangle.Vertices[2] < vertices;
}

// Prelit colours light a geometry that carries no normals; one with normals
// is lit by the renderer's light instead.
TSceneVertex PlaceVertex(const TGeometry& geometry, const TMatrix& world, std::size_t index,
                         const TResolvedMaterial& material, TVec3 faceNormal)
{
    TSceneVertex vertex;
    vertex.Position = TransformPoint(world, geometry.Positions[index]);
    vertex.Normal = geometry.Normals.empty() ? faceNormal
                                             : Normalised(TransformDirection(world, geometry.Normals[index]));
    if (!IsFinite(vertex.Normal))
        vertex.Normal = faceNormal;
    if (!geometry.TexCoords.empty())
        vertex.TexCoord = geometry.TexCoords[index];
    for (int i = 0; i < 4; ++i)
        vertex.Colour[i] = material.Colour[i];
    if (!geometry.Prelit.empty() && geometry.Normals.empty())
        for (int i = 0; i < 4; ++i)
            vertex.Colour[i] *= geometry.Prelit[index][i] / 255.0f;
    return vertex;
}

void AddGeometry(const TGeometry& geometry, const TMatrix& world, const std::vector<TResolvedMaterial>& materials,
                 std::vector<TSceneTriangle>& scene)
{
    const TResolvedMaterial white;
    for (const TTriangle& triangle : geometry.Triangles) {
        if (!IndicesInRange(triangle, geometry.Positions.size()))
            continue;
        const TResolvedMaterial& material = triangle.Material < materials.size() ? materials[triangle.Material] : white;
        const TVec3 a = TransformPoint(world, geometry.Positions[triangle.Vertices[0]]);
        const TVec3 b = TransformPoint(world, geometry.Positions[triangle.Vertices[1]]);
        const TVec3 c = TransformPoint(world, geometry.Positions[triangle.Vertices[2]]);
        if (!IsFinite(a) || !IsFinite(b) || !IsFinite(c))
            continue;
        const TVec3 faceNormal = Normalised(Cross(b - a, c - a));
        TSceneTriangle placed;
        for (int corner = 0; corner < 3; ++corner)
            placed.Vertices[corner] = PlaceVertex(geometry, world, triangle.Vertices[corner], material, faceNormal);
        placed.Texture = material.Texture;
        placed.Translucent = material.Translucent;
        scene.push_back(placed);
    }
}

} // namespace

std::vector<TSceneTriangle> BuildScene(const TClumpModel& model, TTextureSet& textures, const TPaint& paint)
{
    std::vector<std::vector<TResolvedMaterial>> materials(model.Geometries.size());
    std::vector<TSceneTriangle> scene;
    for (const TPlacedAtomic& atomic : PlaceVehicleAtomics(model)) {
        const TGeometry& geometry = model.Geometries[atomic.Geometry];
        std::vector<TResolvedMaterial>& resolved = materials[atomic.Geometry];
        if (resolved.empty())
            for (const TMaterial& material : geometry.Materials)
                resolved.push_back(Resolve(material, textures, paint));
        AddGeometry(geometry, atomic.World, resolved, scene);
    }
    return scene;
}

} // namespace vehmira::render
