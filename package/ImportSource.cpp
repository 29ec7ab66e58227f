#include "package/ImportPlan.h"

#include "fileio/FileSystem.h"

#include <array>

namespace {

constexpr std::uint32_t RwClump = 0x10;
constexpr std::uint32_t RwUVAnimDictionary = 0x2B; // may stand before the clump of a model
constexpr std::uint32_t RwTextureDictionary = 0x16;

enum class TArchivePieceKind { Model, Texture };

// Only the root chunk type is checked: real files carry chunk sizes that
// overrun the file, extra chunks and sector fill.
bool IsRenderWareRoot(TArchivePieceKind kind, std::uint32_t chunkType)
{
    if (kind == TArchivePieceKind::Model)
        return chunkType == RwClump || chunkType == RwUVAnimDictionary;
    return chunkType == RwTextureDictionary;
}

std::string PieceTitle(TArchivePieceKind kind)
{
    return kind == TArchivePieceKind::Model ? "a RenderWare model (DFF)" : "a RenderWare texture dictionary (TXD)";
}

// The window shows the user message in Russian like the program's other texts;
// the command line prints the English cause beside it.
std::string RussianPieceTitle(TArchivePieceKind kind)
{
    return kind == TArchivePieceKind::Model ? "моделью RenderWare (DFF)" : "словарём текстур RenderWare (TXD)";
}

void CheckPackagePiece(TStream& package, const TCarPiece& piece, TArchivePieceKind kind)
{
    std::uint32_t chunkType = 0xFFFFFFFF;
    if (piece.Length >= 4) {
        package.Seek(piece.Offset);
        chunkType = LoadU32LE(std::span<const std::uint8_t>(package.ReadBytes(4)).first<4>());
    }
    if (!IsRenderWareRoot(kind, chunkType)) {
        const std::string what = kind == TArchivePieceKind::Model ? "model" : "texture dictionary";
        const std::string russianWhat = kind == TArchivePieceKind::Model ? "Модель" : "Словарь текстур";
        throw TImportError(russianWhat + " в пакете не является " + RussianPieceTitle(kind) + ".",
                           "The package's " + what + " piece is not " + PieceTitle(kind) + ".");
    }
}

void CheckSourceFile(const std::filesystem::path& file, TArchivePieceKind kind)
{
    const std::string field = kind == TArchivePieceKind::Model ? "DFF" : "TXD";
    std::string name = "\"";
    name += PathToUtf8(file);
    name += '"';
    if (!FileExists(file))
        throw TImportError(field + "-файл " + name + " не найден.", "The " + field + " file " + name + " does not exist.");
    std::uint32_t chunkType = 0xFFFFFFFF;
    try {
        TFileStream stream(file, TFileAccess::Read);
        if (stream.Size() >= 4)
            chunkType = LoadU32LE(std::span<const std::uint8_t>(stream.ReadBytes(4)).first<4>());
    } catch (const std::exception& error) {
        throw TImportError(field + "-файл " + name + " не удаётся прочитать.",
                           "The " + field + " file " + name + " cannot be read. " + error.what());
    }
    if (!IsRenderWareRoot(kind, chunkType))
        throw TImportError(field + "-файл " + name + " не является " + RussianPieceTitle(kind) + ".",
                           "The " + field + " file " + name + " is not " + PieceTitle(kind) + ".");
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
        CheckPackagePiece(stream, layout.DFF, TArchivePieceKind::Model);
        plan.Model = TArchiveAdd{target.ModelName + ".DFF", {}, layout.DFF};
    }
    if (layout.TXD.Present) {
        CheckPackagePiece(stream, layout.TXD, TArchivePieceKind::Texture);
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
    const auto archiveAdd = [&](const std::filesystem::path& file, TArchivePieceKind kind, std::string entryName,
                                std::optional<TArchiveAdd>& slot, std::string_view step) {
        const std::string text = PathToUtf8(file);
        if (IsBlank(text))
            return skipped(step, text);
        CheckSourceFile(file, kind);
        slot = TArchiveAdd{std::move(entryName), file, {}};
    };
    archiveAdd(files.DFF, TArchivePieceKind::Model, target.ModelName + ".DFF", plan.Model, "model");
    archiveAdd(files.TXD, TArchivePieceKind::Texture, target.TxdName + ".TXD", plan.Texture, "texture dictionary");
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
