#include "gui/preview/PreviewTexts.h"

#include "gui/framework/WideText.h"
#include "gui/common/Language.h"

#include <vector>

namespace vehmira::gui {

namespace {

// Texture and frame names are the game's bytes.
std::wstring GameName(const std::string& name) { return framework::WideFromGameText(name); }

std::wstring NameList(const std::vector<std::string>& names)
{
    std::wstring text;
    for (const std::string& name : names)
        text += (text.empty() ? L"" : L", ") + GameName(name);
    return text;
}

std::wstring StreamText(const renderware::TLibraryVersion& version, renderware::TPlatform platform)
{
    return L"RenderWare " + framework::Wide(version.Text()) + L", " +
           framework::Wide(std::string(renderware::PlatformName(platform)));
}

std::wstring T(TTextKey key, std::initializer_list<std::wstring_view> values = {})
{
    return InterfaceText(key, values);
}

std::wstring PieceTitle(operations::TPreviewPiece piece)
{
    switch (piece) {
    case operations::TPreviewPiece::Model: return T(TTextKey::PreviewModelPiece);
    case operations::TPreviewPiece::Dictionary: return T(TTextKey::PreviewDictionaryPiece);
    case operations::TPreviewPiece::SharedDictionary: return T(TTextKey::PreviewSharedPiece);
    }
    return L"";
}

std::wstring ProblemText(operations::TPreviewSource source, const operations::TPreviewProblem& problem)
{
    const std::wstring piece = PieceTitle(problem.Piece);
    const std::wstring where = framework::Wide(problem.Where);
    switch (problem.Kind) {
    case operations::TPreviewProblemKind::Absent:
        if (source == operations::TPreviewSource::Package)
            return T(TTextKey::PieceAbsentInPackage, {piece});
        if (source == operations::TPreviewSource::GameArchive)
            return T(TTextKey::PieceAbsentInArchive, {piece, where});
        return T(TTextKey::PieceNotGiven, {piece});
    case operations::TPreviewProblemKind::NotFound: return T(TTextKey::PieceNotFound, {piece, where});
    case operations::TPreviewProblemKind::TooLarge:
        return T(TTextKey::PieceTooLarge, {piece, std::to_wstring(problem.Size)});
    case operations::TPreviewProblemKind::Unreadable: break;
    }
    return T(TTextKey::PieceUnreadable, {piece, framework::Wide(problem.Facts)});
}

void AppendLine(std::wstring& text, const std::wstring& line) { text += line + L"\r\n"; }

void AppendModel(std::wstring& text, const renderware::TModelSummary& model)
{
    AppendLine(text, T(TTextKey::SummaryModel, {StreamText(model.Version, model.Platform)}));
    AppendLine(text, T(TTextKey::SummaryFrames, {std::to_wstring(model.Frames.size())}));
    AppendLine(text, T(TTextKey::SummaryParts, {std::to_wstring(model.Atomics.size())}));
    for (const renderware::TAtomicSummary& atomic : model.Atomics) {
        std::wstring part = atomic.FrameName.empty() ? T(TTextKey::UnnamedPart) : GameName(atomic.FrameName);
        if (atomic.Variant == renderware::TPartVariant::Damaged)
            part = T(TTextKey::DamagedPart, {part});
        else if (atomic.Variant == renderware::TPartVariant::LowDetail)
            part = T(TTextKey::LowDetailPart, {part});
        AppendLine(text, L"   " + part);
    }
    AppendLine(text, T(TTextKey::SummaryGeometries, {std::to_wstring(model.Geometries.size())}));
    AppendLine(text, T(TTextKey::SummaryVertices, {std::to_wstring(model.TotalVertices)}));
    AppendLine(text, T(TTextKey::SummaryTriangles, {std::to_wstring(model.TotalTriangles)}));
    AppendLine(text, T(TTextKey::SummaryModelTextures, {NameList(model.TextureNames)}));
}

void AppendDictionaries(std::wstring& text, const operations::TVehiclePreview& preview)
{
    if (preview.Dictionary)
        AppendLine(text, T(TTextKey::SummaryDictionary,
                           {StreamText(preview.Dictionary->Version(), preview.Dictionary->Platform()),
                            std::to_wstring(preview.Dictionary->Textures().size())}));
    if (!preview.SharedDictionaryLookedFor)
        AppendLine(text, T(TTextKey::SharedNotLookedFor));
    else if (preview.SharedDictionary)
        AppendLine(text, T(TTextKey::SharedCount, {std::to_wstring(preview.SharedDictionary->Textures().size())}));
    else if (!preview.SharedDictionaryPresent)
        AppendLine(text, T(TTextKey::SharedAbsent));
}

std::wstring WarningText(const renderware::TCheckWarning& warning)
{
    switch (warning.Kind) {
    case renderware::TCheckWarningKind::PlatformMismatch:
        return T(TTextKey::WarnPlatforms, {framework::Wide(warning.Text)});
    case renderware::TCheckWarningKind::UnreadableVersion:
        return T(TTextKey::WarnVersion, {framework::Wide(warning.Text)});
    case renderware::TCheckWarningKind::UndecodableTexture:
        return T(TTextKey::WarnTexture, {GameName(warning.Subject)});
    }
    return framework::Wide(warning.Text);
}

void AppendCheck(std::wstring& text, const renderware::TTextureCheck& check)
{
    AppendLine(text, L"");
    AppendLine(text, T(TTextKey::CheckTitle));
    if (check.NotInOwnDictionary.empty())
        AppendLine(text, T(TTextKey::CheckAllOwn));
    else
        AppendLine(text, T(TTextKey::CheckNotOwn, {NameList(check.NotInOwnDictionary)}));
    if (check.SharedDictionaryChecked && !check.Missing.empty())
        AppendLine(text, T(TTextKey::CheckMissing, {NameList(check.Missing)}));
    else if (check.SharedDictionaryChecked && !check.NotInOwnDictionary.empty())
        AppendLine(text, T(TTextKey::CheckRestShared));
    else if (!check.SharedDictionaryChecked && !check.ExpectedFromShared.empty())
        AppendLine(text, T(TTextKey::CheckExpectedShared, {NameList(check.ExpectedFromShared)}));
    for (const renderware::TCheckWarning& warning : check.Warnings)
        AppendLine(text, T(TTextKey::CheckWarning, {WarningText(warning)}));
}

} // namespace

std::wstring PreviewSummaryText(const operations::TVehiclePreview& preview)
{
    std::wstring text;
    if (preview.Model)
        AppendModel(text, *preview.Model);
    if (preview.Model)
        AppendLine(text, L"");
    AppendDictionaries(text, preview);
    if (preview.Check)
        AppendCheck(text, *preview.Check);
    if (!preview.Problems.empty()) {
        AppendLine(text, L"");
        for (const operations::TPreviewProblem& problem : preview.Problems)
            AppendLine(text, ProblemText(preview.Source, problem));
    }
    return text;
}

std::wstring TextureCellName(const renderware::TTextureRecord& texture) { return GameName(texture.Name); }

std::wstring TextureCellSize(const renderware::TTextureRecord& texture)
{
    return std::to_wstring(texture.Width) + L" × " + std::to_wstring(texture.Height);
}

std::wstring TextureCellFormat(const renderware::TTextureRecord& texture)
{
    return texture.Decodable() ? framework::Wide(texture.FormatName)
                               : T(TTextKey::UnreadableFormat, {framework::Wide(texture.FormatName)});
}

} // namespace vehmira::gui
