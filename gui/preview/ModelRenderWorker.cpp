#include "gui/preview/ModelRenderWorker.h"

#include <utility>

namespace vehmira::gui {

TModelRenderWorker::TModelRenderWorker(const render::TClumpModel& model, const renderware::TTextureDictionary* shared,
                                       const renderware::TTextureDictionary* own, render::TPaint paint, HWND window,
                                       UINT message)
    : Thread([=, this, &model] { Run(model, shared, own, paint, window, message); })
{
}

TModelRenderWorker::~TModelRenderWorker()
{
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
    }
    Wake.notify_all();
    Thread.join();
}

void TModelRenderWorker::Request(const TModelPose& pose)
{
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Pending = pose;
    }
    Wake.notify_all();
}

std::optional<renderware::TRgbaImage> TModelRenderWorker::Take()
{
    const std::lock_guard<std::mutex> guard(Lock);
    return std::exchange(Finished, std::nullopt);
}

void TModelRenderWorker::Run(const render::TClumpModel& model, const renderware::TTextureDictionary* shared,
                             const renderware::TTextureDictionary* own, render::TPaint paint, HWND window,
                             UINT message)
{
    std::vector<render::TSceneTriangle> scene;
    render::TTextureSet textures({shared, own});
    try {
        scene = render::BuildScene(model, textures, paint);
    } catch (const std::exception&) {
        // Out of memory: an empty picture.
    }
    for (;;) {
        TModelPose pose;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Wake.wait(guard, [this] { return Stopping || Pending.has_value(); });
            if (Stopping)
                return;
            pose = *std::exchange(Pending, std::nullopt);
        }
        render::TRenderOptions options;
        options.View = {render::TView::Perspective, pose.Side, pose.YawDegrees, pose.PitchDegrees, pose.Zoom};
        try {
            renderware::TRgbaImage picture = render::RenderScene(scene, options).Image;
            const std::lock_guard<std::mutex> guard(Lock);
            Finished = std::move(picture);
        } catch (const std::exception&) {
            continue;
        }
        PostMessageW(window, message, 0, 0);
    }
}

} // namespace vehmira::gui
