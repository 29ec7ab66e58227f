// The model read for drawing and drawn: bounded and crash-free for any bytes,
// in every view; the picture has its size, the mask is black and white, and
// something is covered only when triangles were drawn.
#include "FuzzSupport.h"
#include "fileio/Errors.h"
#include "render/ModelRenderer.h"

using namespace vehmira;

namespace {
constexpr std::uint32_t Side = 24;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    render::TClumpModel model;
    try {
        model = render::ReadClumpModel(AsBytes(data, size));
    } catch (const fileio::TVehmiraError&) {
        return 0;
    }
    render::TTextureSet textures;
    const std::vector<render::TSceneTriangle> scene = render::BuildScene(model, textures, {});
    for (const render::TView view : {render::TView::Side, render::TView::Top, render::TView::Front,
                                     render::TView::Perspective}) {
        render::TRenderOptions options;
        options.View.View = view;
        options.View.Size = Side;
        options.Mask = view != render::TView::Perspective;
        const render::TRenderedModel rendered = render::RenderScene(scene, options);
        Require(rendered.Image.Width == Side && rendered.Image.Height == Side &&
                    rendered.Image.Pixels.size() == std::size_t(Side) * Side * 4,
                "the picture has the size asked for");
        if (!options.Mask)
            continue;
        bool covered = false;
        for (std::size_t i = 0; i < rendered.Image.Pixels.size(); i += 4) {
            const std::uint8_t value = rendered.Image.Pixels[i];
            Require(value == 0 || value == 255, "the mask is black and white");
            covered = covered || value == 255;
        }
        Require(!covered || rendered.Triangles > 0, "only drawn triangles cover pixels");
    }
    return 0;
}
