#include "cli/CommandLine.h"

#include "cli/ArchiveCommands.h"
#include "cli/CarInfo.h"
#include "cli/Commands.h"
#include "cli/PreviewCommands.h"
#include "cli/UnknownCommand.h"
#include "cli/RenderCommands.h"
#include "cli/ScanCommand.h"
#include "cli/ErrorText.h"
#include "demo/DemoGame.h"
#include "cli/OutputText.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "operations/GameSession.h"
#include "cli/CommandObserver.h"

#include "VehmiraVersion.h"

#include <CLI/CLI.hpp>

#include <functional>

namespace vehmira::cli {

namespace {
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
// The name the help's usage line shows: on Windows the executable is
// vehmira-cli.exe, since vehmira.exe would be Vehmira.exe to the file system.
#ifdef _WIN32
constexpr const char* ProgramName = "vehmira-cli";
#else
constexpr const char* ProgramName = "vehmira";
#endif

struct TParsedCommand {
    std::string Game = ".";
    std::string GXT = "American.gxt";
    bool Json = false;
    std::string Id, File, Output, Pieces = "dff,txd,gxt";
    TImportOptions Import;
    TPreviewInputs Preview;
    TRenderArguments Render;
    TArchiveCommandOptions Archive;
    std::vector<std::string> OnlyIDs;
    // Set by the subcommand that was given; runs after the whole line is parsed.
    std::function<int(const TCommandContext&)> Action;
};

CLI::App* AddCommand(CLI::App& app, TParsedCommand& parsed, const std::string& name, const std::string& description,
                     std::function<int(const TCommandContext&)> action)
{
    CLI::App* command = app.add_subcommand(name, description);
    command->callback([&parsed, action = std::move(action)] { parsed.Action = action; });
    return command;
}

// A command that works on the game: a folder without the game's files is
// refused before anything is read, naming what is missing.
CLI::App* AddGameCommand(CLI::App& app, TParsedCommand& parsed, const std::string& name,
                         const std::string& description, std::function<int(const TCommandContext&)> action)
{
    return AddCommand(app, parsed, name, description, [action = std::move(action)](const TCommandContext& context) {
        operations::RequireGameDirectory(Location(context));
        return action(context);
    });
}

void AddOptionalText(CLI::App& command, const std::string& name, std::optional<std::string>& target,
                     const std::string& description)
{
    command.add_option_function<std::string>(name, [&target](const std::string& value) { target = value; },
                                             description);
}

void AddImportCommand(CLI::App& app, TParsedCommand& parsed)
{
    CLI::App* import = AddGameCommand(app, parsed, "import", "Import a package, or separate files and lines, over a vehicle",
                                  [&parsed](const TCommandContext& context) {
                                      return ImportCommand(context, parsed.Import);
                                  });
    TImportOptions& options = parsed.Import;
    import->add_option("FILE", options.Package, "The .car package to import");
    import->add_option("--over", options.Over, "ID of the vehicle to replace")->required();
    AddOptionalText(*import, "--dff", options.DFF, "Model file (.dff)");
    AddOptionalText(*import, "--txd", options.TXD, "Texture dictionary file (.txd)");
    AddOptionalText(*import, "--name", options.Name, "Display name");
    AddOptionalText(*import, "--handling", options.Handling,
                    "Main line of " + HostPath(fileio::GameFiles::Handling));
    AddOptionalText(*import, "--handling-special", options.HandlingSpecial,
                    "Special line of " + HostPath(fileio::GameFiles::Handling));
    AddOptionalText(*import, "--vehicles", options.Vehicles, "Line of " + HostPath(fileio::GameFiles::VehicleDefinitions));
    AddOptionalText(*import, "--carcols", options.Carcols, "Line of " + HostPath(fileio::GameFiles::Carcols));
    import->add_flag("--force", options.Force, "Import even when the check finds what the game would fail on");
}

void AddCarCheckCommand(CLI::App& car, TParsedCommand& parsed)
{
    CLI::App* check = AddCommand(car, parsed, "check",
                                 "Check a package, or separate files and lines, against a vehicle of the game: "
                                 "exit 3 when the game would crash on it, refuse it or misread it",
                                 [&parsed](const TCommandContext& context) {
                                     return CarCheckCommand(context, parsed.Import, parsed.Json);
                                 });
    TImportOptions& options = parsed.Import;
    check->add_option("FILE", options.Package, "The .car package to check");
    check->add_option("--over", options.Over, "ID of the vehicle it would replace")->required();
    AddOptionalText(*check, "--dff", options.DFF, "Model file (.dff)");
    AddOptionalText(*check, "--txd", options.TXD, "Texture dictionary file (.txd)");
    AddOptionalText(*check, "--name", options.Name, "Display name");
    AddOptionalText(*check, "--handling", options.Handling, "Main line of " + HostPath(fileio::GameFiles::Handling));
    AddOptionalText(*check, "--handling-special", options.HandlingSpecial, "Special line of " + HostPath(fileio::GameFiles::Handling));
    AddOptionalText(*check, "--vehicles", options.Vehicles, "Line of " + HostPath(fileio::GameFiles::VehicleDefinitions));
    AddOptionalText(*check, "--carcols", options.Carcols, "Line of " + HostPath(fileio::GameFiles::Carcols));
    check->add_flag("--json", parsed.Json, "Print JSON: {\"errors\": [...], \"warnings\": [...]}");
}

void AddRenderOptions(CLI::App& command, TRenderArguments& render)
{
    command.add_option("--view", render.View, "3d (perspective, the default), side, top or front")
        ->check(CLI::IsMember({"3d", "side", "top", "front"}));
    command.add_option("--size", render.Size, "Width and height of the picture in pixels (default 512)")
        ->check(CLI::Range(1u, render::MaxRenderSide));
    command.add_option("--yaw", render.Yaw, "3d view: degrees turned about the vertical from the front view");
    command.add_option("--pitch", render.Pitch, "3d view: degrees raised above the horizon");
    command.add_flag("--mask", render.Mask, "White where the model covers a pixel, black elsewhere");
    command.add_option("-o,--output", render.Output, "The PNG file to write")->required();
}

void AddCarRenderCommand(CLI::App& car, TParsedCommand& parsed)
{
    CLI::App* render = AddCommand(car, parsed, "render", "Write a PNG picture of a package's or a file's model",
                                  [&parsed](const TCommandContext& context) {
                                      CarRenderCommand(context, parsed.Preview, parsed.Render);
                                      return 0;
                                  });
    render->add_option("FILE", parsed.Preview.Package, "The .car package");
    AddOptionalText(*render, "--dff", parsed.Preview.DFF, "A model file (.dff) instead of a package");
    AddOptionalText(*render, "--txd", parsed.Preview.TXD, "Its texture dictionary file (.txd)");
    AddRenderOptions(*render, parsed.Render);
}

void AddCarCommand(CLI::App& app, TParsedCommand& parsed)
{
    CLI::App* car = app.add_subcommand("car", "Look into .car packages");
    car->require_subcommand(1);
    CLI::App* info = AddCommand(*car, parsed, "info",
                                "Show a package's header, pieces, textures and model, and check it",
                                [&parsed](const TCommandContext& context) {
                                    return CarInfoCommand(context, parsed.Preview, parsed.Json);
                                });
    info->add_option("FILE", parsed.Preview.Package, "The .car package");
    AddOptionalText(*info, "--dff", parsed.Preview.DFF, "A model file (.dff) instead of a package");
    AddOptionalText(*info, "--txd", parsed.Preview.TXD, "A texture dictionary file (.txd) instead of a package");
    info->add_flag("--json", parsed.Json, "Print JSON");
    CLI::App* preview = AddCommand(*car, parsed, "preview", "Write a PNG contact sheet of a package's textures",
                                   [&parsed](const TCommandContext& context) {
                                       CarPreviewCommand(context, parsed.Preview, parsed.Output);
                                       return 0;
                                   });
    preview->add_option("FILE", parsed.Preview.Package, "The .car package");
    AddOptionalText(*preview, "--dff", parsed.Preview.DFF, "A model file (.dff) instead of a package");
    AddOptionalText(*preview, "--txd", parsed.Preview.TXD, "A texture dictionary file (.txd) instead of a package");
    preview->add_option("-o,--output", parsed.Output, "The PNG file to write")->required();
    AddCarCheckCommand(*car, parsed);
    AddCarRenderCommand(*car, parsed);
}

void AddCommands(CLI::App& app, TParsedCommand& parsed)
{
    CLI::App* list = AddGameCommand(app, parsed, "list", "List the vehicles: ID and display name",
                                [&parsed](const TCommandContext& context) {
                                    ListCommand(context, parsed.Json);
                                    return 0;
                                });
    list->add_flag("--json", parsed.Json, "Print a JSON array of {\"id\", \"name\", \"paintjobs\"}");

    CLI::App* exportCommand = AddGameCommand(app, parsed, "export", "Export a vehicle into a .car package",
                                         [&parsed](const TCommandContext& context) {
                                             ExportCommand(context, parsed.Id, parsed.File, ParsePieces(parsed.Pieces));
                                             return 0;
                                         });
    exportCommand->add_option("ID", parsed.Id, "Vehicle ID as listed")->required();
    exportCommand->add_option("-o,--output", parsed.File, "The package file to write")->required();
    exportCommand->add_option("--pieces", parsed.Pieces,
                              "Comma list of dff,txd,gxt,handling,vehicles,carcols, or none (default dff,txd,gxt)");

    AddImportCommand(app, parsed);
    AddGameCommand(app, parsed, "undo", "Undo the last import", [](const TCommandContext& context) {
        UndoCommand(context);
        return 0;
    });
    AddGameCommand(app, parsed, "history", "List the imports that are recorded for undo",
               [](const TCommandContext& context) {
                   HistoryCommand(context);
                   return 0;
               });
    AddCarCommand(app, parsed);
    CLI::App* preview = AddGameCommand(app, parsed, "preview", "Write a PNG contact sheet of a vehicle's textures",
                                   [&parsed](const TCommandContext& context) {
                                       GamePreviewCommand(context, parsed.Id, parsed.Output);
                                       return 0;
                                   });
    preview->add_option("ID", parsed.Id, "Vehicle ID as listed")->required();
    preview->add_option("-o,--output", parsed.Output, "The PNG file to write")->required();
    CLI::App* render = AddGameCommand(app, parsed, "render", "Write a PNG picture of a vehicle's model",
                                  [&parsed](const TCommandContext& context) {
                                      GameRenderCommand(context, parsed.Id, parsed.Render);
                                      return 0;
                                  });
    render->add_option("ID", parsed.Id, "Vehicle ID as listed")->required();
    AddRenderOptions(*render, parsed.Render);
    AddArchiveCommands(app, parsed.Archive, parsed.Action);
    CLI::App* scan = AddGameCommand(
        app, parsed, "scan",
        "Check every vehicle of the game as the game loads it: model and TXD in the archives it reads, the model, "
        "texture, paintjob and line checks, the colour and upgrade files and the archive's layout (exit 3 on errors)",
        [&parsed](const TCommandContext& context) { return ScanCommand(context, parsed.OnlyIDs, parsed.Json); });
    scan->add_flag("--json", parsed.Json,
                   "Print JSON: vehicles (id, model, file, line, errors, warnings, each {code, message, subject}), files "
                   "(file, line, severity, code, message) and archive");
    scan->add_option("--only", parsed.OnlyIDs, "Scan only the vehicles with these IDs");
    CLI::App* demo = AddCommand(app, parsed, "demo-game", "Write a small demo game directory",
                                [&parsed](const TCommandContext& context) {
                                    demo::WriteDemoGame(fileio::PathFromUtf8(parsed.File));
                                    context.Out << "Wrote a demo game directory to " << parsed.File << '\n';
                                    return 0;
                                });
    demo->add_option("DIR", parsed.File, "The directory to write")->required();
}

int RunParsed(const TParsedCommand& parsed, bool gameGiven, std::ostream& out, std::ostream& err)
{
    const TCommandContext context{fileio::PathFromUtf8(parsed.Game), parsed.GXT, out, err, gameGiven};
    try {
        return parsed.Action(context);
    } catch (const TUsageError& error) {
        err << "vehmira: " << error.what() << '\n';
        return ExitUsage;
    } catch (const fileio::TVehmiraError& error) {
        err << "vehmira: " << ErrorText(error, gameGiven) << '\n';
        return ExitFailure;
    } catch (const std::exception& error) {
        err << "vehmira: " << MessageToUtf8(error.what()) << '\n';
        return ExitFailure;
    }
}
} // namespace

int RunVehmira(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TParsedCommand parsed;
    CLI::App app("Vehmira: moves vehicles into and out of the game's files", ProgramName);
    app.set_version_flag("--version", "vehmira " VEHMIRA_VERSION, "Print the version and exit");
    CLI::Option* game = app.add_option("--game", parsed.Game, "Game directory (default: the current directory)");
    app.add_option("--gxt", parsed.GXT,
                   "GXT file under " + HostPath(fileio::GameFiles::TextDirectory) + " (default: American.gxt)");
    app.require_subcommand(1);
    app.fallthrough();
    AddCommands(app, parsed);
    // Set after the commands, which would otherwise repeat it under their own help.
    app.footer("Exit status: 0 on success, 1 when the command failed, 2 for a malformed command line, 3 when a "
               "check found errors (car check, import, img check, scan).\n"
               "Every import is journaled in the folder vehmira-backups of the game directory; undo takes back the "
               "last one.");
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp&) {
        // The help of the (sub)command that --help followed.
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& error) {
        err << "vehmira: " << UnknownCommandText(app, args).value_or(error.what()) << "\nRun \"" << ProgramName
            << " --help\" for the commands and options.\n";
        return ExitUsage;
    }
    // Only a game named on the line lends its shared dictionary (and its colours) to `car info`, `car preview`
    // and `car render`.
    parsed.Preview.GameGiven = game->count() > 0;
    return RunParsed(parsed, parsed.Preview.GameGiven, out, err);
}

} // namespace vehmira::cli
