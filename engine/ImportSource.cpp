#include "engine/ImportPlan.h"
#include "engine/Journal.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "renderware/RootChunk.h"

#include <algorithm>

#include <array>

namespace vehmira::engine {

namespace {

std::string PieceTitle(renderware::TRenderWareStream stream)
{
    return stream == renderware::TRenderWareStream::Model ? "a RenderWare model (DFF)"
                                                          : "a RenderWare texture dictionary (TXD)";
}

const char* FieldName(renderware::TRenderWareStream stream)
{
    return stream == renderware::TRenderWareStream::Model ? "DFF" : "TXD";
}

void CheckPackagePiece(fileio::TStream& package, const package::TCarPiece& piece, renderware::TRenderWareStream stream)
{
    fileio::ByteBuffer first;
    if (piece.Length >= 4) {
        package.Seek(piece.Offset);
        first = package.ReadBytes(4);
    }
    if (!renderware::IsRootOf(stream, renderware::RootChunkType(first))) {
        const std::string what = stream == renderware::TRenderWareStream::Model ? "model" : "texture dictionary";
        throw fileio::TVehmiraError(fileio::TErrorKind::SourceNotRenderWare,
                                    "The package's " + what + " piece is not " + PieceTitle(stream) + ".",
                                    {.Path = {}, .Subject = FieldName(stream), .Number = 0});
    }
}

void CheckSourceFile(const std::filesystem::path& file, renderware::TRenderWareStream stream)
{
    const fileio::TErrorFacts facts{.Path = fileio::PathToUtf8(file), .Subject = FieldName(stream), .Number = 0};
    const std::string name = std::string(FieldName(stream)) + " file \"" + facts.Path + "\"";
    if (!fileio::FileExists(file))
        throw fileio::TVehmiraError(fileio::TErrorKind::SourceMissing, "The " + name + " does not exist.", facts);
    fileio::ByteBuffer first;
    try {
        fileio::TFileStream source(file, fileio::TFileAccess::Read);
        first = source.ReadBytes(std::min<std::uint64_t>(source.Size(), 4));
    } catch (const std::exception& error) {
        throw fileio::TVehmiraError(fileio::TErrorKind::SourceUnreadable,
                                    "The " + name + " cannot be read. " + error.what(), facts);
    }
    if (!renderware::IsRootOf(stream, renderware::RootChunkType(first)))
        throw fileio::TVehmiraError(fileio::TErrorKind::SourceNotRenderWare,
                                    "The " + name + " is not " + PieceTitle(stream) + ".", facts);
}

// The name an entry the archive lacks yet is given: the definition line's
// name and the extension in lower case, as the game's own archive spells its
// entries ("infernus.dff"). An entry that exists keeps its own spelling.
std::string ModelEntryName(const gamedata::TVehicleRecord& target) { return target.ModelName + ".dff"; }
std::string TextureEntryName(const gamedata::TVehicleRecord& target) { return target.TxdName + ".txd"; }

// A handling or colour piece with no field text would reduce the target's line to its key: its step is skipped.
void AddLine(TImportPlan& plan, package::TKeyedLineKind kind, std::string text, std::string_view whyEmpty)
{
    if (package::IsSkippedPackageLine(kind, text)) {
        plan.SkippedSteps.push_back(std::string(KeyedLineKindName(kind)) + ": " + std::string(whyEmpty));
        return;
    }
    plan.Lines.push_back({kind, std::move(text)});
}

} // namespace

TImportPlan ReadPackageSource(const std::filesystem::path& package, const gamedata::TVehicleRecord& target)
{
    TImportPlan plan;
    plan.SourceDescription = fileio::PathToUtf8(package);
    plan.Package = std::make_unique<fileio::TFileStream>(package, fileio::TFileAccess::Read);
    fileio::TStream& stream = *plan.Package;
    const package::TCarLayout layout = package::ReadCarLayout(stream);

    if (layout.DFF.Present) {
        CheckPackagePiece(stream, layout.DFF, renderware::TRenderWareStream::Model);
        plan.Model = TArchiveAdd{ModelEntryName(target), {}, layout.DFF};
    }
    if (layout.TXD.Present) {
        CheckPackagePiece(stream, layout.TXD, renderware::TRenderWareStream::TextureDictionary);
        plan.Texture = TArchiveAdd{TextureEntryName(target), {}, layout.TXD};
    }
    if (layout.GXT.Present)
        plan.Name = package::ReadCarTextPiece(stream, layout.GXT);
    const std::string_view noLine = "the package holds no line";
    if (layout.Handling.Present)
        AddLine(plan, package::TKeyedLineKind::MainHandling, package::ReadCarTextPiece(stream, layout.Handling),
                noLine);
    if (layout.HandlingSpecial.Present)
        AddLine(plan, package::TKeyedLineKind::SpecialHandling,
                package::ReadCarTextPiece(stream, layout.HandlingSpecial), noLine);
    if (layout.Vehicles.Present)
        AddLine(plan, package::TKeyedLineKind::Vehicles, package::ReadCarTextPiece(stream, layout.Vehicles), noLine);
    if (layout.Carcols.Present)
        AddLine(plan, package::TKeyedLineKind::Carcols, package::ReadCarTextPiece(stream, layout.Carcols), noLine);
    return plan;
}

bool GivesAnything(const TImportFiles& files)
{
    for (const std::string& text : {fileio::PathToUtf8(files.DFF), fileio::PathToUtf8(files.TXD), files.Name,
                                    files.Handling, files.HandlingSpecial, files.Vehicles, files.Carcols})
        if (!package::IsBlank(text))
            return true;
    return false;
}

void CheckSourceFiles(const TImportFiles& files)
{
    if (!package::IsBlank(fileio::PathToUtf8(files.DFF)))
        CheckSourceFile(files.DFF, renderware::TRenderWareStream::Model);
    if (!package::IsBlank(fileio::PathToUtf8(files.TXD)))
        CheckSourceFile(files.TXD, renderware::TRenderWareStream::TextureDictionary);
}

TImportPlan ReadFilesSource(const TImportFiles& files, const gamedata::TVehicleRecord& target)
{
    TImportPlan plan;
    plan.SourceDescription = std::string(SeparateFilesSource);
    // An empty field is simply not given; one of blanks only is reported as skipped.
    const auto skipped = [&plan](std::string_view step, std::string_view text) {
        if (!text.empty())
            plan.SkippedSteps.push_back(std::string(step) + ": the field holds only blanks");
    };
    const auto archiveAdd = [&](const std::filesystem::path& file, renderware::TRenderWareStream kind,
                                std::string entryName, std::optional<TArchiveAdd>& slot, std::string_view step) {
        const std::string text = fileio::PathToUtf8(file);
        if (package::IsBlank(text))
            return skipped(step, text);
        CheckSourceFile(file, kind);
        slot = TArchiveAdd{std::move(entryName), file, {}};
    };
    archiveAdd(files.DFF, renderware::TRenderWareStream::Model, ModelEntryName(target), plan.Model, "model");
    archiveAdd(files.TXD, renderware::TRenderWareStream::TextureDictionary, TextureEntryName(target), plan.Texture,
               "texture dictionary");
    if (package::IsBlank(files.Name))
        skipped("display name", files.Name);
    else
        plan.Name = files.Name;
    const std::pair<package::TKeyedLineKind, const std::string*> lines[] = {
        {package::TKeyedLineKind::MainHandling, &files.Handling},
        {package::TKeyedLineKind::SpecialHandling, &files.HandlingSpecial},
        {package::TKeyedLineKind::Vehicles, &files.Vehicles},
        {package::TKeyedLineKind::Carcols, &files.Carcols},
    };
    for (const auto& [kind, text] : lines) {
        if (package::IsBlank(*text))
            skipped(KeyedLineKindName(kind), *text);
        else
            plan.Lines.push_back({kind, *text});
    }
    return plan;
}

} // namespace vehmira::engine
