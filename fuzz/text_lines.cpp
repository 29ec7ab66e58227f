// The text-line rules: splitting in place agrees with splitting the normalised
// line on its blanks, and lines and comments split as documented.
#include "FuzzSupport.h"
#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

using namespace vehmira::gamedata;

namespace {

// The rule as the header states it: the normalised line split on its blanks,
// and a field "0.1s" before the last read as "0.1".
TLineList SplitNormalised(std::string_view line)
{
    const std::string normalised = NormalizeFields(line);
    TLineList fields(1);
    for (const char c : normalised) {
        if (c == ' ')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (std::size_t i = 0; i + 1 < fields.size(); ++i)
        if (fields[i] == "0.1s")
            fields[i] = "0.1";
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = AsText(data, size);
    const TLineList lines = SplitLines(text);
    const std::vector<TRawLine> raw = SplitRawLines(text);
    Require(JoinRawLines(raw) == text, "raw lines join back to the text byte for byte");
    Require(raw.size() == lines.size(), "raw lines and lines agree in number");
    for (std::size_t n = 0; n < lines.size(); ++n) {
        Require(raw[n].Text == lines[n], "raw lines and lines agree in text");
        Require(lines[n].find_first_of("\r\n") == std::string::npos, "a line holds no line break");
        const std::optional<std::string> cleaned = StripCommentLine(lines[n]);
        if (!cleaned)
            continue;
        Require(cleaned->find('#') == std::string::npos, "a cleaned line holds no comment");
        const TLineList fields = SplitFields(*cleaned);
        Require(!fields.empty(), "a line has at least one field");
        Require(fields == SplitNormalised(*cleaned), "splitting in place equals splitting the normalised line");
        for (std::size_t i = 1; i + 1 < fields.size(); ++i)
            Require(!fields[i].empty(), "only the first and the last field can be empty");
    }
    return 0;
}
