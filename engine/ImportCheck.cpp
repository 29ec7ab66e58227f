#include "engine/ImportCheck.h"

#include "archive/DirectoryGrowth.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/ImportPlan.h"
#include "engine/VehicleName.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehicleLineCheck.h"
#include "renderware/VehicleModelCheck.h"

#include <optional>

namespace vehmira::engine {

namespace {

constexpr std::size_t TypeField = 3;

void RequireCheckedSize(std::uint64_t size, std::string_view subject)
{
    if (size > MaxCheckedPieceSize)
        throw fileio::TVehmiraError(fileio::TErrorKind::TooLarge,
                                    "The " + std::string(subject) + " is larger than the check reads",
                                    {.Path = {}, .Subject = std::string(subject), .Number = std::int64_t(size)});
}

// The bytes as the import will store them in the archive, where the game reads them.
fileio::ByteBuffer ReadCheckedFile(const std::filesystem::path& path, std::string_view subject)
{
    fileio::TFileStream file(path, fileio::TFileAccess::Read);
    RequireCheckedSize(file.Size(), subject);
    return archive::AsStoredEntry(file.ReadBytes(file.Size()));
}

fileio::ByteBuffer ReadPiece(const TImportPlan& plan, const std::optional<TArchiveAdd>& add, std::string_view subject)
{
    if (!add)
        return {};
    if (!add->File.empty())
        return ReadCheckedFile(add->File, subject);
    RequireCheckedSize(std::uint64_t(add->Piece.Length), subject);
    plan.Package->Seek(add->Piece.Offset);
    return archive::AsStoredEntry(plan.Package->ReadBytes(std::uint64_t(add->Piece.Length)));
}

// The definition line and the handling file as the import would leave them.
// A typed line the merge refuses is left out here: the import refuses it itself.
struct TLinesAfterImport {
    std::string Definition;
    std::string Handling;
    gamedata::TDefinitionOrigin DefinitionOrigin = gamedata::TDefinitionOrigin::GameFile;
};

TLinesAfterImport LinesAfterImport(const TGameContext& game, const gamedata::TVehicleRecord& target,
                                   const TImportPlan& plan)
{
    TLinesAfterImport lines{target.Line,
                            fileio::ReadWholeFileText(KeyedLineFilePath(game, package::TKeyedLineKind::MainHandling)),
                            gamedata::TDefinitionOrigin::GameFile};
    for (const TImportLine& line : plan.Lines) {
        std::string* text = nullptr;
        if (line.Kind == package::TKeyedLineKind::Vehicles)
            text = &lines.Definition;
        else if (line.Kind == package::TKeyedLineKind::MainHandling ||
                 line.Kind == package::TKeyedLineKind::SpecialHandling)
            text = &lines.Handling;
        if (text == nullptr)
            continue;
        try {
            *text = MergeKeyedLine(line.Kind, line.Text, *text, target).Text;
            if (line.Kind == package::TKeyedLineKind::Vehicles)
                lines.DefinitionOrigin = gamedata::TDefinitionOrigin::Import;
        } catch (const fileio::TVehmiraError&) {
        }
    }
    return lines;
}

} // namespace

std::optional<renderware::TTextureDictionary> ReadSharedVehicleTextures(const std::filesystem::path& gameDirectory)
{
    const std::filesystem::path path =
        fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::SharedVehicleTextures);
    try {
        if (!fileio::FileExists(path))
            return std::nullopt;
        fileio::TFileStream file(path, fileio::TFileAccess::Read);
        if (file.Size() > MaxCheckedPieceSize)
            return std::nullopt;
        return renderware::TTextureDictionary::FromBytes(file.ReadBytes(file.Size()));
    } catch (const fileio::TVehmiraError&) {
        // A shared dictionary that cannot be read leaves the textures unchecked, as without one.
        return std::nullopt;
    }
}

fileio::TCheckFindings CheckModelFiles(const std::filesystem::path& model, const std::filesystem::path& textures,
                                       const std::filesystem::path& gameDirectory)
{
    const fileio::ByteBuffer modelBytes = ReadCheckedFile(model, "model");
    const fileio::ByteBuffer textureBytes = ReadCheckedFile(textures, "texture dictionary");
    std::optional<renderware::TTextureDictionary> shared;
    if (!gameDirectory.empty())
        shared = ReadSharedVehicleTextures(gameDirectory);
    return renderware::CheckVehicleModel({.Model = modelBytes, .Textures = textureBytes,
                                          .Shared = shared ? &*shared : nullptr, .VehicleType = {}, .ModelID = 0});
}

fileio::TCheckFindings CheckImport(const TGameContext& game, const gamedata::TVehicleRecord& target,
                                   const TImportSource& source)
{
    const auto* package = std::get_if<std::filesystem::path>(&source);
    const TImportPlan plan =
        package ? ReadPackageSource(*package, target) : ReadFilesSource(std::get<TImportFiles>(source), target);
    const TLinesAfterImport lines = LinesAfterImport(game, target, plan);
    const fileio::ByteBuffer model = ReadPiece(plan, plan.Model, "model");
    const fileio::ByteBuffer textures = ReadPiece(plan, plan.Texture, "texture dictionary");

    const gamedata::TLineList fields = gamedata::SplitFields(lines.Definition);
    const std::string type = fields.size() > TypeField ? fields[TypeField] : std::string();
    std::optional<renderware::TTextureDictionary> shared;
    if (!model.empty() && !textures.empty())
        shared = ReadSharedVehicleTextures(game.GameDirectory);
    fileio::TCheckFindings findings = renderware::CheckVehicleModel(
        {.Model = model, .Textures = textures, .Shared = shared ? &*shared : nullptr, .VehicleType = type,
         .ModelID = target.ID});
    for (fileio::TCheckFinding& finding : gamedata::CheckVehicleLines(lines.Definition, lines.Handling, lines.DefinitionOrigin))
        findings.push_back(std::move(finding));
    if (std::optional<fileio::TCheckFinding> keyOrder = CheckGXTKeyOrder(game))
        findings.push_back(std::move(*keyOrder));
    return findings;
}

} // namespace vehmira::engine
