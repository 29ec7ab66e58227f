#include "operations/GameSession.h"

#include "engine/Journal.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

namespace {
TVehicleFile LoadDefinitions(const TGameLocation& location)
{
    TVehicleFile definitions;
    definitions.LoadFromFile(ResolveGamePath(location.GameDirectory, GameFiles::VehicleDefinitions));
    return definitions;
}
} // namespace

void RecoverGameDirectory(const TGameLocation& location, TOperationObserver& observer)
{
    SetAttributesNormal(ResolveGamePath(location.GameDirectory, GameFiles::ModelArchive)); // a failure shows when opening
    const std::vector<std::string> restored = RecoverInterruptedImports(location.GameDirectory);
    if (!restored.empty())
        observer.InterruptedImportsRestored(restored);
}

TGameSession::TGameSession(TGameLocation location, TOperationObserver& observer)
    : GameLocation(std::move(location)), ModelArchive(std::make_unique<TIMGFile>())
{
    RecoverGameDirectory(GameLocation, observer);
    ModelArchive->Open(ResolveGamePath(GameLocation.GameDirectory, GameFiles::ModelArchive));
    VehicleDefinitions = LoadDefinitions(GameLocation);
}

TGameContext TGameSession::Context() const
{
    return TGameContext{GameLocation.GameDirectory, GameLocation.GXTFileName, ModelArchive.get()};
}

const TVehicleRecord& TGameSession::FindVehicle(std::int32_t id) const
{
    const TVehicleRecord* vehicle = VehicleDefinitions.FindLastByID(id);
    if (vehicle == nullptr)
        throw TVehmiraError(TErrorKind::NoSuchVehicle,
                            "Vehicle " + std::to_string(id) + " has no definition in Data\\Vehicles.ide",
                            {.Path = {}, .Subject = {}, .Number = id});
    return *vehicle;
}

void TGameSession::ReloadDefinitions()
{
    VehicleDefinitions = LoadDefinitions(GameLocation);
}
