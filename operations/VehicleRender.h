#pragma once
// A previewed vehicle's model drawn: the textures looked up in the shared
// vehicle dictionary first, then the model's own, and the paint in the
// vehicle's colours where the preview knows them (a neutral paint otherwise).

#include "operations/VehiclePreview.h"
#include "render/ModelRenderer.h"

#include <optional>

namespace vehmira::operations {

struct TModelPicture {
    renderware::TRgbaImage Image;
    std::size_t Triangles = 0;
    bool PaintKnown = false;
};

// The side of the model view above a preview's contact sheet.
inline constexpr std::uint32_t SheetModelViewSide = 512;

render::TPaint PaintOf(const TVehiclePreview& preview);

// Nothing when the preview has no model to draw (its problems say why).
// Raises TVehmiraError for options out of range.
std::optional<TModelPicture> RenderPreviewModel(const TVehiclePreview& preview, render::TRenderOptions options);

// The contact sheet of the textures (each decoded, a damaged one crossed out)
// with the model's perspective view above it when there is a model to draw.
// Raises TVehmiraError when the dictionary holds no textures.
renderware::TRgbaImage ComposePreviewSheet(const TVehiclePreview& preview,
                                           const std::vector<renderware::TRgbaImage>& textures);

} // namespace vehmira::operations
