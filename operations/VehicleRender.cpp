#include "operations/VehicleRender.h"

#include "render/PictureStack.h"
#include "renderware/ContactSheet.h"

namespace vehmira::operations {

namespace {

render::TColour Opaque(const gamedata::TRgb& rgb) { return {rgb[0], rgb[1], rgb[2], 255}; }

} // namespace

render::TPaint PaintOf(const TVehiclePreview& preview)
{
    render::TPaint paint;
    if (preview.Colours) {
        paint.Primary = Opaque(preview.Colours->Primary);
        paint.Secondary = Opaque(preview.Colours->Secondary);
    }
    return paint;
}

std::optional<TModelPicture> RenderPreviewModel(const TVehiclePreview& preview, render::TRenderOptions options)
{
    if (!preview.Drawing)
        return std::nullopt;
    render::TTextureSet textures({preview.SharedDictionary ? &*preview.SharedDictionary : nullptr,
                                  preview.Dictionary ? &*preview.Dictionary : nullptr});
    options.Paint = PaintOf(preview);
    render::TRenderedModel rendered = render::RenderVehicle(*preview.Drawing, textures, options);
    return TModelPicture{std::move(rendered.Image), rendered.Triangles, preview.Colours.has_value()};
}

renderware::TRgbaImage ComposePreviewSheet(const TVehiclePreview& preview,
                                           const std::vector<renderware::TRgbaImage>& textures)
{
    renderware::TRgbaImage sheet = renderware::ComposeContactSheet(textures);
    render::TRenderOptions options;
    options.View.Size = SheetModelViewSide;
    const std::optional<TModelPicture> model = RenderPreviewModel(preview, options);
    if (!model)
        return sheet;
    return render::StackPictures(model->Image, sheet);
}

} // namespace vehmira::operations
