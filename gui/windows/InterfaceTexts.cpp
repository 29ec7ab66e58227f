#include "gui/windows/InterfaceTexts.h"

#include "gui/framework/WideText.h"
#include "gui/windows/Language.h"

namespace {
std::wstring StreamTitle(const std::string& field)
{
    return InterfaceText(field == "DFF" ? TTextKey::DffStreamTitle : TTextKey::TxdStreamTitle);
}
} // namespace

void WriteSetting(TSettingsFile& settings, const std::filesystem::path& fileName, std::wstring_view section,
                  std::wstring_view key, std::wstring_view value)
{
    try {
        settings.WriteString(section, key, value);
    } catch (const std::exception&) {
        // Whatever stopped it (no access, a directory in the file's place), the user is told the same.
        throw TVehmiraError(InterfaceTextUtf8(TTextKey::SettingsNotWritten, {fileName.wstring()}));
    }
}

std::optional<std::string> FixedMessageFor(const TVehmiraError& error)
{
    if (error.Kind() == TErrorKind::NotGXTFile)
        return InterfaceTextUtf8(TTextKey::GxtFileError);
    return std::nullopt;
}

std::optional<std::string> ImportFailureMessage(const TVehmiraError& cause)
{
    const TErrorFacts& facts = cause.Facts();
    const std::wstring subject = Wide(facts.Subject);
    const std::wstring path = Wide(facts.Path);
    switch (cause.Kind()) {
    case TErrorKind::NotGXTFile:
        return InterfaceTextUtf8(TTextKey::GxtFileError);
    case TErrorKind::NotCarPackage:
        return InterfaceTextUtf8(TTextKey::InvalidCarFile);
    case TErrorKind::UnsupportedCarVersion:
        return InterfaceTextUtf8(TTextKey::UnsupportedCarFile);
    case TErrorKind::NoOpenArchive:
        return InterfaceTextUtf8(TTextKey::NoGameOpen);
    case TErrorKind::NoSuchVehicle:
        return InterfaceTextUtf8(TTextKey::NoSuchVehicle, {std::to_wstring(facts.Number)}) + ".";
    case TErrorKind::SourceMissing:
        return InterfaceTextUtf8(TTextKey::SourceMissing, {subject, path});
    case TErrorKind::SourceUnreadable:
        return InterfaceTextUtf8(TTextKey::SourceUnreadable, {subject, path});
    case TErrorKind::SourceNotRenderWare:
        if (facts.Path.empty())
            return InterfaceTextUtf8(TTextKey::PackagePieceNotRenderWare,
                                     {InterfaceText(facts.Subject == "DFF" ? TTextKey::PackageModel
                                                                           : TTextKey::PackageTextures),
                                      StreamTitle(facts.Subject)});
        return InterfaceTextUtf8(TTextKey::SourceNotRenderWare, {subject, path, StreamTitle(facts.Subject)});
    case TErrorKind::Failure:
        break;
    }
    return std::nullopt;
}
