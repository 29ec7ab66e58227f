#include "demo/DemoGame.h"

#include "demo/DemoArchive.h"
#include "demo/DemoGameText.h"
#include "demo/DemoGxt.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"

#include <string>
#include <system_error>

namespace vehmira::demo {

namespace {
constexpr std::string_view MarkerText =
    "This directory is a demo game directory written by \"vehmira demo-game\".\r\n"
    "Its files are made up; it is not a copy of any game. \"vehmira demo-game\" may\r\n"
    "rewrite this directory; it refuses any other directory that is not empty.\r\n";

void CheckDirectoryMayBeWritten(const std::filesystem::path& directory)
{
    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    if (!std::filesystem::exists(status))
        return;
    if (!std::filesystem::is_directory(status))
        throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(directory) + "\" exists and is not a directory");
    if (std::filesystem::is_empty(directory) ||
        fileio::FileExists(directory / fileio::PathFromUtf8(DemoGameMarkerName)))
        return;
    throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(directory) +
                                "\" is not empty and holds no demo game; choose a new or empty directory");
}

void WriteFile(const std::filesystem::path& directory, std::string_view relative, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path path = directory / fileio::PathFromUtf8(relative);
    std::filesystem::create_directories(path.parent_path());
    fileio::ReplaceFileAtomically(path, bytes);
}

void WriteFile(const std::filesystem::path& directory, std::string_view relative, std::string_view text)
{
    WriteFile(directory, relative,
              std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
} // namespace

void WriteDemoGame(const std::filesystem::path& directory)
{
    CheckDirectoryMayBeWritten(directory);
    std::filesystem::create_directories(directory);
    // The marker goes first, so an interrupted run can simply be repeated.
    WriteFile(directory, DemoGameMarkerName, MarkerText);
    WriteFile(directory, "models/gta3.img", DemoArchiveImage());
    WriteFile(directory, "data/vehicles.ide", DemoVehiclesIde());
    WriteFile(directory, "data/handling.cfg", DemoHandlingCfg());
    WriteFile(directory, "data/carcols.dat", DemoCarcolsDat());
    for (const TDemoLanguage language : {TDemoLanguage::American, TDemoLanguage::French, TDemoLanguage::German,
                                         TDemoLanguage::Italian, TDemoLanguage::Spanish})
        WriteFile(directory, "text/" + std::string(DemoGxtFileName(language)), DemoGxt(language).SaveToBytes());
}

} // namespace vehmira::demo
