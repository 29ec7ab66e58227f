#include "engine/GameArchives.h"

#include "archive/ArchiveLayout.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

namespace vehmira::engine {

namespace {

TGameArchive ReadArchive(std::string gamePath, std::filesystem::path path)
{
    TGameArchive archive{std::move(gamePath), std::move(path), {}};
    fileio::TFileStream stream(archive.Path, fileio::TFileAccess::Read);
    archive::TDIRFile directory;
    directory.LoadFromStream(stream, false);
    archive.Entries = std::move(directory.Entries);
    return archive;
}

} // namespace

gamedata::TGameDat ReadGameFileList(const std::filesystem::path& gameDirectory)
{
    const std::filesystem::path path = fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::GameFileList);
    if (!fileio::FileExists(path))
        return {};
    return gamedata::ReadGameDat(fileio::ReadWholeFileText(path));
}

std::vector<TGameArchive> ReadGameArchives(const std::filesystem::path& gameDirectory,
                                           const gamedata::TGameDat& fileList)
{
    std::vector<TGameArchive> archives;
    archives.push_back(ReadArchive(std::string(fileio::GameFiles::ModelArchive),
                                   fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::ModelArchive)));
    for (const gamedata::TGameDatFile& line : fileList.Archives) {
        if (!fileio::IsInsideGameDirectory(line.Path))
            continue;
        // The game opens Models\GTA3.img itself; a line naming it again adds nothing new.
        if (fileio::SameGamePath(line.Path, fileio::GameFiles::ModelArchive))
            continue;
        std::filesystem::path path = fileio::ResolveGamePath(gameDirectory, line.Path);
        if (fileio::FileExists(path))
            archives.push_back(ReadArchive(line.Path, std::move(path)));
    }
    return archives;
}

std::optional<TArchiveEntryPlace> FindLoadedEntry(std::span<const TGameArchive> archives, std::string_view name)
{
    for (std::size_t a = 0; a < archives.size(); ++a)
        if (const std::optional<std::size_t> entry = archive::EntryTheGameReads(archives[a].Entries, name))
            return TArchiveEntryPlace{a, *entry};
    return std::nullopt;
}

archive::TPaintjobRegister GamePaintjobs(std::span<const TGameArchive> archives,
                                         std::span<const gamedata::TVehicleRecord> vehicles)
{
    std::vector<archive::TPaintjobVehicle> owners;
    owners.reserve(vehicles.size());
    for (const gamedata::TVehicleRecord& vehicle : vehicles)
        owners.push_back({vehicle.ID, vehicle.ModelName});
    archive::TPaintjobRegister paintjobs(owners);
    for (const TGameArchive& archive : archives)
        paintjobs.AddArchive(archive.Entries);
    return paintjobs;
}

} // namespace vehmira::engine
