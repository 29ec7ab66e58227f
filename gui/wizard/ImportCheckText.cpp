#include "gui/wizard/ImportCheckText.h"

#include "gamedata/AsciiCase.h"
#include "gui/common/Language.h"
#include "gui/framework/WideText.h"
#include "renderware/LibraryVersion.h"

#include <array>

namespace vehmira::gui {

namespace {

using fileio::TCheckCode;

// The text of each code, in the order of TCheckCode.
constexpr std::array<TTextKey, 32> CodeTexts = {
    TTextKey::CheckUnreadableModel, TTextKey::CheckUnreadableTextures, TTextKey::CheckMissingFrame,
    TTextKey::CheckNoCollision,     TTextKey::CheckBadCollision,       TTextKey::CheckFrameNameTooLong,
    TTextKey::CheckUnsupportedVersion, TTextKey::CheckExtraWithoutAtomic, TTextKey::CheckConsoleData,
    TTextKey::CheckIdeFields,       TTextKey::CheckIdeType,            TTextKey::CheckHandlingMissing,
    TTextKey::CheckHandlingKind,    TTextKey::CheckHandlingFields,     TTextKey::CheckModelKind,
    TTextKey::CheckMissingTexture,  TTextKey::CheckNoDamagedParts,     TTextKey::CheckNoLowDetail,
    TTextKey::CheckMissingDummy,    TTextKey::CheckNoWheelAtomic,      TTextKey::CheckWheelSizeZero,
    TTextKey::CheckGXTKeysUnsorted, TTextKey::CheckIdeFieldsGameLine, TTextKey::CheckMissingModel,
    TTextKey::CheckMissingTxd, TTextKey::CheckArchiveShadowed, TTextKey::CheckPaintjobLimit,
    TTextKey::CheckCarcolsUnknownModel, TTextKey::CheckCarcolsColourRange, TTextKey::CheckCarcolsTooMany,
    TTextKey::CheckCarmodsUnknownModel, TTextKey::CheckCarmodsUnknownPart};
static_assert(CodeTexts.size() == std::size_t(TCheckCode::CarmodsUnknownPart) + 1);

// The value a code's text names: a count, a version, or the subject (a frame, a texture, a line kind).
std::wstring ValueOf(const fileio::TCheckFinding& finding)
{
    switch (finding.Code) {
    case TCheckCode::IdeFields:
    case TCheckCode::IdeFieldsGameLine:
    case TCheckCode::PaintjobLimit:
    case TCheckCode::CarcolsColourRange:
    case TCheckCode::CarcolsTooMany:
    case TCheckCode::HandlingFields:
    case TCheckCode::WheelSizeZero: return std::to_wstring(finding.Facts.Number);
    case TCheckCode::UnsupportedVersion:
        return framework::Wide(renderware::TLibraryVersion{std::uint32_t(finding.Facts.Number)}.Text());
    default: return framework::WideFromGameText(finding.Facts.Subject);
    }
}

std::wstring Listed(const fileio::TCheckFindings& findings, bool errors)
{
    std::wstring text;
    for (const fileio::TCheckFinding& finding : findings)
        if (fileio::IsCheckError(finding.Code) == errors)
            text += L"\r\n" + CheckFindingText(finding);
    return text;
}

// A definition's type word (or the model check's kind) as the interface names it.
std::wstring VehicleKindWord(std::string_view type)
{
    static constexpr std::array<std::pair<std::string_view, TTextKey>, 10> Kinds{{
        {"car", TTextKey::VehicleKindCar},
        {"bike", TTextKey::VehicleKindBike},
        {"bmx", TTextKey::VehicleKindBmx},
        {"quad", TTextKey::VehicleKindQuad},
        {"mtruck", TTextKey::VehicleKindMonsterTruck},
        {"boat", TTextKey::VehicleKindBoat},
        {"heli", TTextKey::VehicleKindHeli},
        {"plane", TTextKey::VehicleKindPlane},
        {"trailer", TTextKey::VehicleKindTrailer},
        {"train", TTextKey::VehicleKindTrain},
    }};
    for (const auto& [word, key] : Kinds)
        if (gamedata::EqualsIgnoringAsciiCase(word, type))
            return InterfaceText(key);
    return framework::WideFromGameText(std::string(type));
}

} // namespace

std::optional<std::wstring> KindMismatchSentence(const fileio::TCheckFindings& findings, std::wstring_view targetName,
                                                 std::string_view targetType)
{
    for (const fileio::TCheckFinding& finding : findings)
        if (finding.Code == TCheckCode::ModelKind)
            return InterfaceText(TTextKey::KindMismatchSentence,
                                 {VehicleKindWord(finding.Facts.Subject), std::wstring(targetName),
                                  VehicleKindWord(targetType)});
    return std::nullopt;
}

std::wstring CheckFindingText(const fileio::TCheckFinding& finding)
{
    return InterfaceText(CodeTexts[std::size_t(finding.Code)], {ValueOf(finding)});
}

std::wstring CheckVerdictText(const fileio::TCheckFindings& findings, TTextKey passedText)
{
    if (findings.empty())
        return InterfaceText(passedText);
    std::wstring text = fileio::HasCheckErrors(findings) ? CheckErrorsText(findings) : std::wstring();
    const std::wstring warnings = Listed(findings, false);
    if (!warnings.empty())
        text += (text.empty() ? L"" : L"\r\n") + InterfaceText(TTextKey::CheckWarningsHeading) + warnings;
    return text;
}

std::wstring CheckErrorsText(const fileio::TCheckFindings& findings)
{
    return InterfaceText(TTextKey::CheckErrorsHeading) + Listed(findings, true);
}

} // namespace vehmira::gui
