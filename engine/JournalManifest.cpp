#include "engine/JournalManifest.h"

#include "archive/DIR.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

#include <charconv>
#include <cstdio>
#include <map>

namespace vehmira::engine {

namespace {

constexpr std::string_view FormatVersion = "2";
// Journals written before free records: no pins, no writes.
constexpr std::string_view FirstFormatVersion = "1";
// An import writes a handful of files; more in a manifest means it is not ours.
constexpr std::uint64_t MaxJournaledFiles = 64;
constexpr std::uint64_t MaxSavedRanges = 64;

struct TStateName {
    TJournalState State;
    std::string_view Name;
};
constexpr TStateName StateNames[] = {
    {TJournalState::Pending, "pending"},
    {TJournalState::Committed, "committed"},
    {TJournalState::Undoing, "undoing"},
    {TJournalState::Undone, "undone"},
};

std::string Escape(std::string_view value)
{
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

[[noreturn]] void Damaged(const std::string& what)
{
    throw fileio::TVehmiraError("The import journal's manifest is damaged: " + what);
}

std::string Unescape(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            Damaged("a value ends in a lone backslash");
        const char code = value[i];
        if (code == '\\')
            out += '\\';
        else if (code == 'n')
            out += '\n';
        else if (code == 'r')
            out += '\r';
        else
            Damaged("unknown escape \\" + std::string(1, code));
    }
    return out;
}

std::string Hex8(std::uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", unsigned(value));
    return text;
}

// The key=value lines of a manifest, with checked access.
class TManifestFields {
public:
    explicit TManifestFields(std::string_view text)
    {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.empty())
                continue;
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos)
                Damaged("a line without \"=\"");
            Values[std::string(line.substr(0, equals))] = Unescape(line.substr(equals + 1));
        }
    }

    const std::string& Text(const std::string& key) const
    {
        const auto found = Values.find(key);
        if (found == Values.end())
            Damaged("\"" + key + "\" is missing");
        return found->second;
    }

    bool Has(const std::string& key) const { return Values.contains(key); }

    std::uint64_t Number(const std::string& key) const
    {
        const std::string& text = Text(key);
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            Damaged("\"" + key + "\" is not a number");
        return value;
    }

    std::uint32_t CRC(const std::string& key) const
    {
        const std::string& text = Text(key);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (text.size() != 8 || error != std::errc() || end != text.data() + text.size())
            Damaged("\"" + key + "\" is not a checksum");
        return value;
    }

    bool Flag(const std::string& key) const
    {
        const std::string& text = Text(key);
        if (text != "0" && text != "1")
            Damaged("\"" + key + "\" is neither 0 nor 1");
        return text == "1";
    }

private:
    std::map<std::string, std::string> Values;
};

// A path stored in a manifest must stay inside the game directory: recovery
// writes and removes the files it names. It is checked as the resolver will
// split it, so a backslash counts as a separator on every platform.
std::filesystem::path SafeRelativePath(const std::string& text)
{
    if (!fileio::IsInsideGameDirectory(text))
        Damaged("the path \"" + text + "\" is not inside the game directory");
    return fileio::PathFromUtf8(text);
}

std::string PathText(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

void AppendLine(std::string& out, std::string_view key, std::string_view value)
{
    out.append(key).append("=").append(Escape(value)).append("\n");
}

void AppendFingerprint(std::string& out, const std::string& key, const TFileFingerprint& print)
{
    if (!print.Present)
        return;
    AppendLine(out, key + ".length", std::to_string(print.Length));
    AppendLine(out, key + ".crc", Hex8(print.CRC));
}

TFileFingerprint ReadFingerprint(const TManifestFields& fields, const std::string& key, bool present)
{
    TFileFingerprint print;
    print.Present = present;
    if (present) {
        print.Length = fields.Number(key + ".length");
        print.CRC = fields.CRC(key + ".crc");
    }
    return print;
}

// archive.pins=N, then archive.pin.j.offset= and .length= (and .after.crc= when asked).
void AppendRangeList(std::string& out, const std::string& key, const std::vector<TArchiveRange>& ranges, bool withCRCAfter)
{
    if (ranges.empty())
        return;
    AppendLine(out, key + "s", std::to_string(ranges.size()));
    for (std::size_t j = 0; j < ranges.size(); ++j) {
        const std::string item = key + "." + std::to_string(j);
        AppendLine(out, item + ".offset", std::to_string(ranges[j].Offset));
        AppendLine(out, item + ".length", std::to_string(ranges[j].Length));
        if (withCRCAfter)
            AppendLine(out, item + ".after.crc", Hex8(ranges[j].CRCAfter));
    }
}

// The ranges of such a list, each inside the first limit bytes of the archive.
std::vector<TArchiveRange> ReadRangeList(const TManifestFields& fields, const std::string& key, bool withCRCAfter,
                                         std::uint64_t limit)
{
    const std::uint64_t count = fields.Has(key + "s") ? fields.Number(key + "s") : 0;
    if (count > MaxSavedRanges)
        Damaged("too many archive ranges in \"" + key + "s\"");
    std::vector<TArchiveRange> ranges;
    for (std::uint64_t j = 0; j < count; ++j) {
        const std::string item = key + "." + std::to_string(j);
        TArchiveRange range;
        range.Offset = fields.Number(item + ".offset");
        range.Length = fields.Number(item + ".length");
        if (withCRCAfter)
            range.CRCAfter = fields.CRC(item + ".after.crc");
        if (range.Offset > limit || range.Length > limit - range.Offset)
            Damaged("\"" + item + "\" lies past the end of the archive");
        ranges.push_back(range);
    }
    return ranges;
}

TJournalState ParseState(const std::string& text)
{
    for (const TStateName& entry : StateNames)
        if (entry.Name == text)
            return entry.State;
    Damaged("unknown state \"" + text + "\"");
}

} // namespace

std::string ManifestToText(const TJournalManifest& manifest)
{
    std::string out;
    AppendLine(out, "format", FormatVersion);
    for (const TStateName& entry : StateNames)
        if (entry.State == manifest.State)
            AppendLine(out, "state", entry.Name);
    AppendLine(out, "target", manifest.Target);
    AppendLine(out, "source", manifest.Source);
    AppendLine(out, "time", manifest.Time);
    if (manifest.Retired)
        AppendLine(out, "retired", "1");
    AppendLine(out, "archive", PathText(manifest.ArchiveRelativePath));
    AppendLine(out, "archive.length", std::to_string(manifest.ArchiveLength));
    AppendLine(out, "archive.head.length", std::to_string(manifest.HeadLength));
    AppendLine(out, "archive.head.crc", Hex8(manifest.HeadCRC));
    const bool committed = manifest.State != TJournalState::Pending;
    if (!manifest.Ranges.empty())
        AppendLine(out, "archive.ranges", std::to_string(manifest.Ranges.size()));
    for (std::size_t j = 0; j < manifest.Ranges.size(); ++j) {
        const std::string key = "archive.range." + std::to_string(j);
        AppendLine(out, key + ".offset", std::to_string(manifest.Ranges[j].Offset));
        AppendLine(out, key + ".length", std::to_string(manifest.Ranges[j].Length));
        AppendLine(out, key + ".crc", Hex8(manifest.Ranges[j].CRC));
        if (committed)
            AppendLine(out, key + ".after.crc", Hex8(manifest.Ranges[j].CRCAfter));
    }
    AppendRangeList(out, "archive.pin", manifest.Pinned, false);
    if (committed)
        AppendRangeList(out, "archive.write", manifest.Written, true);
    if (manifest.ArchiveReplaced)
        AppendLine(out, "archive.replaced", "1");
    AppendLine(out, "files", std::to_string(manifest.Files.size()));
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        const std::string key = "file." + std::to_string(i);
        const TJournaledFile& file = manifest.Files[i];
        AppendLine(out, key, PathText(file.RelativePath));
        AppendLine(out, key + ".existed", file.Before.Present ? "1" : "0");
        AppendFingerprint(out, key, file.Before);
        if (committed) {
            AppendLine(out, key + ".after", file.After.Present ? "1" : "0");
            AppendFingerprint(out, key + ".after", file.After);
        }
    }
    if (committed) {
        AppendLine(out, "archive.after.length", std::to_string(manifest.ArchiveLengthAfter));
        AppendLine(out, "archive.after.head.crc", Hex8(manifest.HeadCRCAfter));
        AppendLine(out, "archive.after.appended.crc", Hex8(manifest.AppendedCRCAfter));
        if (manifest.ArchiveReplaced)
            AppendLine(out, "archive.after.crc", Hex8(manifest.ArchiveCRCAfter));
    }
    return out;
}

TJournalManifest ManifestFromText(std::string_view text)
{
    const TManifestFields fields(text);
    const std::string& format = fields.Text("format");
    if (format != FormatVersion && format != FirstFormatVersion)
        Damaged("unknown format \"" + fields.Text("format") + "\"");
    TJournalManifest manifest;
    manifest.State = ParseState(fields.Text("state"));
    manifest.Target = fields.Text("target");
    manifest.Source = fields.Text("source");
    manifest.Time = fields.Text("time");
    manifest.Retired = fields.Has("retired") && fields.Flag("retired");
    manifest.ArchiveRelativePath = SafeRelativePath(fields.Text("archive"));
    manifest.ArchiveLength = fields.Number("archive.length");
    manifest.HeadLength = fields.Number("archive.head.length");
    manifest.HeadCRC = fields.CRC("archive.head.crc");
    if (manifest.HeadLength > manifest.ArchiveLength)
        Damaged("the saved archive head is longer than the archive");
    const bool committed = manifest.State != TJournalState::Pending;
    const std::uint64_t rangeCount = fields.Has("archive.ranges") ? fields.Number("archive.ranges") : 0;
    if (rangeCount > MaxSavedRanges)
        Damaged("too many saved archive ranges");
    for (std::uint64_t j = 0; j < rangeCount; ++j) {
        const std::string key = "archive.range." + std::to_string(j);
        TArchiveRange range;
        range.Offset = fields.Number(key + ".offset");
        range.Length = fields.Number(key + ".length");
        range.CRC = fields.CRC(key + ".crc");
        if (committed)
            range.CRCAfter = fields.CRC(key + ".after.crc");
        if (range.Offset > manifest.ArchiveLength || range.Length > manifest.ArchiveLength - range.Offset)
            Damaged("a saved archive range lies past the end of the archive");
        manifest.Ranges.push_back(range);
    }
    // Pins are whole sectors: those of an entry in a short last sector reach
    // past the file's last byte, as far as the archive's reader counts them.
    manifest.Pinned = ReadRangeList(fields, "archive.pin", false, archive::SectorRoundedLength(manifest.ArchiveLength));
    manifest.ArchiveReplaced = fields.Has("archive.replaced") && fields.Flag("archive.replaced");
    if (manifest.ArchiveReplaced && (manifest.HeadLength != 0 || !manifest.Ranges.empty()))
        Damaged("a replaced archive has saved head bytes or ranges");
    const std::uint64_t count = fields.Number("files");
    if (count > MaxJournaledFiles)
        Damaged("too many files");
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string key = "file." + std::to_string(i);
        TJournaledFile file;
        file.RelativePath = SafeRelativePath(fields.Text(key));
        file.Before = ReadFingerprint(fields, key, fields.Flag(key + ".existed"));
        if (committed)
            file.After = ReadFingerprint(fields, key + ".after", fields.Flag(key + ".after"));
        manifest.Files.push_back(std::move(file));
    }
    if (committed) {
        manifest.ArchiveLengthAfter = fields.Number("archive.after.length");
        manifest.HeadCRCAfter = fields.CRC("archive.after.head.crc");
        manifest.AppendedCRCAfter = fields.CRC("archive.after.appended.crc");
        if (manifest.ArchiveReplaced)
            manifest.ArchiveCRCAfter = fields.CRC("archive.after.crc");
        manifest.Written = ReadRangeList(fields, "archive.write", true, manifest.ArchiveLengthAfter);
    }
    return manifest;
}

TJournalManifest LoadManifest(const std::filesystem::path& journalDirectory)
{
    return ManifestFromText(fileio::ReadWholeFileText(journalDirectory / ManifestFileName));
}

void SaveManifest(const std::filesystem::path& journalDirectory, const TJournalManifest& manifest)
{
    fileio::ReplaceFileAtomically(journalDirectory / ManifestFileName, ManifestToText(manifest));
}

} // namespace vehmira::engine
