#pragma once
// Draws a vehicle's model on a thread of its own, so that the preview window
// stays responsive while the user turns it: the textures are decoded and the
// scene built there once, then each asked-for pose is drawn. A pose asked for
// while another is being drawn replaces any still waiting, so that the
// picture follows the mouse without a queue building up.

#include "render/ModelRenderer.h"
#include "renderware/RgbaImage.h"
#include "renderware/TextureDictionary.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace vehmira::gui {

struct TModelPose {
    float YawDegrees = render::DefaultYawDegrees;
    float PitchDegrees = render::DefaultPitchDegrees;
    float Zoom = 1.0f;
    std::uint32_t Side = 256;
};

class TModelRenderWorker {
public:
    // Announces each finished picture by posting `message` to `window`. The
    // model and the dictionaries (either may be null) must outlive the worker.
    TModelRenderWorker(const render::TClumpModel& model, const renderware::TTextureDictionary* shared,
                       const renderware::TTextureDictionary* own, render::TPaint paint, HWND window, UINT message);
    // Stops after the picture being drawn and waits for the thread.
    ~TModelRenderWorker();
    TModelRenderWorker(const TModelRenderWorker&) = delete;
    TModelRenderWorker& operator=(const TModelRenderWorker&) = delete;

    void Request(const TModelPose& pose);
    // The newest finished picture, handed over once.
    std::optional<renderware::TRgbaImage> Take();

private:
    void Run(const render::TClumpModel& model, const renderware::TTextureDictionary* shared,
             const renderware::TTextureDictionary* own, render::TPaint paint, HWND window, UINT message);

    std::mutex Lock;
    std::condition_variable Wake;
    std::optional<TModelPose> Pending;
    std::optional<renderware::TRgbaImage> Finished;
    bool Stopping = false;
    std::thread Thread; // last: started once everything it uses exists
};

} // namespace vehmira::gui
