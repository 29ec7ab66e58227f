#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

#include <gtest/gtest.h>

using namespace vehmira::gamedata;

namespace {

struct TLinesCase {
    std::string Input;
    TLineList Expected;
};

TEST(TextLines, SplitLinesOnEveryKindOfLineBreak)
{
    const std::vector<TLinesCase> cases{
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\n", {""}},
        {"x\ty ,\n\n", {"x\ty ,", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.Input), c.Expected) << "input: " << c.Input;
}

TEST(TextLines, StripCommentLinesKeepsOnlyTextBeforeComments)
{
    const TLineList input{"", "#x", ";x", " ;x", "a # b # c", "   #x", "abc", "a;b", "\t#"};
    const TLineList before = input;
    EXPECT_EQ(StripCommentLines(input), (TLineList{" ;x", "a ", "   ", "abc", "a;b", "\t"}));
    EXPECT_EQ(input, before);
    EXPECT_TRUE(StripCommentLines({}).empty());
}

TEST(TextLines, StripCommentLineTellsDroppedFromEmptyRemainder)
{
    EXPECT_EQ(StripCommentLine("#only"), std::nullopt);
    EXPECT_EQ(StripCommentLine(""), std::nullopt);
    EXPECT_EQ(StripCommentLine(" #x"), std::optional<std::string>(" "));
}

TEST(TextLines, NormalizeFields)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"  400,\tabc , def  ", "400 abc def"},
        {",a,b,", " a b "},
        {"\t,a", " a"},
        {"a\x01\x02 b\x1f", "a\x01\x02 b"},
        {"a\x01,b", "a\x01 b"},
        {"a, \t ,b", "a b"},
        {"\t\t", ""},
        {"", ""},
        {"\xe0\xff", "\xe0\xff"}, // bytes above 127 are not control characters
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(NormalizeFields(input), expected) << "input: " << input;
}

TEST(TextLines, SplitFields)
{
    const std::vector<TLinesCase> cases{
        {"400, abc,def, car", {"400", "abc", "def", "car"}},
        {"", {""}},
        {"   ", {""}},
        {"a,,b", {"a", "b"}},
        {"a,b,", {"a", "b", ""}},
        {",a", {"", "a"}},
        {"a\t,b , ,c", {"a", "b", "c"}},
        {"x 0.1s y", {"x", "0.1", "y"}},
        {"x 0.1s", {"x", "0.1s"}},
        {"0.1s", {"0.1s"}},
        {"0.1s,0.1s,", {"0.1", "0.1", ""}},
        {"x 0.1S y", {"x", "0.1S", "y"}},
        {"x 10.1s 0.1ss y", {"x", "10.1s", "0.1ss", "y"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFields(c.Input), c.Expected) << "input: " << c.Input;
}

// SplitFields splits the normalised line on its blanks; the splitter works on
// the line in place, so it is held against that definition on every line of
// up to five characters drawn from the characters that matter.
TEST(TextLines, SplitFieldsEqualsSplittingTheNormalisedLineOnBlanks)
{
    const auto reference = [](std::string_view line) {
        const std::string normalized = NormalizeFields(line);
        TLineList fields;
        std::size_t start = 0;
        for (std::size_t blank = normalized.find(' '); blank != std::string::npos;
             start = blank + 1, blank = normalized.find(' ', start)) {
            const std::string field = normalized.substr(start, blank - start);
            fields.push_back(field == "0.1s" ? "0.1" : field);
        }
        fields.push_back(normalized.substr(start));
        return fields;
    };
    const std::string alphabet = std::string(" \t,a\x01\xE0", 6);
    const std::vector<std::string> pieces{"0.1s", "0.1S"};
    std::vector<std::string> lines{""};
    for (int length = 1; length <= 5; ++length) {
        std::vector<std::string> longer;
        for (const std::string& line : lines)
            if (int(line.size()) == length - 1)
                for (const char c : alphabet)
                    longer.push_back(line + c);
        lines.insert(lines.end(), longer.begin(), longer.end());
    }
    for (const std::string& line : std::vector<std::string>(lines)) {
        for (const std::string& piece : pieces) {
            lines.push_back(piece + line);
            lines.push_back(line + piece + "," + line);
        }
    }
    for (const std::string& line : lines)
        ASSERT_EQ(SplitFields(line), reference(line)) << "line of " << line.size() << " bytes: \"" << line << "\"";
}

TEST(RawLines, JoinReproducesTheInputByteForByte)
{
    const std::vector<std::string> inputs{
        "", "a", "a\r\n", "a\r\nb", "# c\r\n\r\n400, x\n\rlast", "\r\r\n\n", "mixed\rline\nends\r\n\t,\r\n",
    };
    for (const auto& input : inputs)
        EXPECT_EQ(JoinRawLines(SplitRawLines(input)), input) << "input: " << input;
}

TEST(RawLines, LinesCarryTheirOwnEndings)
{
    const auto lines = SplitRawLines("a\r\nb\nc\rd");
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected{{"a", "\r\n"}, {"b", "\n"}, {"c", "\r"}, {"d", ""}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Text, expected[i].first);
        EXPECT_EQ(lines[i].Ending, expected[i].second);
    }
    // The texts are the same lines the field splitter sees.
    const auto blank = SplitRawLines("x\n\ny\n");
    ASSERT_EQ(blank.size(), 3u);
    EXPECT_EQ(blank[1].Text, "");
    EXPECT_EQ(blank[1].Ending, "\n");
}

} // namespace
