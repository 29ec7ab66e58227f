#include "engine/Export.h"

#include "fileio/Errors.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "package/CAR.h"
#include "engine/KeyedLines.h"
#include "engine/VehicleName.h"

#include <limits>
#include <system_error>
#include <vector>

namespace vehmira::engine {

namespace {

// The text pieces, gathered from the game's files before the package is created.
struct TExportTexts {
    std::string Name;
    std::string Handling;
    std::string HandlingSpecial;
    std::string Vehicles;
    std::string Carcols;
};

std::int32_t PieceLength(std::uint64_t length, std::string_view piece)
{
    if (length > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
        throw fileio::TVehmiraError("The " + std::string(piece) + " is too large for a CAR package (" +
                                    std::to_string(length) + " bytes)");
    return std::int32_t(length);
}

void RequireArchiveEntry(const archive::TIMGFile& archive, const std::string& entryName)
{
    if (archive.Directory.FindEntry(entryName) == nullptr)
        throw fileio::TVehmiraError("The model archive has no entry \"" + entryName + "\"; no package was written");
}

// The first line of the file that belongs to the vehicle, in its cleaned form; empty when none.
std::string FindLine(const TGameContext& game, package::TKeyedLineKind kind, const gamedata::TVehicleRecord& vehicle)
{
    const std::string text = fileio::ReadWholeFileText(KeyedLineFilePath(game, kind));
    return FindFirstKeyedLine(text, kind, vehicle).value_or(std::string());
}

TExportTexts GatherTexts(const TGameContext& game, const gamedata::TVehicleRecord& vehicle,
                         const TExportChoices& choices)
{
    TExportTexts texts;
    if (choices.GXT) {
        gamedata::TGXTFile gxt;
        gxt.LoadFromFile(GXTFilePath(game));
        texts.Name = FindVehicleName(gxt, vehicle).value_or(std::string());
    }
    if (choices.Handling) {
        texts.Handling = FindLine(game, package::TKeyedLineKind::MainHandling, vehicle);
        texts.HandlingSpecial = FindLine(game, package::TKeyedLineKind::SpecialHandling, vehicle);
    }
    if (choices.Vehicles)
        texts.Vehicles = vehicle.Line;
    if (choices.Carcols)
        texts.Carcols = FindLine(game, package::TKeyedLineKind::Carcols, vehicle);
    return texts;
}

package::TCarHeader HeaderFor(const gamedata::TVehicleRecord& vehicle, const TExportChoices& choices)
{
    package::TCarHeader header;
    header.VehicleID = std::uint32_t(vehicle.ID);
    header.HasDFF = choices.DFF ? 1 : 0;
    header.HasTXD = choices.TXD ? 1 : 0;
    header.HasGXT = choices.GXT ? 1 : 0;
    header.HasHandling = choices.Handling ? 1 : 0;
    header.HasVehicles = choices.Vehicles ? 1 : 0;
    header.HasCarcols = choices.Carcols ? 1 : 0;
    return header;
}

std::int32_t AppendText(fileio::TStream& out, const std::string& text, std::string_view piece)
{
    out.Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return PieceLength(text.size(), piece);
}

// Header, pieces in data order, then the length table.
void WritePackage(fileio::TFileStream& out, archive::TIMGFile& archive, const gamedata::TVehicleRecord& vehicle,
                  const TExportChoices& choices, const TExportTexts& texts)
{
    out.Write(package::CarHeaderBytes(HeaderFor(vehicle, choices)));
    out.Seek(package::CarDataOffset);
    package::TCarLengths lengths;
    if (choices.DFF)
        lengths.LenDFF = PieceLength(archive.ExtractToStream(out, out.Position(), vehicle.ModelName + ".DFF"), "model");
    if (choices.TXD)
        lengths.LenTXD =
            PieceLength(archive.ExtractToStream(out, out.Position(), vehicle.TxdName + ".TXD"), "texture dictionary");
    if (choices.GXT)
        lengths.LenGXT = AppendText(out, texts.Name, "display name");
    if (choices.Handling) {
        lengths.LenHandling = AppendText(out, texts.Handling, "main handling line");
        lengths.LenHandlingSpecial = AppendText(out, texts.HandlingSpecial, "special handling line");
    }
    if (choices.Vehicles)
        lengths.LenVehicles = AppendText(out, texts.Vehicles, "Vehicles.ide line");
    if (choices.Carcols)
        lengths.LenCarcols = AppendText(out, texts.Carcols, "Carcols.dat line");
    out.Seek(package::CarHeaderSize);
    out.Write(package::CarLengthsBytes(lengths));
    out.Flush();
}

// The export never writes the game's files, also not when the package is
// named like one of them.
void RefuseGameFileAsDestination(const TGameContext& game, const std::filesystem::path& destination)
{
    std::vector<std::filesystem::path> gameFiles{game.Archive->File().Path(), GXTFilePath(game)};
    for (const package::TKeyedLineKind kind :
         {package::TKeyedLineKind::MainHandling, package::TKeyedLineKind::Vehicles, package::TKeyedLineKind::Carcols})
        gameFiles.push_back(KeyedLineFilePath(game, kind));
    for (const std::filesystem::path& gameFile : gameFiles) {
        std::error_code error;
        if (std::filesystem::equivalent(destination, gameFile, error))
            throw fileio::TVehmiraError("The package cannot be written over the game's own file \"" +
                                        fileio::PathToUtf8(gameFile) + "\"");
    }
}

} // namespace

void ExportVehicle(const TGameContext& game, const gamedata::TVehicleRecord& vehicle, const TExportChoices& choices,
                   const std::filesystem::path& destination)
{
    RequireOpenArchive(game);
    RefuseGameFileAsDestination(game, destination);
    if (choices.DFF)
        RequireArchiveEntry(*game.Archive, vehicle.ModelName + ".DFF");
    if (choices.TXD)
        RequireArchiveEntry(*game.Archive, vehicle.TxdName + ".TXD");
    const TExportTexts texts = GatherTexts(game, vehicle, choices);

    // The package takes its name only when complete: a failed export leaves no
    // half-written file and an existing package of that name as it was.
    const std::filesystem::path temporary = fileio::TemporaryNameBeside(destination);
    try {
        {
            fileio::TFileStream out(temporary, fileio::TFileAccess::CreateNew);
            WritePackage(out, *game.Archive, vehicle, choices, texts);
        }
        fileio::MoveFileIntoPlace(temporary, destination);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

} // namespace vehmira::engine
