#include "gui/wizard/ImportCheckText.h"

#include "gui/common/Language.h"
#include "gui/framework/WideText.h"
#include "renderware/LibraryVersion.h"

#include <array>

namespace vehmira::gui {

namespace {

using fileio::TCheckCode;

// The text of each code, in the order of TCheckCode.
constexpr std::array<TTextKey, 22> CodeTexts = {
    TTextKey::CheckUnreadableModel, TTextKey::CheckUnreadableTextures, TTextKey::CheckMissingFrame,
    TTextKey::CheckNoCollision,     TTextKey::CheckBadCollision,       TTextKey::CheckFrameNameTooLong,
    TTextKey::CheckUnsupportedVersion, TTextKey::CheckExtraWithoutAtomic, TTextKey::CheckConsoleData,
    TTextKey::CheckIdeFields,       TTextKey::CheckIdeType,            TTextKey::CheckHandlingMissing,
    TTextKey::CheckHandlingKind,    TTextKey::CheckHandlingFields,     TTextKey::CheckModelKind,
    TTextKey::CheckMissingTexture,  TTextKey::CheckNoDamagedParts,     TTextKey::CheckNoLowDetail,
    TTextKey::CheckMissingDummy,    TTextKey::CheckNoWheelAtomic,      TTextKey::CheckWheelSizeZero,
    TTextKey::CheckIdeFieldsGameLine};
static_assert(CodeTexts.size() == std::size_t(TCheckCode::IdeFieldsGameLine) + 1);

// The value a code's text names: a count, a version, or the subject (a frame, a texture, a line kind).
std::wstring ValueOf(const fileio::TCheckFinding& finding)
{
    switch (finding.Code) {
    case TCheckCode::IdeFields:
    case TCheckCode::IdeFieldsGameLine:
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

} // namespace

std::wstring CheckFindingText(const fileio::TCheckFinding& finding)
{
    return InterfaceText(CodeTexts[std::size_t(finding.Code)], {ValueOf(finding)});
}

std::wstring CheckVerdictText(const fileio::TCheckFindings& findings)
{
    if (findings.empty())
        return InterfaceText(TTextKey::CheckPassed);
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
