#include "gamedata/FieldScan.h"

namespace vehmira::gamedata {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

template <typename TPredicate> std::size_t SkipWhile(std::string_view field, std::size_t at, TPredicate predicate)
{
    while (at < field.size() && predicate(field[at]))
        ++at;
    return at;
}

std::size_t SkipSign(std::string_view field, std::size_t at)
{
    return at < field.size() && (field[at] == '+' || field[at] == '-') ? at + 1 : at;
}

// The length of the field's start that reads as the type; 0 when nothing reads.
std::size_t IntegerLength(std::string_view field)
{
    const std::size_t digits = SkipSign(field, 0);
    const std::size_t end = SkipWhile(field, digits, IsDigit);
    return end > digits ? end : 0;
}

std::size_t HexLength(std::string_view field)
{
    std::size_t digits = SkipSign(field, 0);
    // "0x" is a prefix only before a hexadecimal digit; "0x" alone reads as 0.
    const std::string_view rest = field.substr(digits);
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') && IsHexDigit(rest[2]))
        digits += 2;
    const std::size_t end = SkipWhile(field, digits, IsHexDigit);
    return end > digits ? end : 0;
}

std::size_t RealLength(std::string_view field)
{
    const std::size_t start = SkipSign(field, 0);
    std::size_t at = SkipWhile(field, start, IsDigit);
    std::size_t digits = at - start;
    if (at < field.size() && field[at] == '.') {
        const std::size_t fraction = SkipWhile(field, at + 1, IsDigit);
        digits += fraction - at - 1;
        at = fraction;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only with at least one digit; "1e" reads as 1.
    if (at < field.size() && (field[at] == 'e' || field[at] == 'E')) {
        const std::size_t exponent = SkipSign(field, at + 1);
        const std::size_t end = SkipWhile(field, exponent, IsDigit);
        if (end > exponent)
            at = end;
    }
    return at;
}

std::size_t ReadLength(std::string_view field, TFieldType type)
{
    switch (type) {
    case TFieldType::Text: return field.size();
    case TFieldType::Integer: return IntegerLength(field);
    case TFieldType::Hex: return HexLength(field);
    case TFieldType::Real: return RealLength(field);
    case TFieldType::Character: return field.empty() ? 0 : 1;
    }
    return 0;
}

} // namespace

TFieldRead ReadFieldAs(std::string_view field, TFieldType type)
{
    const std::size_t length = ReadLength(field, type);
    if (length == 0)
        return TFieldRead::None;
    return length == field.size() ? TFieldRead::Whole : TFieldRead::Part;
}

std::size_t FieldsReadInPlace(std::span<const std::string_view> fields, std::span<const TFieldType> types,
                              TPartRead partRead)
{
    for (std::size_t i = 0; i < fields.size() && i < types.size(); ++i) {
        const TFieldRead read = ReadFieldAs(fields[i], types[i]);
        if (read == TFieldRead::None)
            return i;
        if (read == TFieldRead::Part && partRead == TPartRead::EndsLine)
            return i + 1;
    }
    return fields.size();
}

} // namespace vehmira::gamedata
