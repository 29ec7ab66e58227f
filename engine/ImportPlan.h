#pragma once
// What one import will do, read from its source and checked whole before the
// game directory is touched.

#include "fileio/FileStream.h"
#include "package/CAR.h"
#include "engine/Import.h"
#include "engine/KeyedLines.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vehmira::engine {

// One archive entry to add or replace, from a package piece or from a file.
struct TArchiveAdd {
    std::string EntryName;      // the target's ModelName + ".dff" or TxdName + ".txd"
    std::filesystem::path File; // a separate input; empty for a package piece
    package::TCarPiece Piece;   // the package piece when File is empty
};

struct TImportLine {
    package::TKeyedLineKind Kind;
    std::string Text;
};

struct TImportPlan {
    std::unique_ptr<fileio::TFileStream> Package; // open while the plan is applied (package source)
    std::optional<TArchiveAdd> Model;
    std::optional<TArchiveAdd> Texture;
    std::optional<std::string> Name;
    std::vector<TImportLine> Lines; // in step order
    std::vector<std::string> SkippedSteps;
    std::string SourceDescription;
};

// Read and check the source: package format and lengths, RenderWare root
// chunks, DFF/TXD files present. Failures are TImportError.
TImportPlan ReadPackageSource(const std::filesystem::path& package, const gamedata::TVehicleRecord& target);
TImportPlan ReadFilesSource(const TImportFiles& files, const gamedata::TVehicleRecord& target);

} // namespace vehmira::engine
