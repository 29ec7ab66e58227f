#include "cli/PreviewText.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"

#include <string>
#include <vector>

namespace vehmira::cli {

namespace {

const char* PieceName(operations::TPreviewPiece piece)
{
    switch (piece) {
    case operations::TPreviewPiece::Model: return "model";
    case operations::TPreviewPiece::Dictionary: return "texture dictionary";
    case operations::TPreviewPiece::SharedDictionary: return "shared dictionary";
    }
    return "piece";
}

const char* VariantName(renderware::TPartVariant variant)
{
    switch (variant) {
    case renderware::TPartVariant::Damaged: return "damaged";
    case renderware::TPartVariant::LowDetail: return "low detail";
    case renderware::TPartVariant::Normal: break;
    }
    return "normal";
}

const char* WarningKindName(renderware::TCheckWarningKind kind)
{
    switch (kind) {
    case renderware::TCheckWarningKind::PlatformMismatch: return "platform_mismatch";
    case renderware::TCheckWarningKind::UnreadableVersion: return "unreadable_version";
    case renderware::TCheckWarningKind::UndecodableTexture: return "undecodable_texture";
    }
    return "other";
}

const char* ProblemKindName(operations::TPreviewProblemKind kind)
{
    switch (kind) {
    case operations::TPreviewProblemKind::Absent: return "absent";
    case operations::TPreviewProblemKind::NotFound: return "not_found";
    case operations::TPreviewProblemKind::TooLarge: return "too_large";
    case operations::TPreviewProblemKind::Unreadable: return "unreadable";
    }
    return "other";
}

std::string AbsentText(const operations::TPreviewProblem& problem, operations::TPreviewSource source)
{
    switch (source) {
    case operations::TPreviewSource::Package: return "the package holds none";
    case operations::TPreviewSource::GameArchive: return "the archive has no entry " + problem.Where;
    case operations::TPreviewSource::Files: break;
    }
    return "not given";
}

std::string CommaList(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + MessageToUtf8(name);
    return text.empty() ? "none" : text;
}

std::string JsonNames(const std::vector<std::string>& names)
{
    std::string text = "[";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : ", ") + JsonString(MessageToUtf8(names[i]));
    return text + "]";
}

std::string StreamText(const renderware::TLibraryVersion& version, renderware::TPlatform platform)
{
    return "RenderWare " + version.Text() + ", " + std::string(renderware::PlatformName(platform));
}

void PrintTextures(std::ostream& out, const renderware::TTextureDictionary& dictionary)
{
    out << "texture dictionary: " << StreamText(dictionary.Version(), dictionary.Platform()) << '\n'
        << "textures: " << dictionary.Textures().size() << '\n';
    for (const renderware::TTextureRecord& texture : dictionary.Textures()) {
        out << "texture: " << MessageToUtf8(texture.Name) << ' ' << texture.Width << 'x' << texture.Height << ' '
            << texture.FormatName;
        if (texture.IgnoredByGame)
            out << " (past the declared count: the game never loads it)";
        if (!texture.Decodable())
            out << " (cannot be read: " << MessageToUtf8(texture.Problem) << ')';
        out << '\n';
    }
}

void PrintModel(std::ostream& out, const renderware::TModelSummary& model)
{
    out << "model: " << StreamText(model.Version, model.Platform) << '\n' << "frames: " << model.Frames.size() << '\n';
    out << "atomics: " << model.Atomics.size() << '\n';
    for (const renderware::TAtomicSummary& atomic : model.Atomics) {
        out << "atomic: " << (atomic.FrameName.empty() ? "(unnamed)" : MessageToUtf8(atomic.FrameName)) << " (frame "
            << atomic.FrameIndex << ", geometry " << atomic.GeometryIndex;
        if (atomic.Variant != renderware::TPartVariant::Normal)
            out << ", " << VariantName(atomic.Variant);
        out << ")\n";
    }
    out << "geometries: " << model.Geometries.size() << "\nvertices: " << model.TotalVertices
        << "\ntriangles: " << model.TotalTriangles << "\ntexture names: " << CommaList(model.TextureNames) << '\n';
}

void PrintSharedDictionary(std::ostream& out, const operations::TVehiclePreview& preview)
{
    if (!preview.SharedDictionaryLookedFor)
        return;
    out << "shared dictionary: ";
    if (preview.SharedDictionary)
        out << StreamText(preview.SharedDictionary->Version(), preview.SharedDictionary->Platform()) << ", "
            << preview.SharedDictionary->Textures().size() << " textures\n";
    else
        out << (preview.SharedDictionaryPresent ? "unreadable" : "none in the game") << '\n';
}

void PrintCheck(std::ostream& out, const renderware::TTextureCheck& check)
{
    out << "not in own dictionary: " << CommaList(check.NotInOwnDictionary) << '\n';
    if (check.SharedDictionaryChecked)
        out << "missing textures: " << CommaList(check.Missing) << '\n';
    else if (!check.ExpectedFromShared.empty())
        out << "expected from the shared dictionary (not checked, give --game): "
            << CommaList(check.ExpectedFromShared) << '\n';
    for (const renderware::TCheckWarning& warning : check.Warnings)
        out << "warning: " << MessageToUtf8(warning.Text) << '\n';
}

void PrintJsonTextures(std::ostream& out, const renderware::TTextureDictionary& dictionary)
{
    out << ",\n  \"dictionary\": {\"version\": " << JsonString(dictionary.Version().Text())
        << ", \"platform\": " << JsonString(std::string(renderware::PlatformName(dictionary.Platform()))) << '}'
        << ",\n  \"textures\": [";
    const auto& textures = dictionary.Textures();
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const renderware::TTextureRecord& texture = textures[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"name\": " << JsonString(MessageToUtf8(texture.Name))
            << ", \"width\": " << texture.Width << ", \"height\": " << texture.Height
            << ", \"format\": " << JsonString(texture.FormatName)
            << ", \"readable\": " << (texture.Decodable() ? "true" : "false")
            << ", \"loaded_by_game\": " << (texture.IgnoredByGame ? "false" : "true") << '}';
    }
    out << (textures.empty() ? "]" : "\n  ]");
}

void PrintJsonModel(std::ostream& out, const renderware::TModelSummary& model)
{
    out << ",\n  \"model\": {\"version\": " << JsonString(model.Version.Text())
        << ", \"platform\": " << JsonString(std::string(renderware::PlatformName(model.Platform))) << ", \"frames\": [";
    for (std::size_t i = 0; i < model.Frames.size(); ++i)
        out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(MessageToUtf8(model.Frames[i].Name))
            << ", \"parent\": " << model.Frames[i].Parent << '}';
    out << "], \"atomics\": [";
    for (std::size_t i = 0; i < model.Atomics.size(); ++i) {
        const renderware::TAtomicSummary& atomic = model.Atomics[i];
        out << (i == 0 ? "" : ", ") << "{\"frame\": " << atomic.FrameIndex
            << ", \"frame_name\": " << JsonString(MessageToUtf8(atomic.FrameName))
            << ", \"geometry\": " << atomic.GeometryIndex
            << ", \"variant\": " << JsonString(VariantName(atomic.Variant)) << '}';
    }
    out << "], \"geometries\": " << model.Geometries.size() << ", \"vertices\": " << model.TotalVertices
        << ", \"triangles\": " << model.TotalTriangles << ", \"texture_names\": " << JsonNames(model.TextureNames)
        << '}';
}

void PrintJsonCheck(std::ostream& out, const operations::TVehiclePreview& preview,
                    const renderware::TTextureCheck& check)
{
    out << ",\n  \"not_in_own_dictionary\": " << JsonNames(check.NotInOwnDictionary);
    if (preview.SharedDictionaryLookedFor && check.SharedDictionaryChecked)
        out << ",\n  \"missing_textures\": " << JsonNames(check.Missing);
    if (!check.SharedDictionaryChecked)
        out << ",\n  \"expected_from_shared\": " << JsonNames(check.ExpectedFromShared);
    out << ",\n  \"warnings\": [";
    for (std::size_t i = 0; i < check.Warnings.size(); ++i)
        out << (i == 0 ? "" : ", ") << "{\"kind\": " << JsonString(WarningKindName(check.Warnings[i].Kind))
            << ", \"subject\": " << JsonString(MessageToUtf8(check.Warnings[i].Subject))
            << ", \"text\": " << JsonString(MessageToUtf8(check.Warnings[i].Text)) << '}';
    out << ']';
}

} // namespace

std::string PreviewProblemText(const operations::TPreviewProblem& problem, operations::TPreviewSource source)
{
    const std::string piece = std::string(PieceName(problem.Piece)) + ": ";
    const std::string facts = MessageToUtf8(problem.Facts);
    const std::string where = MessageToUtf8(problem.Where);
    switch (problem.Kind) {
    case operations::TPreviewProblemKind::Absent: return piece + AbsentText(problem, source);
    case operations::TPreviewProblemKind::NotFound: return piece + where + " does not exist";
    case operations::TPreviewProblemKind::TooLarge:
        return piece + where + " takes " + std::to_string(problem.Size) + " bytes, more than the " +
               std::to_string(operations::MaxPreviewPieceSize / (1024 * 1024)) + " MiB a preview reads";
    case operations::TPreviewProblemKind::Unreadable: break;
    }
    // A reader's own description starts with the piece already.
    return facts.starts_with(piece) ? facts : piece + facts;
}

void PrintPreviewText(std::ostream& out, const operations::TVehiclePreview& preview,
                      bool (*failsTheCommand)(const operations::TPreviewProblem&))
{
    if (preview.Dictionary)
        PrintTextures(out, *preview.Dictionary);
    if (preview.Model)
        PrintModel(out, *preview.Model);
    PrintSharedDictionary(out, preview);
    if (preview.Check)
        PrintCheck(out, *preview.Check);
    for (const operations::TPreviewProblem& problem : preview.Problems)
        if (!failsTheCommand || !failsTheCommand(problem))
            out << "problem: " << PreviewProblemText(problem, preview.Source) << '\n';
}

void PrintPreviewJsonKeys(std::ostream& out, const operations::TVehiclePreview& preview)
{
    if (preview.Dictionary)
        PrintJsonTextures(out, *preview.Dictionary);
    if (preview.Model)
        PrintJsonModel(out, *preview.Model);
    if (preview.SharedDictionaryLookedFor) {
        out << ",\n  \"shared_dictionary\": {\"present\": " << (preview.SharedDictionaryPresent ? "true" : "false");
        if (preview.SharedDictionary)
            out << ", \"version\": " << JsonString(preview.SharedDictionary->Version().Text())
                << ", \"textures\": " << preview.SharedDictionary->Textures().size();
        out << '}';
    }
    if (preview.Check)
        PrintJsonCheck(out, preview, *preview.Check);
    out << ",\n  \"problems\": [";
    for (std::size_t i = 0; i < preview.Problems.size(); ++i) {
        const operations::TPreviewProblem& problem = preview.Problems[i];
        out << (i == 0 ? "" : ", ") << "{\"piece\": " << JsonString(PieceName(problem.Piece))
            << ", \"kind\": " << JsonString(ProblemKindName(problem.Kind))
            << ", \"text\": " << JsonString(PreviewProblemText(problem, preview.Source)) << '}';
    }
    out << ']';
}

} // namespace vehmira::cli
