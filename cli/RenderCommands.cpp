#include "cli/RenderCommands.h"

#include "cli/OutputText.h"
#include "cli/PreviewText.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "operations/VehicleRender.h"
#include "renderware/PngWriter.h"

namespace vehmira::cli {

namespace {

render::TView ViewNamed(const std::string& name)
{
    if (name == "side")
        return render::TView::Side;
    if (name == "top")
        return render::TView::Top;
    if (name == "front")
        return render::TView::Front;
    if (name == "3d")
        return render::TView::Perspective;
    throw TUsageError("--view takes 3d, side, top or front, not \"" + MessageToUtf8(name) + "\"");
}

// The problem that left the preview without a model, in the command's words.
[[noreturn]] void NoModelToDraw(const operations::TVehiclePreview& preview)
{
    for (const operations::TPreviewProblem& problem : preview.Problems)
        if (problem.Piece == operations::TPreviewPiece::Model)
            throw fileio::TVehmiraError(PreviewProblemText(problem, preview.Source) + "; there is no model to draw");
    throw fileio::TVehmiraError("there is no model to draw");
}

void WriteModelPicture(const TCommandContext& context, const operations::TVehiclePreview& preview,
                       const TRenderArguments& arguments)
{
    render::TRenderOptions options;
    options.View.View = ViewNamed(arguments.View);
    options.View.Size = arguments.Size;
    options.View.YawDegrees = arguments.Yaw;
    options.View.PitchDegrees = arguments.Pitch;
    options.Mask = arguments.Mask;
    const std::optional<operations::TModelPicture> picture = operations::RenderPreviewModel(preview, options);
    if (!picture)
        NoModelToDraw(preview);
    fileio::ReplaceFileAtomically(fileio::PathFromUtf8(arguments.Output), renderware::EncodePng(picture->Image));
    context.Out << "Wrote the " << arguments.View << (arguments.Mask ? " mask of " : " view of ") << picture->Triangles
                << (picture->Triangles == 1 ? " triangle (" : " triangles (") << picture->Image.Width << 'x'
                << picture->Image.Height << " pixels) to " << arguments.Output << '\n';
    if (!arguments.Mask && !picture->PaintKnown)
        context.Out << "The vehicle's colours are not known; its paint is drawn in neutral grey.\n";
}

} // namespace

void CarRenderCommand(const TCommandContext& context, const TPreviewInputs& inputs, const TRenderArguments& arguments)
{
    ViewNamed(arguments.View);
    WriteModelPicture(context, PreviewOfInputs(context, inputs, "car render"), arguments);
}

void GameRenderCommand(const TCommandContext& context, const std::string& id, const TRenderArguments& arguments)
{
    ViewNamed(arguments.View);
    WriteModelPicture(context, PreviewOfGameVehicle(context, id), arguments);
}

} // namespace vehmira::cli
