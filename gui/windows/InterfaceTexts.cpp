#include "gui/windows/InterfaceTexts.h"

namespace {
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string StreamTitle(const std::string& field)
{
    return field == "DFF" ? "моделью RenderWare (DFF)" : "словарём текстур RenderWare (TXD)";
}
} // namespace

std::optional<std::string> FixedMessageFor(const TVehmiraError& error)
{
    if (error.Kind() == TErrorKind::NotGXTFile)
        return GXTFileErrorText;
    return std::nullopt;
}

std::optional<std::string> ImportFailureMessage(const TVehmiraError& cause)
{
    const TErrorFacts& facts = cause.Facts();
    switch (cause.Kind()) {
    case TErrorKind::NotGXTFile:
        return GXTFileErrorText;
    case TErrorKind::NotCarPackage:
        return "  Ungültige CAR-Datei!!";
    case TErrorKind::UnsupportedCarVersion:
        return "  CAR-Datei nicht unterstützt!!";
    case TErrorKind::NoOpenArchive:
        return NoGameOpenText;
    case TErrorKind::NoSuchVehicle:
        return "Транспортное средство с ID " + std::to_string(facts.Number) + " не найдено в Data\\Vehicles.ide.";
    case TErrorKind::SourceMissing:
        return facts.Subject + "-файл " + Quoted(facts.Path) + " не найден.";
    case TErrorKind::SourceUnreadable:
        return facts.Subject + "-файл " + Quoted(facts.Path) + " не удаётся прочитать.";
    case TErrorKind::SourceNotRenderWare:
        if (facts.Path.empty())
            return std::string(facts.Subject == "DFF" ? "Модель" : "Словарь текстур") + " в пакете не является " +
                   StreamTitle(facts.Subject) + ".";
        return facts.Subject + "-файл " + Quoted(facts.Path) + " не является " + StreamTitle(facts.Subject) + ".";
    case TErrorKind::TooLarge:
        return (facts.Path.empty() ? std::string("Часть пакета") : "Файл " + Quoted(facts.Path)) + " слишком велик: " +
               std::to_string(facts.Number) + " байт.";
    case TErrorKind::Failure:
        break;
    }
    return std::nullopt;
}
