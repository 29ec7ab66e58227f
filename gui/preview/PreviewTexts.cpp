#include "gui/preview/PreviewTexts.h"

#include "gui/framework/WideText.h"

#include <vector>

namespace {

// Texture and frame names are the game's bytes.
std::wstring GameName(const std::string& name) { return WideFromGameText(name); }

std::wstring NameList(const std::vector<std::string>& names)
{
    std::wstring text;
    for (const std::string& name : names)
        text += (text.empty() ? L"" : L", ") + GameName(name);
    return text;
}

std::wstring StreamText(const Rw::TLibraryVersion& version, Rw::TPlatform platform)
{
    return L"RenderWare " + Wide(version.Text()) + L", " + Wide(std::string(Rw::PlatformName(platform)));
}

const wchar_t* PieceTitle(TPreviewPiece piece)
{
    switch (piece) {
    case TPreviewPiece::Model: return L"Модель";
    case TPreviewPiece::Dictionary: return L"Словарь текстур";
    case TPreviewPiece::SharedDictionary: return L"Общий словарь Vehicle.txd";
    }
    return L"";
}

std::wstring AbsentText(TPreviewSource source, const TPreviewProblem& problem)
{
    switch (source) {
    case TPreviewSource::Package: return L"в пакете нет.";
    case TPreviewSource::GameArchive: return L"в архиве нет файла " + Wide(problem.Where) + L".";
    case TPreviewSource::Files: break;
    }
    return L"файл не указан.";
}

std::wstring ProblemText(TPreviewSource source, const TPreviewProblem& problem)
{
    const std::wstring where = L"\"" + Wide(problem.Where) + L"\"";
    std::wstring text = std::wstring(PieceTitle(problem.Piece)) + L": ";
    switch (problem.Kind) {
    case TPreviewProblemKind::Absent: return text + AbsentText(source, problem);
    case TPreviewProblemKind::NotFound: return text + L"файл " + where + L" не найден.";
    case TPreviewProblemKind::TooLarge:
        return text + L"слишком велик (" + std::to_wstring(problem.Size) + L" байт), не показан.";
    case TPreviewProblemKind::Unreadable: break;
    }
    return text + L"не удаётся прочитать (" + Wide(problem.Facts) + L").";
}

void AppendLine(std::wstring& text, const std::wstring& line) { text += line + L"\r\n"; }

void AppendModel(std::wstring& text, const Rw::TModelSummary& model)
{
    AppendLine(text, L"Модель: " + StreamText(model.Version, model.Platform));
    AppendLine(text, L"Фреймы: " + std::to_wstring(model.Frames.size()));
    AppendLine(text, L"Части: " + std::to_wstring(model.Atomics.size()));
    for (const Rw::TAtomicSummary& atomic : model.Atomics) {
        std::wstring line = L"   " + (atomic.FrameName.empty() ? L"(без имени)" : GameName(atomic.FrameName));
        if (atomic.Variant == Rw::TPartVariant::Damaged)
            line += L" (повреждённая)";
        else if (atomic.Variant == Rw::TPartVariant::LowDetail)
            line += L" (упрощённая)";
        AppendLine(text, line);
    }
    AppendLine(text, L"Геометрии: " + std::to_wstring(model.Geometries.size()));
    AppendLine(text, L"Вершины: " + std::to_wstring(model.TotalVertices));
    AppendLine(text, L"Треугольники: " + std::to_wstring(model.TotalTriangles));
    AppendLine(text, L"Текстуры модели: " + NameList(model.TextureNames));
}

void AppendDictionaries(std::wstring& text, const TVehiclePreview& preview)
{
    if (preview.Dictionary)
        AppendLine(text, L"Словарь текстур: " +
                             StreamText(preview.Dictionary->Version(), preview.Dictionary->Platform()) +
                             L", текстур: " + std::to_wstring(preview.Dictionary->Textures().size()));
    if (!preview.SharedDictionaryLookedFor)
        AppendLine(text, L"Общий словарь Vehicle.txd: не проверялся (каталог игры не открыт)");
    else if (preview.SharedDictionary)
        AppendLine(text, L"Общий словарь Vehicle.txd: текстур: " +
                             std::to_wstring(preview.SharedDictionary->Textures().size()));
    else if (!preview.SharedDictionaryPresent)
        AppendLine(text, L"Общий словарь Vehicle.txd: в игре нет");
}

std::wstring WarningText(const Rw::TCheckWarning& warning)
{
    switch (warning.Kind) {
    case Rw::TCheckWarningKind::PlatformMismatch:
        return L"Модель и словарь сделаны для разных платформ (" + Wide(warning.Text) + L").";
    case Rw::TCheckWarningKind::UnreadableVersion:
        return L"Игра не прочитает эту версию RenderWare (" + Wide(warning.Text) + L").";
    case Rw::TCheckWarningKind::UndecodableTexture:
        return L"Текстуру " + GameName(warning.Subject) + L" не удаётся прочитать.";
    }
    return Wide(warning.Text);
}

void AppendCheck(std::wstring& text, const Rw::TTextureCheck& check)
{
    AppendLine(text, L"");
    AppendLine(text, L"Проверка текстур:");
    if (check.NotInOwnDictionary.empty())
        AppendLine(text, L"Все текстуры модели есть в её словаре.");
    else
        AppendLine(text, L"Нет в своём словаре: " + NameList(check.NotInOwnDictionary));
    if (check.SharedDictionaryChecked && !check.Missing.empty())
        AppendLine(text, L"Не найдены нигде: " + NameList(check.Missing));
    else if (check.SharedDictionaryChecked && !check.NotInOwnDictionary.empty())
        AppendLine(text, L"Остальные найдены в общем словаре.");
    else if (!check.SharedDictionaryChecked && !check.ExpectedFromShared.empty())
        AppendLine(text, L"Должны быть в общем словаре (не проверено): " + NameList(check.ExpectedFromShared));
    for (const Rw::TCheckWarning& warning : check.Warnings)
        AppendLine(text, L"Внимание: " + WarningText(warning));
}

} // namespace

std::wstring PreviewSummaryText(const TVehiclePreview& preview)
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
        for (const TPreviewProblem& problem : preview.Problems)
            AppendLine(text, ProblemText(preview.Source, problem));
    }
    return text;
}

std::wstring TextureCellName(const Rw::TTextureRecord& texture)
{
    return GameName(texture.Name);
}

std::wstring TextureCellSize(const Rw::TTextureRecord& texture)
{
    return std::to_wstring(texture.Width) + L" × " + std::to_wstring(texture.Height);
}

std::wstring TextureCellFormat(const Rw::TTextureRecord& texture)
{
    return texture.Decodable() ? Wide(texture.FormatName) : Wide(texture.FormatName) + L", не читается";
}
