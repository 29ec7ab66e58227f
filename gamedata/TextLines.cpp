#include "gamedata/TextLines.h"

namespace vehmira::gamedata {

namespace {

constexpr char Blank = ' ';
constexpr std::string_view ShortFloatField = "0.1s";
constexpr std::string_view ShortFloatReplacement = "0.1";

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsSeparator(char c) { return c == Blank || c == '\t' || c == ','; }

std::string_view TrimControlCharacters(std::string_view line)
{
    std::size_t first = 0;
    std::size_t last = line.size();
    while (first < last && IsTrimmed(line[first]))
        ++first;
    while (last > first && IsTrimmed(line[last - 1]))
        --last;
    return line.substr(first, last - first);
}

} // namespace

std::vector<std::string_view> SplitLineViews(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        // A plain scan: find_first_of calls memchr once per character here.
        std::size_t stop = start;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        lines.push_back(text.substr(start, stop - start));
        if (stop == text.size())
            break;
        const bool crlf = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
        start = stop + (crlf ? 2 : 1);
    }
    return lines;
}

TLineList SplitLines(std::string_view text)
{
    const std::vector<std::string_view> views = SplitLineViews(text);
    return TLineList(views.begin(), views.end());
}

std::optional<std::string_view> StripCommentLineView(std::string_view line)
{
    if (line.empty() || line.front() == '#' || line.front() == ';')
        return std::nullopt;
    // There is no quoting: the first "#" always starts a comment.
    return line.substr(0, line.find('#'));
}

std::optional<std::string> StripCommentLine(std::string_view line)
{
    if (const auto cleaned = StripCommentLineView(line))
        return std::string(*cleaned);
    return std::nullopt;
}

TLineList StripCommentLines(const TLineList& lines)
{
    TLineList result;
    result.reserve(lines.size());
    for (const std::string& line : lines)
        if (auto cleaned = StripCommentLine(line))
            result.push_back(std::move(*cleaned));
    return result;
}

std::string NormalizeFields(std::string_view line)
{
    // Trimming comes first, so a comma at either end survives as a single blank.
    const std::string_view trimmed = TrimControlCharacters(line);
    std::string result;
    result.reserve(trimmed.size());
    for (const char original : trimmed) {
        const char c = IsSeparator(original) ? Blank : original;
        if (c == Blank && !result.empty() && result.back() == Blank)
            continue;
        result.push_back(c);
    }
    return result;
}

// Splitting the normalised line on its blanks is the same as splitting the
// trimmed line on each run of separators, which needs no copy: a run at either
// end of the trimmed line gives an empty first or last field.
void SplitFieldViews(std::string_view line, std::vector<std::string_view>& fields)
{
    const std::string_view trimmed = TrimControlCharacters(line);

    fields.clear();
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < trimmed.size()) {
        if (!IsSeparator(trimmed[at])) {
            ++at;
            continue;
        }
        const std::string_view field = trimmed.substr(start, at - start);
        fields.push_back(field == ShortFloatField ? ShortFloatReplacement : field);
        while (at < trimmed.size() && IsSeparator(trimmed[at]))
            ++at;
        start = at;
    }
    // The last field keeps "0.1s" as it stands.
    fields.push_back(trimmed.substr(start));
}

TLineList SplitFields(std::string_view line)
{
    std::vector<std::string_view> views;
    SplitFieldViews(line, views);
    return TLineList(views.begin(), views.end());
}

} // namespace vehmira::gamedata
