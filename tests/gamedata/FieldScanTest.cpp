// A field read as the game's scanf-style loaders read it: whole, in part, or
// not at all, and how far a line reads before a field stops it.

#include "gamedata/FieldScan.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace vehmira::gamedata;

TEST(FieldScan, EachTypeReadsWhatScanfReads)
{
    using enum TFieldType;
    using enum TFieldRead;
    const struct {
        std::string_view Field;
        TFieldType Type;
        TFieldRead Read;
    } cases[] = {
        {"10", Integer, Whole},     {"-1", Integer, Whole},    {"+7", Integer, Whole},
        {"ten", Integer, None},     {"-", Integer, None},      {"10.5", Integer, Part},
        {"5x", Integer, Part},      {"0x1f", Integer, Part},
        {"1f10", Hex, Whole},       {"0x1F", Hex, Whole},      {"-1", Hex, Whole},
        {"0x", Hex, Part},          {"g", Hex, None},          {"12g", Hex, Part},
        {"0.7", Real, Whole},       {"-.5", Real, Whole},      {"7.", Real, Whole},
        {"1e3", Real, Whole},       {"1.5E-2", Real, Whole},   {"1e", Real, Part},
        {"O.70", Real, None},       {".", Real, None},         {"0.7.7", Real, Part},
        {"0.70O", Real, Part},      {"+", Real, None},
        {"R", Character, Whole},    {"RWD", Character, Part},
        {"anything", Text, Whole},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadFieldAs(c.Field, c.Type), c.Read) << c.Field;
}

TEST(FieldScan, AFieldThatDoesNotReadEndsTheLine)
{
    using enum TFieldType;
    const std::array<TFieldType, 4> types = {Text, Integer, Real, Integer};
    const struct {
        std::vector<std::string_view> Fields;
        std::size_t Single;  // one scan over the whole line
        std::size_t Cut;     // the line cut into fields first
    } cases[] = {
        {{"a", "1", "0.5", "2"}, 4, 4},
        {{"a", "ten", "0.5", "2"}, 1, 1},
        // Read in part: the value is read, the next conversion starts inside the field.
        {{"a", "1.5", "0.5", "2"}, 2, 4},
        {{"a", "1", "O.5", "2"}, 2, 2},
        // Fields past the scanned ones are the reader's to ignore.
        {{"a", "1", "0.5", "2", "extra"}, 5, 5},
        {{"a", "1"}, 2, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldsReadInPlace(c.Fields, types, TPartRead::EndsLine), c.Single);
        EXPECT_EQ(FieldsReadInPlace(c.Fields, types, TPartRead::StaysField), c.Cut);
    }
}
