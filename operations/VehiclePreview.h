#pragma once
// What a preview of one vehicle shows: its texture dictionary (each texture
// decoded only when asked for), its model's summary, and whether the game
// finds every texture the model uses, looking in the shared vehicle
// dictionary Models\Generic\Vehicle.txd too when a game directory is given.
//
// The pieces come from a .car package, from separate DFF and TXD files, or
// from a vehicle of the game's archive. A piece that is absent, damaged or too
// large is listed among the problems; the other pieces are still shown.

#include "fileio/GamePaths.h"
#include "gamedata/CarColours.h"
#include "operations/GameSession.h"
#include "render/ClumpModel.h"
#include "renderware/ModelSummary.h"
#include "renderware/RgbaImage.h"
#include "renderware/TextureCheck.h"
#include "renderware/TextureDictionary.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::operations {

// The largest piece a preview reads into memory (the game's largest vehicle
// dictionaries take a few MiB).
inline constexpr std::uint64_t MaxPreviewPieceSize = 64ull * 1024 * 1024;

inline constexpr std::string_view SharedVehicleDictionary = fileio::GameFiles::SharedVehicleTextures;

enum class TPreviewPiece { Model, Dictionary, SharedDictionary };

enum class TPreviewProblemKind {
    Absent,     // the package lacks the piece, no file was given, or the archive has no such entry
    NotFound,   // a file given for the piece does not exist
    TooLarge,   // over MaxPreviewPieceSize (Size)
    Unreadable, // the file or entry could not be read, or its stream is damaged (Facts)
};

struct TPreviewProblem {
    TPreviewPiece Piece;
    TPreviewProblemKind Kind;
    std::string Where;      // the file (UTF-8) or the archive entry's name
    std::string Facts = {}; // for Unreadable: what is wrong, in English
    std::uint64_t Size = 0; // for TooLarge
};

enum class TPreviewSource { Package, Files, GameArchive };

struct TVehiclePreview {
    TPreviewSource Source = TPreviewSource::Files;
    std::optional<renderware::TTextureDictionary> Dictionary;
    std::optional<renderware::TModelSummary> Model;
    // The model read for drawing; present whenever its stream has a clump at
    // its root, even when the summary refuses a damaged part.
    std::optional<render::TClumpModel> Drawing;
    // The vehicle's first colours from Data\Carcols.dat, where known: the
    // game's line of the vehicle, or a package's own colour line in the game's
    // palette.
    std::optional<gamedata::TVehicleColours> Colours;
    std::optional<renderware::TTextureDictionary> SharedDictionary;
    // Whether a game directory was given to look for the shared dictionary in,
    // and whether that file exists there.
    bool SharedDictionaryLookedFor = false;
    bool SharedDictionaryPresent = false;
    // With both the model and its dictionary read.
    std::optional<renderware::TTextureCheck> Check;
    std::vector<TPreviewProblem> Problems;
};

// A package's DFF and TXD pieces. A file that is not a readable package
// raises TVehmiraError (as the import would refuse it).
TVehiclePreview PreviewPackage(const std::filesystem::path& package,
                               const std::optional<std::filesystem::path>& gameDirectory);

// Separate files; a piece not given (empty path) is absent.
TVehiclePreview PreviewFiles(const std::filesystem::path& model, const std::filesystem::path& dictionary,
                             const std::optional<std::filesystem::path>& gameDirectory);

// The vehicle with that ID: its ModelName.dff and TxdName.txd from the
// session's archive, and the game's shared dictionary. Raises NoSuchVehicle
// for an unknown ID.
TVehiclePreview PreviewGameVehicle(TGameSession& session, std::int32_t id);

// Every texture of the dictionary decoded, in order; one that cannot be read
// is an empty image (a crossed-out cell on a contact sheet).
std::vector<renderware::TRgbaImage> DecodeAllTextures(const renderware::TTextureDictionary& dictionary);

} // namespace vehmira::operations
