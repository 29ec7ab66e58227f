#pragma once
// The rules a line to import must meet whatever vehicle it goes over: what the
// import refuses before it merges the line into a game file, and what a
// package's check says of its line pieces, from one place. A line is read by
// the game's line rules (gamedata/TextLines.h).

#include "package/CAR.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vehmira::package {

// A short name of the kind for messages, e.g. "special handling line".
std::string_view KeyedLineKindName(TKeyedLineKind kind);

// The fewest non-empty fields an imported line of this kind must hold: every
// field the target keeps, and for a handling or colour line at least one field
// beyond its key (and a special line's marker), so the target's line is never
// reduced to its key.
std::size_t RequiredImportedFields(TKeyedLineKind kind);

// True for a text of blanks and control characters only.
bool IsBlank(std::string_view text);

// A package's handling or colour line of blanks only would reduce the target's
// line to its key: the import skips it. A blank Vehicles.ide line is refused.
bool IsSkippedPackageLine(TKeyedLineKind kind, std::string_view text);

// How a rebuilt line of the kind joins its fields.
std::string_view KeyedLineSeparator(TKeyedLineKind kind);
// The fields that are not empty, in order.
gamedata::TLineList FilledFields(const gamedata::TLineList& fields);
// A rebuilt line holds no empty field: between separators the line rules would
// drop it, so a later field would slide into its place.
std::string JoinFilledFields(const gamedata::TLineList& fields, std::string_view separator);
// True when the rebuilt line, read by the line rules, gives the filled fields.
bool ReadsBackAs(std::string_view rebuilt, const gamedata::TLineList& fields);

// Text for a message with each zero byte shown as "\0", so that a message
// read as a C string (or shown in a window) does not end there and lose what follows.
std::string LineTextShown(std::string_view text);
// The same in quotes.
std::string QuotedLineText(std::string_view text);
// How a message names the imported line: "The imported Vehicles.ide line "..."".
std::string ImportedLineName(TKeyedLineKind kind, std::string_view importedLine);

// The imported line's fields as the game reads them: a comment is cut off, and
// only non-empty fields count toward the minimum. Throws TVehmiraError of kind
// ImportedLineBreak, ImportedLineZeroByte (the game's text ends at a zero
// byte, so the game file would hold a line that reads as something else),
// ImportedLineComment, ImportedLineTooShort, or ImportedLineReadBack when the
// line rebuilt from its fields would not read back as them.
gamedata::TLineList ImportedLineFields(TKeyedLineKind kind, std::string_view importedLine);

// A special handling line starts with its marker ("!", "$" or "%"); without
// one the game reads it as a main line. Throws ImportedLineNoMarker.
void RequireSpecialLineMarker(TKeyedLineKind kind, std::string_view importedLine, const gamedata::TLineList& fields);

// Every rule above: what the import refuses in the line, whatever the target.
void CheckImportedLine(TKeyedLineKind kind, std::string_view importedLine);

} // namespace vehmira::package
