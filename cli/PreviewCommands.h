#pragma once
// `vehmira car info` with the textures and the model, `vehmira car preview`
// and `vehmira preview ID`: a package or separate DFF/TXD files (or a game
// vehicle) looked into, and a PNG contact sheet of the textures.

#include "cli/Commands.h"
#include "operations/VehiclePreview.h"

#include <optional>
#include <string>

namespace vehmira::cli {

// A package FILE, or --dff and --txd; --game (when given on the line) adds the
// game's shared dictionary to the texture check.
struct TPreviewInputs {
    std::string Package;
    std::optional<std::string> DFF, TXD;
    bool GameGiven = false;
};

// The preview of a package FILE or of --dff and --txd; `command` names the
// command in a usage error.
operations::TVehiclePreview PreviewOfInputs(const TCommandContext& context, const TPreviewInputs& inputs,
                                            const char* command);
// The preview of the game's vehicle with the ID written in id; a usage error
// when id is not a vehicle ID.
operations::TVehiclePreview PreviewOfGameVehicle(const TCommandContext& context, const std::string& id);

// Returns the exit code: 1 for a package that is not well-formed, or a
// separate file given that could not be read.
int CarInfoCommand(const TCommandContext& context, const TPreviewInputs& inputs, bool json);
// The contact sheet of a package's or a dictionary file's textures.
void CarPreviewCommand(const TCommandContext& context, const TPreviewInputs& inputs, const std::string& output);
// The contact sheet of a game vehicle's textures.
void GamePreviewCommand(const TCommandContext& context, const std::string& id, const std::string& output);

} // namespace vehmira::cli
