#include "engine/ImportPlan.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "renderware/RootChunk.h"

#include <algorithm>

#include <array>

namespace {

std::string PieceTitle(TRenderWareStream stream)
{
    return stream == TRenderWareStream::Model ? "a RenderWare model (DFF)" : "a RenderWare texture dictionary (TXD)";
}

const char* FieldName(TRenderWareStream stream) { return stream == TRenderWareStream::Model ? "DFF" : "TXD"; }

void CheckPackagePiece(TStream& package, const TCarPiece& piece, TRenderWareStream stream)
{
    ByteBuffer first;
    if (piece.Length >= 4) {
        package.Seek(piece.Offset);
        first = package.ReadBytes(4);
    }
    if (!IsRootOf(stream, RootChunkType(first))) {
        const std::string what = stream == TRenderWareStream::Model ? "model" : "texture dictionary";
        throw TVehmiraError(TErrorKind::SourceNotRenderWare,
                            "The package's " + what + " piece is not " + PieceTitle(stream) + ".",
                            {.Path = {}, .Subject = FieldName(stream), .Number = 0});
    }
}

void CheckSourceFile(const std::filesystem::path& file, TRenderWareStream stream)
{
    const TErrorFacts facts{.Path = PathToUtf8(file), .Subject = FieldName(stream), .Number = 0};
    const std::string name = std::string(FieldName(stream)) + " file \"" + facts.Path + "\"";
    if (!FileExists(file))
        throw TVehmiraError(TErrorKind::SourceMissing, "The " + name + " does not exist.", facts);
    ByteBuffer first;
    try {
        TFileStream source(file, TFileAccess::Read);
        first = source.ReadBytes(std::min<std::uint64_t>(source.Size(), 4));
    } catch (const std::exception& error) {
        throw TVehmiraError(TErrorKind::SourceUnreadable, "The " + name + " cannot be read. " + error.what(), facts);
    }
    if (!IsRootOf(stream, RootChunkType(first)))
        throw TVehmiraError(TErrorKind::SourceNotRenderWare, "The " + name + " is not " + PieceTitle(stream) + ".",
                            facts);
}

// A handling or colour piece with no field text would reduce the target's line to its key: its step is skipped.
void AddLine(TImportPlan& plan, TKeyedLineKind kind, std::string text, std::string_view whyEmpty)
{
    if (kind != TKeyedLineKind::Vehicles && IsBlank(text)) {
        plan.SkippedSteps.push_back(std::string(KeyedLineKindName(kind)) + ": " + std::string(whyEmpty));
        return;
    }
    plan.Lines.push_back({kind, std::move(text)});
}

} // namespace

bool IsBlank(std::string_view text)
{
    for (const char c : text)
        if (std::uint8_t(c) > 32)
            return false;
    return true;
}

TImportPlan ReadPackageSource(const std::filesystem::path& package, const TVehicleRecord& target)
{
    TImportPlan plan;
    plan.SourceDescription = PathToUtf8(package);
    plan.Package = std::make_unique<TFileStream>(package, TFileAccess::Read);
    TStream& stream = *plan.Package;
    const TCarLayout layout = ReadCarLayout(stream);

    if (layout.DFF.Present) {
        CheckPackagePiece(stream, layout.DFF, TRenderWareStream::Model);
        plan.Model = TArchiveAdd{target.ModelName + ".DFF", {}, layout.DFF};
    }
    if (layout.TXD.Present) {
        CheckPackagePiece(stream, layout.TXD, TRenderWareStream::TextureDictionary);
        plan.Texture = TArchiveAdd{target.TxdName + ".TXD", {}, layout.TXD};
    }
    if (layout.GXT.Present)
        plan.Name = ReadCarTextPiece(stream, layout.GXT);
    const std::string_view noLine = "the package holds no line";
    if (layout.Handling.Present)
        AddLine(plan, TKeyedLineKind::MainHandling, ReadCarTextPiece(stream, layout.Handling), noLine);
    if (layout.HandlingSpecial.Present)
        AddLine(plan, TKeyedLineKind::SpecialHandling, ReadCarTextPiece(stream, layout.HandlingSpecial), noLine);
    if (layout.Vehicles.Present)
        AddLine(plan, TKeyedLineKind::Vehicles, ReadCarTextPiece(stream, layout.Vehicles), noLine);
    if (layout.Carcols.Present)
        AddLine(plan, TKeyedLineKind::Carcols, ReadCarTextPiece(stream, layout.Carcols), noLine);
    return plan;
}

TImportPlan ReadFilesSource(const TImportFiles& files, const TVehicleRecord& target)
{
    TImportPlan plan;
    plan.SourceDescription = "separate files";
    // An empty field is simply not given; one of blanks only is reported as skipped.
    const auto skipped = [&plan](std::string_view step, std::string_view text) {
        if (!text.empty())
            plan.SkippedSteps.push_back(std::string(step) + ": the field holds only blanks");
    };
    const auto archiveAdd = [&](const std::filesystem::path& file, TRenderWareStream kind, std::string entryName,
                                std::optional<TArchiveAdd>& slot, std::string_view step) {
        const std::string text = PathToUtf8(file);
        if (IsBlank(text))
            return skipped(step, text);
        CheckSourceFile(file, kind);
        slot = TArchiveAdd{std::move(entryName), file, {}};
    };
    archiveAdd(files.DFF, TRenderWareStream::Model, target.ModelName + ".DFF", plan.Model, "model");
    archiveAdd(files.TXD, TRenderWareStream::TextureDictionary, target.TxdName + ".TXD", plan.Texture, "texture dictionary");
    if (IsBlank(files.Name))
        skipped("display name", files.Name);
    else
        plan.Name = files.Name;
    const std::pair<TKeyedLineKind, const std::string*> lines[] = {
        {TKeyedLineKind::MainHandling, &files.Handling},
        {TKeyedLineKind::SpecialHandling, &files.HandlingSpecial},
        {TKeyedLineKind::Vehicles, &files.Vehicles},
        {TKeyedLineKind::Carcols, &files.Carcols},
    };
    for (const auto& [kind, text] : lines) {
        if (IsBlank(*text))
            skipped(KeyedLineKindName(kind), *text);
        else
            plan.Lines.push_back({kind, *text});
    }
    return plan;
}
