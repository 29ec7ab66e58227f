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

std::string ArchiveCheckText(const TArchiveLayout& layout)
{
    std::string text = "Проверка архива Models\\GTA3.img\n\n";
    const auto line = [&text](const char* label, std::uint64_t value) {
        text += std::string(label) + ": " + std::to_string(value) + "\n";
    };
    line("Записей", layout.EntryCount);
    line("Соседних пар, которые игра читает вместе", layout.ChainPairs);
    line("Из них игра прочитает неверно", layout.MisreadPairs.size());
    line("Неиспользуемых байт между данными", layout.HoleBytes);
    line("Перекрывающихся записей", layout.OverlappingEntries.size());
    line("Записей за концом файла", layout.PastEndEntries.size());
    line("Записей с недописанным последним сектором", layout.ShortTailEntries.size());
    line("Повторяющихся имён", layout.DuplicateNames.size());
    line("Имён без завершающего нуля", layout.UnterminatedNames.size());
    text += "\n";
    if (!layout.CanRebuild())
        text += "Архив повреждён: данные записей перекрываются или выходят за конец файла.";
    else if (!layout.ReadsCorrectly())
        text += "Игра прочитает неверно: " + DescribeMisreadPairs(layout) +
                ". Исправьте это командой «Перестроить архив».";
    else
        text += "Архив в порядке: игра прочитает все записи верно.";
    return text;
}

std::string MisreadArchiveQuestion(const TArchiveLayout& layout)
{
    return "В архиве Models\\GTA3.img " + std::to_string(layout.MisreadPairs.size()) +
           " пар(ы) соседних записей лежат не подряд (" + DescribeMisreadPairs(layout) +
           "), и игра прочитает их неверно. Так бывает после других программ.\n\nПерестроить архив сейчас?";
}
