#include "gamedata/CodePage1251.h"

#include <gtest/gtest.h>

using namespace vehmira::gamedata;

namespace {

TEST(CodePage1251, DecodesToUnicode)
{
    const std::vector<std::pair<std::string, std::u16string>> cases{
        {"Hello", u"Hello"},
        {"\xC2\xFB\xF5\xEE\xE4", u"Выход"},
        {"\xC0\xDF\xE0\xFF", u"АЯая"},
        {"\xA8\xB8", u"Ёё"},
        {"\x80\x88\x96\xB9", u"Ђ€–№"},
        {"\xA5\xB4\xAA\xBA\xAF\xBF\xB2\xB3", u"ҐґЄєЇїІі"},
        {"\x98", u"\uFFFD"},
        {std::string("\0\x7F", 2), std::u16string(u"\0\x7F", 2)},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(Cp1251ToUtf16(bytes), expected);
        const std::optional<std::string> back = Utf16ToCp1251(expected);
        if (bytes == "\x98")
            EXPECT_EQ(back, std::nullopt);
        else
            EXPECT_EQ(back, bytes);
    }
    EXPECT_EQ(Cp1251ToUtf8("\xC2\xFB\xF5\xEE\xE4 \x88"), "Выход €");
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(CodePage1251, EveryAssignedByteRoundTrips)
{
    for (int code = 0; code < 256; ++code) {
        if (code == 0x98)
            continue;
        const std::string byte(1, char(code));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(byte)), byte) << code;
        EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(byte)), byte) << code;
        EXPECT_NE(Cp1251ToUtf16(byte)[0], u'\uFFFD') << code;
    }
}

TEST(CodePage1251, RefusesWhatItCannotEncodeOrRead)
{
    const std::vector<std::string> utf8Cases{
        "\xE2\x82",         // cut short
        "\x80",             // continuation without a lead
        "\xC0\xAF",         // overlong
        "\xED\xA0\x80",     // surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xC3\xA9",         // é is not in the code page
        "\xEF\xBF\xBD",     // U+FFFD
        "\xF0\x9F\x98\x80", // outside the BMP
        "ok\xFF",
    };
    for (const auto& text : utf8Cases)
        EXPECT_EQ(Utf8ToCp1251(text), std::nullopt) << text;

    const std::vector<std::u16string> utf16Cases{
        u"\xD83D", std::u16string{u'a', char16_t(0xDE00)}, std::u16string{char16_t(0xD83D), u'a'}, u"\u00E9", u"\U0001F600",
    };
    for (const auto& text : utf16Cases)
        EXPECT_EQ(Utf16ToCp1251(text), std::nullopt);
}

} // namespace
