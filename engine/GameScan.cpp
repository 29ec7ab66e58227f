#include "engine/GameScan.h"

#include "engine/GameArchives.h"
#include "engine/ImportCheck.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CarFileCheck.h"
#include "gamedata/AsciiCase.h"
#include "gamedata/CarMods.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehicleLineCheck.h"
#include "renderware/VehicleModelCheck.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>

namespace vehmira::engine {

namespace {

using fileio::TCheckCode;

constexpr std::string_view ModelExtension = ".dff";
constexpr std::string_view TextureExtension = ".txd";
// The definition file that holds the game's upgrade parts.
constexpr std::string_view PartDefinitionsFile = "veh_mods.ide";

struct TDefinitions {
    std::vector<gamedata::TVehicleRecord> Vehicles;
    std::vector<std::string> VehicleFiles; // each vehicle's file
    gamedata::TModelNames Parts;
    bool PartsFound = false;
};

std::optional<std::string> ReadOptionalGameFile(const std::filesystem::path& gameDirectory, std::string_view path)
{
    if (!fileio::IsInsideGameDirectory(path))
        return std::nullopt;
    const std::filesystem::path resolved = fileio::ResolveGamePath(gameDirectory, path);
    if (!fileio::FileExists(resolved))
        return std::nullopt;
    return fileio::ReadWholeFileText(resolved);
}

void AddVehicles(TDefinitions& definitions, std::string_view text, std::string_view file)
{
    gamedata::TVehicleFile vehicles;
    vehicles.LoadFromText(text, file);
    for (gamedata::TVehicleRecord& vehicle : vehicles.Vehicles) {
        definitions.Vehicles.push_back(std::move(vehicle));
        definitions.VehicleFiles.emplace_back(file);
    }
}

bool NamesPartDefinitions(std::string_view path)
{
    const std::vector<std::string> components = fileio::SplitGamePath(path);
    return !components.empty() && fileio::SameGamePath(components.back(), PartDefinitionsFile);
}

TDefinitions ReadDefinitions(const std::filesystem::path& gameDirectory, const gamedata::TGameDat& fileList)
{
    TDefinitions definitions;
    AddVehicles(definitions,
                fileio::ReadWholeFileText(
                    fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::VehicleDefinitions)),
                fileio::GameFiles::VehicleDefinitions);
    for (const gamedata::TGameDatFile& line : fileList.Definitions) {
        if (fileio::SameGamePath(line.Path, fileio::GameFiles::VehicleDefinitions))
            continue;
        const std::optional<std::string> text = ReadOptionalGameFile(gameDirectory, line.Path);
        if (!text)
            continue;
        AddVehicles(definitions, *text, line.Path);
        for (const std::string& name : gamedata::ReadObjectNames(*text))
            definitions.Parts.Add(name);
        definitions.PartsFound = definitions.PartsFound || NamesPartDefinitions(line.Path);
    }
    return definitions;
}

fileio::TCheckFinding Finding(TCheckCode code, std::string subject, std::int64_t number = 0)
{
    fileio::TCheckFinding finding{code, {}};
    finding.Facts.Subject = std::move(subject);
    finding.Facts.Number = number;
    return finding;
}

// The entry's bytes as the game reads them, zeros past the file's end; none
// when it is larger than the check reads or starts past the end.
std::optional<fileio::ByteBuffer> ReadEntry(const TGameArchive& archive, const archive::TDIREntry& entry)
{
    const std::uint64_t size = std::uint64_t(entry.Size) * archive::SectorSize;
    if (size > MaxCheckedPieceSize)
        return std::nullopt;
    fileio::TFileStream file(archive.Path, fileio::TFileAccess::Read);
    const std::uint64_t start = std::uint64_t(entry.Offset) * archive::SectorSize;
    if (start >= file.Size())
        return std::nullopt;
    file.Seek(start);
    fileio::ByteBuffer bytes = file.ReadBytes(std::min(size, file.Size() - start));
    bytes.resize(std::size_t(size), 0);
    return bytes;
}

class TVehicleScanner {
public:
    TVehicleScanner(const std::filesystem::path& gameDirectory, const std::vector<TGameArchive>& archives,
                    const archive::TPaintjobRegister& paintjobs, std::span<const gamedata::TVehicleRecord> vehicles)
        : Archives(archives), Paintjobs(paintjobs), Shared(ReadSharedVehicleTextures(gameDirectory)),
          Handling(ReadOptionalGameFile(gameDirectory, fileio::GameFiles::Handling).value_or(std::string()))
    {
        std::set<std::string> seen;
        for (const gamedata::TVehicleRecord& vehicle : vehicles)
            for (const std::string_view extension : {ModelExtension, TextureExtension}) {
                std::string name = gamedata::UpperAscii(
                    (extension == ModelExtension ? vehicle.ModelName : vehicle.TxdName) + std::string(extension));
                if (!seen.insert(name).second)
                    SharedNames.insert(std::move(name));
            }
    }

    fileio::TCheckFindings Scan(const gamedata::TVehicleRecord& vehicle) const
    {
        fileio::TCheckFindings findings;
        const std::optional<fileio::ByteBuffer> model =
            LoadedEntry(vehicle.ModelName + std::string(ModelExtension), TCheckCode::MissingModel, findings);
        const std::optional<fileio::ByteBuffer> textures =
            LoadedEntry(vehicle.TxdName + std::string(TextureExtension), TCheckCode::MissingTxd, findings);
        if (model && textures)
            for (fileio::TCheckFinding& finding : renderware::CheckVehicleModel(
                     {.Model = *model, .Textures = *textures, .Shared = Shared ? &*Shared : nullptr,
                      .VehicleType = vehicle.VehicleType, .ModelID = vehicle.ID}))
                findings.push_back(std::move(finding));
        const std::vector<std::string>& paintjobs = Paintjobs.Of(vehicle.ID);
        if (paintjobs.size() > archive::MaxPaintjobs)
            findings.push_back(
                Finding(TCheckCode::PaintjobLimit, paintjobs[archive::MaxPaintjobs], std::int64_t(paintjobs.size())));
        for (fileio::TCheckFinding& finding :
             gamedata::CheckVehicleLines(vehicle.Line, Handling, gamedata::TDefinitionOrigin::GameFile))
            findings.push_back(std::move(finding));
        return findings;
    }

private:
    // The bytes of the entry the game loads under that name; a finding when no
    // archive holds it, or when more than one does. An entry several vehicles
    // load (police cars share a dictionary) is read once.
    std::optional<fileio::ByteBuffer> LoadedEntry(const std::string& name, TCheckCode missing,
                                                  fileio::TCheckFindings& findings) const
    {
        const std::optional<TArchiveEntryPlace> place = FindLoadedEntry(Archives, name);
        if (!place) {
            findings.push_back(Finding(missing, name));
            return std::nullopt;
        }
        const TGameArchive& loaded = Archives[place->Archive];
        for (std::size_t a = place->Archive + 1; a < Archives.size(); ++a)
            if (archive::EntryTheGameReads(Archives[a].Entries, name)) {
                fileio::TCheckFinding shadowed = Finding(TCheckCode::ArchiveShadowed, name);
                shadowed.Facts.Path = loaded.GamePath;
                shadowed.Facts.Text = Archives[a].GamePath;
                findings.push_back(std::move(shadowed));
                break;
            }
        const std::pair<std::size_t, std::size_t> key{place->Archive, place->Entry};
        const auto cached = ReadEntries.find(key);
        if (cached != ReadEntries.end())
            return cached->second;
        std::optional<fileio::ByteBuffer> bytes = ReadEntry(loaded, loaded.Entries[place->Entry]);
        if (SharedNames.contains(gamedata::UpperAscii(name)))
            ReadEntries.emplace(key, bytes);
        return bytes;
    }

    const std::vector<TGameArchive>& Archives;
    const archive::TPaintjobRegister& Paintjobs;
    const std::optional<renderware::TTextureDictionary> Shared;
    const std::string Handling;
    // Entry names (upper-cased) more than one vehicle loads, and their bytes once read.
    std::set<std::string> SharedNames;
    mutable std::map<std::pair<std::size_t, std::size_t>, std::optional<fileio::ByteBuffer>> ReadEntries;
};

void AddFileFindings(std::vector<TScanFileFinding>& files, std::string_view file,
                     std::vector<gamedata::TLineFinding> findings)
{
    for (gamedata::TLineFinding& finding : findings)
        files.push_back({std::string(file), finding.Line, std::move(finding.Finding)});
}

void CheckCarFiles(const std::filesystem::path& gameDirectory, const TDefinitions& definitions,
                   std::vector<TScanFileFinding>& files)
{
    gamedata::TModelNames vehicles;
    for (const gamedata::TVehicleRecord& vehicle : definitions.Vehicles)
        vehicles.Add(vehicle.ModelName);
    if (const std::optional<std::string> carcols = ReadOptionalGameFile(gameDirectory, fileio::GameFiles::Carcols))
        AddFileFindings(files, fileio::GameFiles::Carcols, gamedata::CheckCarcols(*carcols, vehicles));
    if (const std::optional<std::string> carmods = ReadOptionalGameFile(gameDirectory, fileio::GameFiles::Carmods))
        AddFileFindings(files, fileio::GameFiles::Carmods,
                        gamedata::CheckCarmods(*carmods, vehicles,
                                               definitions.PartsFound ? &definitions.Parts : nullptr));
}

bool Wanted(const TScanOptions& options, std::int32_t id)
{
    return options.OnlyIDs.empty() ||
           std::find(options.OnlyIDs.begin(), options.OnlyIDs.end(), id) != options.OnlyIDs.end();
}

} // namespace

bool TGameScan::HasErrors() const
{
    const auto hasErrors = [](const TScannedVehicle& vehicle) { return fileio::HasCheckErrors(vehicle.Findings); };
    const auto isError = [](const TScanFileFinding& file) { return fileio::IsCheckError(file.Finding.Code); };
    return std::any_of(Vehicles.begin(), Vehicles.end(), hasErrors) || std::any_of(Files.begin(), Files.end(), isError) ||
           !Layout.ReadsCorrectly() || !Layout.OverlappingEntries.empty() || !Layout.PastEndEntries.empty();
}

TGameScan ScanGame(const std::filesystem::path& gameDirectory, const TScanOptions& options)
{
    const gamedata::TGameDat fileList = ReadGameFileList(gameDirectory);
    const std::vector<TGameArchive> archives = ReadGameArchives(gameDirectory, fileList);
    const TDefinitions definitions = ReadDefinitions(gameDirectory, fileList);
    const archive::TPaintjobRegister paintjobs = GamePaintjobs(archives, definitions.Vehicles);
    const TVehicleScanner scanner(gameDirectory, archives, paintjobs, definitions.Vehicles);

    TGameScan scan;
    scan.Layout = archive::AnalyseLayout(archives.front().Path);
    std::vector<std::size_t> wanted;
    for (std::size_t v = 0; v < definitions.Vehicles.size(); ++v)
        if (Wanted(options, definitions.Vehicles[v].ID))
            wanted.push_back(v);
    for (std::size_t done = 0; done < wanted.size(); ++done) {
        if (options.Progress) {
            options.Progress->Progress(done, wanted.size());
            if (options.Progress->CancelRequested())
                throw fileio::TOperationCancelled("The scan was stopped");
        }
        const gamedata::TVehicleRecord& vehicle = definitions.Vehicles[wanted[done]];
        scan.Vehicles.push_back({vehicle.ID, vehicle.ModelName, definitions.VehicleFiles[wanted[done]],
                                 vehicle.LineNumber, scanner.Scan(vehicle)});
    }
    if (options.Progress)
        options.Progress->Progress(wanted.size(), wanted.size());
    CheckCarFiles(gameDirectory, definitions, scan.Files);
    return scan;
}

} // namespace vehmira::engine
