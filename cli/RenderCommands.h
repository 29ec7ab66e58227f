#pragma once
// `vehmira car render` and `vehmira render ID`: a vehicle's model drawn into a
// PNG picture, in perspective or in one of the exact orthographic views.

#include "cli/PreviewCommands.h"
#include "render/ModelRenderer.h"

#include <cstdint>
#include <string>

namespace vehmira::cli {

struct TRenderArguments {
    std::string View = "3d";  // 3d, side, top or front
    std::uint32_t Size = 512;
    float Yaw = render::DefaultYawDegrees;
    float Pitch = render::DefaultPitchDegrees;
    bool Mask = false;
    std::string Output;
};

inline constexpr const char* RenderViewNames[] = {"3d", "side", "top", "front"};

void CarRenderCommand(const TCommandContext& context, const TPreviewInputs& inputs, const TRenderArguments& arguments);
void GameRenderCommand(const TCommandContext& context, const std::string& id, const TRenderArguments& arguments);

} // namespace vehmira::cli
