#pragma once
// How the game's loaders read one field of a text line as a number. They scan
// with scanf-style conversions (the definition line is one sscanf): a number
// is read from the field's start for as long as it reads, so "ten" reads
// nothing, and "10.5" read as a whole number gives 10 and leaves ".5" for the
// next conversion. Either way every later value of the line is left unread or
// read from the wrong place.

#include <cstddef>
#include <span>
#include <string_view>

namespace vehmira::gamedata {

enum class TFieldType {
    Text,      // %s: any field
    Integer,   // %d: an optional sign and decimal digits
    Hex,       // %x: an optional sign, an optional "0x" and hexadecimal digits
    Real,      // %f: an optional sign, digits with an optional point, an optional exponent
    Character, // %c: one character
};

enum class TFieldRead {
    None,  // nothing reads: the reader stops here
    Part,  // the field's start reads; the rest is left for the next conversion
    Whole, // the whole field reads
};

TFieldRead ReadFieldAs(std::string_view field, TFieldType type);

// What a field read only in part does to the line.
enum class TPartRead {
    EndsLine,   // a single scan: the rest of the field is taken for the next value
    StaysField, // a reader that cuts the line into fields first keeps the next value in place
};

// How many of the fields, from the first, the reader takes into their own
// places. A field that reads in part still gives its value; with EndsLine it
// is the last one. Fields past the types are the reader's to ignore and count.
std::size_t FieldsReadInPlace(std::span<const std::string_view> fields, std::span<const TFieldType> types,
                              TPartRead partRead);

} // namespace vehmira::gamedata
