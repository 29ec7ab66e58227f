#include "cli/PreviewCommands.h"

#include "cli/CarInfo.h"
#include "cli/CommandObserver.h"
#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "cli/PreviewText.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/VehiclesIde.h"
#include "operations/VehiclePreview.h"
#include "operations/VehicleRender.h"
#include "renderware/PngWriter.h"

#include <algorithm>

namespace vehmira::cli {

namespace {
constexpr int ExitFailure = 1;

bool SeparateFiles(const TPreviewInputs& inputs, const char* command)
{
    const bool separate = inputs.DFF || inputs.TXD;
    if (separate && !inputs.Package.empty())
        throw TUsageError(std::string(command) + " takes either a package FILE or --dff and --txd, not both");
    if (!separate && inputs.Package.empty())
        throw TUsageError(std::string(command) + " needs a package FILE, or --dff and --txd");
    return separate;
}

std::optional<std::filesystem::path> SharedDictionaryGame(const TCommandContext& context, const TPreviewInputs& inputs)
{
    if (!inputs.GameGiven)
        return std::nullopt;
    return context.GameDirectory;
}

operations::TVehiclePreview PreviewSeparateFiles(const TCommandContext& context, const TPreviewInputs& inputs)
{
    return operations::PreviewFiles(fileio::PathFromUtf8(inputs.DFF.value_or("")),
                                    fileio::PathFromUtf8(inputs.TXD.value_or("")),
                                    SharedDictionaryGame(context, inputs));
}

// A file that was named but could not be read fails the command; a piece not
// given does not.
bool FailsTheCommand(const operations::TPreviewProblem& problem)
{
    return problem.Piece != operations::TPreviewPiece::SharedDictionary &&
           problem.Kind != operations::TPreviewProblemKind::Absent;
}

int ReportFileProblems(const TCommandContext& context, const operations::TVehiclePreview& preview)
{
    int exitCode = 0;
    for (const operations::TPreviewProblem& problem : preview.Problems)
        if (FailsTheCommand(problem)) {
            context.Err << "vehmira: " << PreviewProblemText(problem, preview.Source) << '\n';
            exitCode = ExitFailure;
        }
    return exitCode;
}

int SeparateFilesInfo(const TCommandContext& context, const TPreviewInputs& inputs, bool json)
{
    const operations::TVehiclePreview preview = PreviewSeparateFiles(context, inputs);
    const std::string model = inputs.DFF.value_or("");
    const std::string dictionary = inputs.TXD.value_or("");
    if (json) {
        context.Out << "{\n  \"model_file\": " << JsonString(model) << ",\n  \"dictionary_file\": "
                    << JsonString(dictionary);
        PrintPreviewJsonKeys(context.Out, preview);
        context.Out << "\n}\n";
    } else {
        context.Out << "model file: " << (model.empty() ? "none" : model)
                    << "\ntexture dictionary file: " << (dictionary.empty() ? "none" : dictionary) << '\n';
        PrintPreviewText(context.Out, preview, FailsTheCommand);
    }
    return ReportFileProblems(context, preview);
}

// The problem that left the preview without textures, in the command's words.
[[noreturn]] void NothingToShow(const operations::TVehiclePreview& preview)
{
    for (const operations::TPreviewProblem& problem : preview.Problems)
        if (problem.Piece == operations::TPreviewPiece::Dictionary)
            throw fileio::TVehmiraError(PreviewProblemText(problem, preview.Source) +
                                        "; there are no textures to show");
    throw fileio::TVehmiraError("the texture dictionary holds no textures to show");
}

void WriteContactSheet(const TCommandContext& context, const operations::TVehiclePreview& preview,
                       const std::string& output)
{
    if (!preview.Dictionary || preview.Dictionary->Textures().empty())
        NothingToShow(preview);
    const std::vector<renderware::TRgbaImage> images = operations::DecodeAllTextures(*preview.Dictionary);
    const renderware::TRgbaImage sheet = operations::ComposePreviewSheet(preview, images);
    fileio::ReplaceFileAtomically(fileio::PathFromUtf8(output), renderware::EncodePng(sheet));
    const auto unreadable = std::count_if(images.begin(), images.end(), [](const auto& image) { return image.Empty(); });
    context.Out << (preview.Drawing ? "Wrote the model view and a contact sheet of " : "Wrote a contact sheet of ")
                << images.size() << (images.size() == 1 ? " texture (" : " textures (") << sheet.Width << 'x'
                << sheet.Height << " pixels) to " << output << '\n';
    if (unreadable > 0)
        context.Err << "vehmira: " << unreadable << " of the textures cannot be read; their cells are crossed out\n";
}
} // namespace

int CarInfoCommand(const TCommandContext& context, const TPreviewInputs& inputs, bool json)
{
    if (SeparateFiles(inputs, "car info"))
        return SeparateFilesInfo(context, inputs, json);
    const std::filesystem::path package = fileio::PathFromUtf8(inputs.Package);
    const package::TCarInspection info = package::InspectCarPackage(package);
    // Only a well-formed package has pieces to look into.
    std::optional<operations::TVehiclePreview> preview;
    if (info.Problem.empty())
        preview = operations::PreviewPackage(package, SharedDictionaryGame(context, inputs));
    const operations::TVehiclePreview* shown = preview ? &*preview : nullptr;
    if (json)
        PrintCarInfoJson(context.Out, inputs.Package, info, shown);
    else
        PrintCarInfo(context.Out, inputs.Package, info, shown);
    if (info.Problem.empty())
        return 0;
    context.Err << "vehmira: " << inputs.Package << ": " << info.Problem << '\n';
    return ExitFailure;
}

operations::TVehiclePreview PreviewOfInputs(const TCommandContext& context, const TPreviewInputs& inputs,
                                            const char* command)
{
    return SeparateFiles(inputs, command)
               ? PreviewSeparateFiles(context, inputs)
               : operations::PreviewPackage(fileio::PathFromUtf8(inputs.Package), SharedDictionaryGame(context, inputs));
}

void CarPreviewCommand(const TCommandContext& context, const TPreviewInputs& inputs, const std::string& output)
{
    WriteContactSheet(context, PreviewOfInputs(context, inputs, "car preview"), output);
}

operations::TVehiclePreview PreviewOfGameVehicle(const TCommandContext& context, const std::string& id)
{
    std::int32_t vehicleID = 0;
    if (!gamedata::ParseVehicleID(id, vehicleID))
        throw TUsageError("\"" + MessageToUtf8(id) + "\" is not a vehicle ID");
    TCommandObserver observer(context);
    operations::TGameSession session(Location(context), observer);
    return operations::PreviewGameVehicle(session, vehicleID);
}

void GamePreviewCommand(const TCommandContext& context, const std::string& id, const std::string& output)
{
    WriteContactSheet(context, PreviewOfGameVehicle(context, id), output);
}

} // namespace vehmira::cli
