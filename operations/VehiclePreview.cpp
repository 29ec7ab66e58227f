#include "operations/VehiclePreview.h"

#include "archive/DirectoryGrowth.h"
#include "archive/IMG.h"
#include "fileio/Errors.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "package/CAR.h"

#include <utility>

namespace vehmira::operations {

namespace {

const char* PieceName(TPreviewPiece piece)
{
    switch (piece) {
    case TPreviewPiece::Model: return "model";
    case TPreviewPiece::Dictionary: return "texture dictionary";
    case TPreviewPiece::SharedDictionary: return "shared texture dictionary";
    }
    return "piece";
}

void RequireBoundedSize(std::uint64_t size, TPreviewPiece piece, const std::string& where)
{
    if (size > MaxPreviewPieceSize)
        throw fileio::TVehmiraError(fileio::TErrorKind::TooLarge,
                                    where + ": the " + PieceName(piece) + " takes " + std::to_string(size) +
                                        " bytes, more than the " + std::to_string(MaxPreviewPieceSize) +
                                        " a preview reads",
                                    {.Path = where, .Subject = PieceName(piece), .Number = std::int64_t(size)});
}

fileio::ByteBuffer ReadBoundedRange(fileio::TStream& stream, std::uint64_t offset, std::uint64_t length,
                                    TPreviewPiece piece, const std::string& where)
{
    RequireBoundedSize(length, piece, where);
    stream.Seek(offset);
    return stream.ReadBytes(length);
}

fileio::ByteBuffer ReadBoundedFile(const std::filesystem::path& file, TPreviewPiece piece)
{
    fileio::TFileStream stream(file, fileio::TFileAccess::Read);
    return ReadBoundedRange(stream, 0, stream.Size(), piece, fileio::PathToUtf8(file));
}

// Runs one step of reading a piece; a failure becomes the piece's problem.
template <class TStep>
auto Attempt(TVehiclePreview& preview, TPreviewPiece piece, const std::string& where, TStep step)
    -> std::optional<decltype(step())>
{
    try {
        return step();
    } catch (const fileio::TVehmiraError& error) {
        if (error.Kind() == fileio::TErrorKind::TooLarge)
            preview.Problems.push_back(
                {piece, TPreviewProblemKind::TooLarge, where, {}, std::uint64_t(error.Facts().Number)});
        else
            preview.Problems.push_back({piece, TPreviewProblemKind::Unreadable, where, error.what()});
    } catch (const std::exception& error) {
        preview.Problems.push_back({piece, TPreviewProblemKind::Unreadable, where, error.what()});
    }
    return std::nullopt;
}

void Absent(TVehiclePreview& preview, TPreviewPiece piece, const std::string& where)
{
    preview.Problems.push_back({piece, TPreviewProblemKind::Absent, where});
}

void TakeModel(TVehiclePreview& preview, std::optional<fileio::ByteBuffer> bytes, const std::string& where)
{
    if (!bytes)
        return;
    // Read as the archive holds the model once imported: the game reads it so.
    bytes = archive::AsStoredEntry(std::move(*bytes));
    preview.Model = Attempt(preview, TPreviewPiece::Model, where, [&] { return renderware::ReadModelSummary(*bytes); });
    try {
        preview.Drawing = render::ReadClumpModel(*bytes);
    } catch (const fileio::TVehmiraError&) {
        // The summary's problem already says why the model cannot be read.
    }
}

// Data\Carcols.dat of the game; nothing when it is absent or unreadable (the
// picture then shows a neutral paint).
std::optional<std::string> ReadCarcols(const std::filesystem::path& gameDirectory)
{
    const std::filesystem::path file = fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::Carcols);
    try {
        if (!fileio::FileExists(file))
            return std::nullopt;
        const fileio::ByteBuffer bytes = ReadBoundedFile(file, TPreviewPiece::Model);
        return std::string(bytes.begin(), bytes.end());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<renderware::TTextureDictionary> ParseDictionary(TVehiclePreview& preview, TPreviewPiece piece,
                                                              std::optional<fileio::ByteBuffer> bytes,
                                                              const std::string& where)
{
    if (!bytes)
        return std::nullopt;
    return Attempt(preview, piece, where, [&] {
        return renderware::TTextureDictionary::FromBytes(archive::AsStoredEntry(std::move(*bytes)));
    });
}

void ReadSharedDictionary(TVehiclePreview& preview, const std::filesystem::path& gameDirectory)
{
    preview.SharedDictionaryLookedFor = true;
    const std::filesystem::path file = fileio::ResolveGamePath(gameDirectory, SharedVehicleDictionary);
    if (!fileio::FileExists(file))
        return;
    preview.SharedDictionaryPresent = true;
    const std::string where = fileio::PathToUtf8(file);
    std::optional<fileio::ByteBuffer> bytes = Attempt(preview, TPreviewPiece::SharedDictionary, where, [&] {
        return ReadBoundedFile(file, TPreviewPiece::SharedDictionary);
    });
    preview.SharedDictionary = ParseDictionary(preview, TPreviewPiece::SharedDictionary, std::move(bytes), where);
}

// The check runs once the model and its dictionary are read. A game without a
// shared dictionary finds nothing there: the names its own dictionary lacks
// are then missing, not merely expected from it.
void CheckTextures(TVehiclePreview& preview)
{
    if (!preview.Model || !preview.Dictionary)
        return;
    const renderware::TTextureDictionary* shared = preview.SharedDictionary ? &*preview.SharedDictionary : nullptr;
    renderware::TTextureCheck check = renderware::CheckModelTextures(*preview.Model, *preview.Dictionary, shared);
    if (preview.SharedDictionaryLookedFor && !preview.SharedDictionaryPresent) {
        check.Missing = check.NotInOwnDictionary;
        check.ExpectedFromShared.clear();
        check.SharedDictionaryChecked = true;
    }
    preview.Check = std::move(check);
}

void Finish(TVehiclePreview& preview, const std::optional<std::filesystem::path>& gameDirectory)
{
    if (gameDirectory)
        ReadSharedDictionary(preview, *gameDirectory);
    CheckTextures(preview);
}

std::optional<fileio::ByteBuffer> ReadSeparateFile(TVehiclePreview& preview, TPreviewPiece piece,
                                                   const std::filesystem::path& file)
{
    const std::string where = fileio::PathToUtf8(file);
    if (file.empty()) {
        Absent(preview, piece, where);
        return std::nullopt;
    }
    if (!fileio::FileExists(file)) {
        preview.Problems.push_back({piece, TPreviewProblemKind::NotFound, where});
        return std::nullopt;
    }
    return Attempt(preview, piece, where, [&] { return ReadBoundedFile(file, piece); });
}

std::optional<fileio::ByteBuffer> ReadPackagePiece(TVehiclePreview& preview, TPreviewPiece piece,
                                                   fileio::TStream& package, const package::TCarPiece& place,
                                                   const std::string& where)
{
    if (!place.Present) {
        Absent(preview, piece, where);
        return std::nullopt;
    }
    return Attempt(preview, piece, where,
                   [&] { return ReadBoundedRange(package, place.Offset, place.Length, piece, where); });
}

std::optional<fileio::ByteBuffer> ReadArchiveEntry(TVehiclePreview& preview, TPreviewPiece piece,
                                                   archive::TIMGFile& archive, const std::string& entryName)
{
    const archive::TDIREntry* entry = archive.Directory.FindEntry(entryName);
    if (entry == nullptr) {
        Absent(preview, piece, entryName);
        return std::nullopt;
    }
    return Attempt(preview, piece, entryName, [&] {
        RequireBoundedSize(std::uint64_t(entry->Size) * archive::SectorSize, piece, entryName);
        fileio::TMemoryStream bytes;
        archive.ExtractToStream(bytes, 0, entryName);
        return bytes.Bytes();
    });
}

} // namespace

TVehiclePreview PreviewPackage(const std::filesystem::path& package,
                               const std::optional<std::filesystem::path>& gameDirectory)
{
    TVehiclePreview preview;
    preview.Source = TPreviewSource::Package;
    fileio::TFileStream stream(package, fileio::TFileAccess::Read);
    const package::TCarLayout layout = package::ReadCarLayout(stream);
    const std::string where = fileio::PathToUtf8(package);
    TakeModel(preview, ReadPackagePiece(preview, TPreviewPiece::Model, stream, layout.DFF, where), where);
    preview.Dictionary = ParseDictionary(preview, TPreviewPiece::Dictionary,
                                         ReadPackagePiece(preview, TPreviewPiece::Dictionary, stream, layout.TXD, where),
                                         where);
    Finish(preview, gameDirectory);
    if (gameDirectory && layout.Carcols.Present && layout.Carcols.Length <= MaxPreviewPieceSize)
        if (const std::optional<std::string> carcols = ReadCarcols(*gameDirectory))
            preview.Colours = gamedata::ColoursOfLine(package::ReadCarTextPiece(stream, layout.Carcols),
                                                      gamedata::ReadCarcolsPalette(*carcols));
    return preview;
}

TVehiclePreview PreviewFiles(const std::filesystem::path& model, const std::filesystem::path& dictionary,
                             const std::optional<std::filesystem::path>& gameDirectory)
{
    TVehiclePreview preview;
    TakeModel(preview, ReadSeparateFile(preview, TPreviewPiece::Model, model), fileio::PathToUtf8(model));
    preview.Dictionary = ParseDictionary(preview, TPreviewPiece::Dictionary,
                                         ReadSeparateFile(preview, TPreviewPiece::Dictionary, dictionary),
                                         fileio::PathToUtf8(dictionary));
    Finish(preview, gameDirectory);
    return preview;
}

TVehiclePreview PreviewGameVehicle(TGameSession& session, std::int32_t id)
{
    const TArchiveUse use(session);
    const gamedata::TVehicleRecord& vehicle = session.FindVehicle(id);
    TVehiclePreview preview;
    preview.Source = TPreviewSource::GameArchive;
    const std::string modelEntry = vehicle.ModelName + ".dff";
    const std::string dictionaryEntry = vehicle.TxdName + ".txd";
    TakeModel(preview, ReadArchiveEntry(preview, TPreviewPiece::Model, session.Archive(), modelEntry), modelEntry);
    preview.Dictionary = ParseDictionary(
        preview, TPreviewPiece::Dictionary,
        ReadArchiveEntry(preview, TPreviewPiece::Dictionary, session.Archive(), dictionaryEntry), dictionaryEntry);
    Finish(preview, session.Location().GameDirectory);
    if (const std::optional<std::string> carcols = ReadCarcols(session.Location().GameDirectory))
        preview.Colours = gamedata::FindVehicleColours(*carcols, vehicle.ModelName);
    return preview;
}

std::vector<renderware::TRgbaImage> DecodeAllTextures(const renderware::TTextureDictionary& dictionary)
{
    std::vector<renderware::TRgbaImage> images(dictionary.Textures().size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (!dictionary.Textures()[i].Decodable())
            continue;
        try {
            images[i] = dictionary.DecodeTexture(i);
        } catch (const fileio::TVehmiraError&) {
            // Left empty: the sheet crosses the cell out.
        }
    }
    return images;
}

} // namespace vehmira::operations
