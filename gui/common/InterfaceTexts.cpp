#include "gui/common/InterfaceTexts.h"

#include "engine/Journal.h"
#include "engine/JournalDamage.h"
#include "engine/KeyedLines.h"
#include "gui/framework/WideText.h"
#include "gui/common/Language.h"

namespace vehmira::gui {

namespace {
std::wstring StreamTitle(const std::string& field)
{
    return InterfaceText(field == "DFF" ? TTextKey::DffStreamTitle : TTextKey::TxdStreamTitle);
}

// The core names a typed line by its kind's name; the window in its own words.
std::wstring TypedLineTitle(const std::string& subject)
{
    using package::TKeyedLineKind;
    const std::pair<TKeyedLineKind, TTextKey> titles[] = {
        {TKeyedLineKind::MainHandling, TTextKey::MainHandlingLineTitle},
        {TKeyedLineKind::SpecialHandling, TTextKey::SpecialHandlingLineTitle},
        {TKeyedLineKind::Vehicles, TTextKey::VehiclesLineTitle},
        {TKeyedLineKind::Carcols, TTextKey::CarcolsLineTitle}};
    for (const auto& [kind, key] : titles)
        if (package::KeyedLineKindName(kind) == subject)
            return InterfaceText(key);
    return framework::Wide(subject);
}

// What is wrong with a journal that recovery or undo refused.
std::wstring JournalDamageText(const fileio::TErrorFacts& facts)
{
    namespace damage = engine::JournalDamage;
    const std::pair<std::string_view, TTextKey> reasons[] = {
        {damage::UnreadableManifest, TTextKey::JournalManifestUnreadable},
        {damage::DamagedCopy, TTextKey::JournalCopyDamaged},
        {damage::ForeignArchive, TTextKey::JournalForeignArchive},
        {damage::ArchiveLonger, TTextKey::JournalArchiveLonger},
        {damage::ArchiveCut, TTextKey::JournalArchiveCut},
        {damage::FileIsArchive, TTextKey::JournalFileIsArchive},
        {damage::FileInJournal, TTextKey::JournalFileInJournal},
        {damage::FileNotImported, TTextKey::JournalFileNotImported},
        {damage::FileThroughLink, TTextKey::JournalFileThroughLink}};
    const bool givesLength = facts.Subject == damage::ArchiveLonger || facts.Subject == damage::ArchiveCut;
    const std::wstring value = givesLength ? std::to_wstring(facts.Number) : framework::Wide(facts.Text);
    for (const auto& [reason, key] : reasons)
        if (reason == facts.Subject)
            return InterfaceText(key, {value});
    return framework::Wide(facts.Subject);
}

// A line of the game's bytes as the window shows it, the text after a zero byte kept.
std::wstring ShownLine(const std::string& line) { return framework::WideFromGameText(package::LineTextShown(line)); }
} // namespace

void WriteSetting(framework::TSettingsFile& settings, const std::filesystem::path& fileName, std::wstring_view section,
                  std::wstring_view key, std::wstring_view value)
{
    try {
        settings.WriteString(section, key, value);
    } catch (const std::exception&) {
        // Whatever stopped it (no access, a directory in the file's place), the user is told the same.
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::SettingsNotWritten, {fileName.wstring()}));
    }
}

std::optional<std::string> FixedMessageFor(const fileio::TVehmiraError& error)
{
    if (error.Kind() == fileio::TErrorKind::NotGXTFile)
        return InterfaceTextUtf8(TTextKey::GxtFileError);
    return std::nullopt;
}

std::optional<std::string> WordedErrorMessage(const fileio::TVehmiraError& cause)
{
    const fileio::TErrorFacts& facts = cause.Facts();
    const std::wstring subject = framework::Wide(facts.Subject);
    const std::wstring path = framework::Wide(facts.Path);
    switch (cause.Kind()) {
    case fileio::TErrorKind::NotGXTFile: return InterfaceTextUtf8(TTextKey::GxtFileError);
    case fileio::TErrorKind::NotCarPackage: return InterfaceTextUtf8(TTextKey::InvalidCarFile);
    case fileio::TErrorKind::UnsupportedCarVersion: return InterfaceTextUtf8(TTextKey::UnsupportedCarFile);
    case fileio::TErrorKind::NoOpenArchive: return InterfaceTextUtf8(TTextKey::NoGameOpen);
    case fileio::TErrorKind::NoGameDirectory: return InterfaceTextUtf8(TTextKey::NoGameFolder, {path});
    case fileio::TErrorKind::NotGameDirectory: return InterfaceTextUtf8(TTextKey::NotGameFolder, {path, subject});
    case fileio::TErrorKind::NoSuchVehicle:
        return InterfaceTextUtf8(TTextKey::NoSuchVehicle, {std::to_wstring(facts.Number)}) + ".";
    case fileio::TErrorKind::SourceMissing: return InterfaceTextUtf8(TTextKey::SourceMissing, {subject, path});
    case fileio::TErrorKind::SourceUnreadable: return InterfaceTextUtf8(TTextKey::SourceUnreadable, {subject, path});
    case fileio::TErrorKind::SourceNotRenderWare:
        if (facts.Path.empty())
            return InterfaceTextUtf8(TTextKey::PackagePieceNotRenderWare,
                                     {InterfaceText(facts.Subject == "DFF" ? TTextKey::PackageModel
                                                                           : TTextKey::PackageTextures),
                                      StreamTitle(facts.Subject)});
        return InterfaceTextUtf8(TTextKey::SourceNotRenderWare, {subject, path, StreamTitle(facts.Subject)});
    case fileio::TErrorKind::TooLarge:
        if (facts.Path.empty())
            return InterfaceTextUtf8(TTextKey::TooLargePiece, {std::to_wstring(facts.Number)});
        return InterfaceTextUtf8(TTextKey::TooLargeFile, {path, std::to_wstring(facts.Number)});
    case fileio::TErrorKind::ImportedLineBreak:
        return InterfaceTextUtf8(TTextKey::TypedLineBreak, {TypedLineTitle(facts.Subject)});
    case fileio::TErrorKind::ImportedLineComment:
        return InterfaceTextUtf8(TTextKey::TypedLineComment,
                                 {TypedLineTitle(facts.Subject), ShownLine(facts.Text)});
    case fileio::TErrorKind::ImportedLineTooShort:
        return InterfaceTextUtf8(TTextKey::TypedLineTooShort,
                                 {TypedLineTitle(facts.Subject), ShownLine(facts.Text),
                                  std::to_wstring(facts.Number), std::to_wstring(facts.Needed)});
    case fileio::TErrorKind::ImportedLineZeroByte:
        // The line itself is not shown: the window's text would end at its zero byte.
        return InterfaceTextUtf8(TTextKey::TypedLineZeroByte,
                                 {TypedLineTitle(facts.Subject), std::to_wstring(facts.Number)});
    case fileio::TErrorKind::ImportedLineReadBack:
        return InterfaceTextUtf8(TTextKey::TypedLineReadBack,
                                 {TypedLineTitle(facts.Subject), ShownLine(facts.Text)});
    case fileio::TErrorKind::ImportedLineNoMarker:
        return InterfaceTextUtf8(TTextKey::TypedLineNoMarker,
                                 {TypedLineTitle(facts.Subject), ShownLine(facts.Text)});
    case fileio::TErrorKind::GameLineDamaged:
        return InterfaceTextUtf8(TTextKey::GameLineDamaged, {subject, std::to_wstring(facts.Number),
                                                              ShownLine(facts.Text)});
    case fileio::TErrorKind::FileInUse: return InterfaceTextUtf8(TTextKey::FileInUse, {path});
    case fileio::TErrorKind::FileAccessDenied: return InterfaceTextUtf8(TTextKey::FileAccessDenied, {path});
    case fileio::TErrorKind::DamagedJournal:
        return InterfaceTextUtf8(TTextKey::DamagedJournal, {path, JournalDamageText(facts)});
    case fileio::TErrorKind::NothingToUndo: return InterfaceTextUtf8(TTextKey::NothingToUndo);
    case fileio::TErrorKind::ChangedSinceImport: return InterfaceTextUtf8(TTextKey::UndoRefused, {subject, path});
    case fileio::TErrorKind::Failure: break;
    }
    return std::nullopt;
}

std::string ArchiveCheckText(const archive::TArchiveLayout& layout)
{
    std::string text = InterfaceTextUtf8(TTextKey::ArchiveCheckTitle) + "\n\n";
    const auto line = [&text](TTextKey label, std::uint64_t value) {
        text += InterfaceTextUtf8(label) + ": " + std::to_string(value) + "\n";
    };
    line(TTextKey::ArchiveEntries, layout.EntryCount);
    line(TTextKey::ArchivePairs, layout.ChainPairs);
    line(TTextKey::ArchiveMisreadPairs, layout.MisreadPairs.size());
    line(TTextKey::ArchiveHoleBytes, layout.HoleBytes);
    line(TTextKey::ArchiveOverlaps, layout.OverlappingEntries.size());
    line(TTextKey::ArchivePastEnd, layout.PastEndEntries.size());
    line(TTextKey::ArchiveShortTails, layout.ShortTailEntries.size());
    line(TTextKey::ArchiveDuplicates, layout.DuplicateNames.size());
    line(TTextKey::ArchiveUnterminated, layout.UnterminatedNames.size());
    line(TTextKey::ArchiveFreeRecords, layout.FreeRecords);
    line(TTextKey::ArchiveFreeBytes, layout.FreeBytes);
    text += "\n";
    if (!layout.CanRebuild())
        text += InterfaceTextUtf8(TTextKey::ArchiveDamaged);
    else if (!layout.ReadsCorrectly())
        text += InterfaceTextUtf8(TTextKey::ArchiveMisread, {framework::Wide(archive::DescribeMisreadPairs(layout))});
    else
        text += InterfaceTextUtf8(TTextKey::ArchiveSound);
    return text;
}

std::string MisreadArchiveQuestion(const archive::TArchiveLayout& layout)
{
    return InterfaceTextUtf8(
        TTextKey::MisreadArchiveQuestion,
        {std::to_wstring(layout.MisreadPairs.size()), framework::Wide(archive::DescribeMisreadPairs(layout))});
}

std::wstring ImportSourceText(const std::string& source)
{
    return source == engine::SeparateFilesSource ? InterfaceText(TTextKey::SeparateFilesSource) : framework::Wide(source);
}

} // namespace vehmira::gui
