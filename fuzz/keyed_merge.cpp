// The keyed-line merge. Input: one byte choosing the kind, the imported line up
// to the first LF, then the game file's text. Every line that is not the
// target's stays byte for byte, the target's lines keep their kept fields and
// endings, and merging the result again changes nothing. A line the import's
// own line rules refuse (what `car info` reports) is never merged, and no
// replaced line holds a zero byte.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "FuzzTargetVehicle.h"
#include "gamedata/RawLines.h"
#include "engine/KeyedLines.h"

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;
using namespace vehmira::package;

namespace {

TLineList FieldsOf(const std::string& line)
{
    const std::optional<std::string> cleaned = StripCommentLine(line);
    return cleaned ? SplitFields(*cleaned) : TLineList{};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto kind = static_cast<TKeyedLineKind>(data[0] % 4);
    std::string_view rest = AsText(data + 1, size - 1);
    const std::size_t lineEnd = rest.find('\n');
    const std::string_view imported = rest.substr(0, lineEnd);
    const std::string_view fileText = lineEnd == std::string_view::npos ? "" : rest.substr(lineEnd + 1);
    const TVehicleRecord target = FuzzTargetVehicle();

    bool lineRefused = false;
    try {
        CheckImportedLine(kind, imported);
    } catch (const TVehmiraError&) {
        lineRefused = true;
    }
    TMergeResult merged;
    try {
        merged = MergeKeyedLine(kind, imported, fileText, target);
    } catch (const TVehmiraError&) {
        return 0;
    }
    Require(!lineRefused, "a line the line rules refuse is never merged");
    const std::vector<TRawLine> before = SplitRawLines(fileText);
    const std::vector<TRawLine> after = SplitRawLines(merged.Text);
    Require(before.size() == after.size(), "the merge keeps the number of lines");
    std::size_t replaced = 0;
    for (std::size_t n = 0; n < before.size(); ++n) {
        Require(before[n].Ending == after[n].Ending, "every line keeps its line ending");
        const TLineList old = FieldsOf(before[n].Text);
        if (old.empty() || !LineBelongsToVehicle(kind, old, target)) {
            Require(before[n].Text == after[n].Text, "every other line stays byte for byte");
            continue;
        }
        ++replaced;
        Require(after[n].Text.find('\0') == std::string::npos, "a replaced line holds no zero byte");
        const TLineList now = FieldsOf(after[n].Text);
        Require(LineBelongsToVehicle(kind, now, target), "a replaced line still belongs to the target");
        Require(now.size() >= RequiredImportedFields(kind), "a replaced line keeps more than its key");
        Require(now[0] == old[0], "a replaced line keeps its key or marker");
    }
    Require(replaced == merged.ReplacedLines, "the count of replaced lines is right");
    Require(MergeKeyedLine(kind, imported, merged.Text, target).Text == merged.Text,
            "merging the result again changes nothing");
    return 0;
}
