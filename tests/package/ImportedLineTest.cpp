// The rules a line to import must meet whatever its target: the import and a
// package's check both call them, so each refusal here is one both make.

#include "fileio/Errors.h"
#include "package/ImportedLine.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;
using namespace vehmira::package;

namespace {

// The kind of the refusal, or "accepted".
std::string Verdict(TKeyedLineKind kind, std::string_view line)
{
    try {
        CheckImportedLine(kind, line);
        return "accepted";
    } catch (const TVehmiraError& error) {
        return std::to_string(int(error.Kind()));
    }
}

std::string KindOf(TErrorKind kind) { return std::to_string(int(kind)); }

} // namespace

TEST(ImportedLine, EachRefusalHasItsKind)
{
    using enum TKeyedLineKind;
    const struct {
        const char* What;
        TKeyedLineKind Kind;
        std::string Line;
        std::string Verdict;
    } cases[] = {
        {"an empty definition line", Vehicles, "", KindOf(TErrorKind::ImportedLineTooShort)},
        {"a definition line of three fields", Vehicles, "400, landstal, landstal", KindOf(TErrorKind::ImportedLineTooShort)},
        {"a definition line of six fields", Vehicles, "400, a, b, car, X, Y", "accepted"},
        {"a zero byte inside a definition line", Vehicles, std::string("400, a, b, car, X, Y\0, null", 28),
         KindOf(TErrorKind::ImportedLineZeroByte)},
        // Trimmed away by the line rules, but a zero byte anywhere is refused.
        {"a zero byte at a colour line's end", Carcols, std::string("x, 1,1\0", 7), KindOf(TErrorKind::ImportedLineZeroByte)},
        {"a line break", MainHandling, "X 1.0\n", KindOf(TErrorKind::ImportedLineBreak)},
        {"a comment", MainHandling, "; X 1.0", KindOf(TErrorKind::ImportedLineComment)},
        {"a special line of two fields", SpecialHandling, "! NRG500", KindOf(TErrorKind::ImportedLineTooShort)},
        {"a special line without its marker", SpecialHandling, "NRG500 0.1 0.2", KindOf(TErrorKind::ImportedLineNoMarker)},
        {"a special line marked \"^\"", SpecialHandling, "^ NRG500 0.1", KindOf(TErrorKind::ImportedLineNoMarker)},
        {"a marker joined to its ID", SpecialHandling, "!NRG500 0.1 0.2", KindOf(TErrorKind::ImportedLineNoMarker)},
        {"each marker", SpecialHandling, "% COASTGRD 0.1", "accepted"},
        {"a colour line whose last field is control characters", Carcols, "x, 1,1, \x01,",
         KindOf(TErrorKind::ImportedLineReadBack)},
        {"a special line that would read as a comment", SpecialHandling, " ; X 5 6", KindOf(TErrorKind::ImportedLineReadBack)},
        {"a colour line with a comment", Carcols, "x, 1,1 # mine", "accepted"},
        {"a main line", MainHandling, "X 1.0", "accepted"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Verdict(c.Kind, c.Line), c.Verdict) << c.What;
}

TEST(ImportedLine, BlankHandlingAndColourPiecesAreSkippedNotRefused)
{
    EXPECT_TRUE(IsSkippedPackageLine(TKeyedLineKind::MainHandling, " \t\r\n"));
    EXPECT_TRUE(IsSkippedPackageLine(TKeyedLineKind::Carcols, ""));
    EXPECT_FALSE(IsSkippedPackageLine(TKeyedLineKind::Vehicles, ""));
    EXPECT_FALSE(IsSkippedPackageLine(TKeyedLineKind::SpecialHandling, "!"));
}

TEST(ImportedLine, QuotedTextShowsZeroBytesSoMessagesGoOn)
{
    EXPECT_EQ(QuotedLineText(std::string("a\0b", 3)), "\"a\\0b\"");
    EXPECT_EQ(QuotedLineText("plain"), "\"plain\"");
}
