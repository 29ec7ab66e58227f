#include "operations/GameSession.h"

#include "engine/Journal.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

namespace vehmira::operations {

namespace {
gamedata::TVehicleFile LoadDefinitions(const TGameLocation& location)
{
    gamedata::TVehicleFile definitions;
    definitions.LoadFromFile(fileio::ResolveGamePath(location.GameDirectory, fileio::GameFiles::VehicleDefinitions));
    return definitions;
}
} // namespace

void RequireGameDirectory(const TGameLocation& location)
{
    const std::string directory = fileio::PathToUtf8(location.GameDirectory);
    if (!std::filesystem::is_directory(location.GameDirectory))
        throw fileio::TVehmiraError(fileio::TErrorKind::NoGameDirectory, "no game directory at the path given",
                                    {.Path = directory, .Subject = {}, .Number = 0});
    const std::string gxt = std::string(fileio::GameFiles::TextDirectory) + location.GXTFileName;
    for (const std::string_view file : {fileio::GameFiles::ModelArchive, fileio::GameFiles::VehicleDefinitions,
                                        std::string_view(gxt)})
        if (!fileio::FileExists(fileio::ResolveGamePath(location.GameDirectory, file)))
            throw fileio::TVehmiraError(fileio::TErrorKind::NotGameDirectory,
                                        "the game directory lacks one of its files",
                                        {.Path = directory, .Subject = std::string(file), .Number = 0});
}

void RecoverGameDirectory(const TGameLocation& location, TOperationObserver& observer)
{
    fileio::SetAttributesNormal(fileio::ResolveGamePath(
        location.GameDirectory, fileio::GameFiles::ModelArchive)); // a failure shows when opening
    const std::vector<std::string> restored = engine::RecoverInterruptedImports(location.GameDirectory);
    if (!restored.empty())
        observer.InterruptedImportsRestored(restored);
}

TGameSession::TGameSession(TGameLocation location, TOperationObserver& observer)
    : GameLocation(std::move(location)), ModelArchive(std::make_unique<archive::TIMGFile>())
{
    RecoverGameDirectory(GameLocation, observer);
    const TArchiveUse use(*this);
    Archive();
    VehicleDefinitions = LoadDefinitions(GameLocation);
}

archive::TIMGFile& TGameSession::Archive()
{
    if (!ModelArchive->IsOpen())
        ModelArchive->Open(fileio::ResolveGamePath(GameLocation.GameDirectory, fileio::GameFiles::ModelArchive));
    return *ModelArchive;
}

engine::TGameContext TGameSession::Context()
{
    return engine::TGameContext{GameLocation.GameDirectory, GameLocation.GXTFileName, &Archive()};
}

const gamedata::TVehicleRecord& TGameSession::FindVehicle(std::int32_t id) const
{
    const gamedata::TVehicleRecord* vehicle = VehicleDefinitions.FindLastByID(id);
    if (vehicle == nullptr)
        throw fileio::TVehmiraError(fileio::TErrorKind::NoSuchVehicle,
                                    "Vehicle " + std::to_string(id) + " has no definition in Data\\Vehicles.ide",
                                    {.Path = {}, .Subject = {}, .Number = id});
    return *vehicle;
}

void TGameSession::ReloadDefinitions()
{
    VehicleDefinitions = LoadDefinitions(GameLocation);
}

} // namespace vehmira::operations
