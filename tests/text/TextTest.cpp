// The text helpers at their edges. What their callers make of them (the link's converter, the
// phone book's atoi, the codec's hex) is proved by those callers' tests.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <tuple>

#include "text/Ascii.h"
#include "text/Decimal.h"
#include "text/Hex.h"
#include "text/Trim.h"
#include "text/Utf.h"

namespace {

using text::EncodedSurrogate;
using text::LoneSurrogate;

// Strict decoding: each row is refused, or accepted only where surrogates written as three bytes
// are. The last rows are the boundaries that are well-formed.
TEST(TextUtf8, StrictDecodingRefusesWhatIsNotUtf8) {
    using Text = std::optional<std::u16string>;
    const std::tuple<const char*, Text, Text> rows[] = {
        {"\xC0\xAF", {}, {}},                             // overlong, two bytes
        {"\xE0\x9F\xBF", {}, {}},                         // overlong, three bytes
        {"\xF0\x8F\xBF\xBF", {}, {}},                     // overlong, four bytes
        {"\xF4\x90\x80\x80", {}, {}},                     // above U+10FFFF
        {"\xE2\x82", {}, {}},                             // cut short
        {"a\x80", {}, {}},                                // stray continuation
        {"\xF5\x80\x80\x80", {}, {}},                     // never a lead byte
        {"\xED\xA0\xBD", {}, u"\xD83D"},                  // a lone high surrogate
        {"\xED\xA0\xBD\xED\xB8\x80", {}, u"\U0001F600"},  // a pair as two three-byte forms
        {"\xE0\xA0\x80\xF4\x8F\xBF\xBF", u"\u0800\U0010FFFF", u"\u0800\U0010FFFF"},
        {"\xEF\xBF\xBD\xED\x9F\xBF", u"\uFFFD\uD7FF", u"\uFFFD\uD7FF"},
    };
    for (const auto& [bytes, reject, accept] : rows) {
        EXPECT_EQ(text::FromUtf8(bytes), reject) << bytes;
        EXPECT_EQ(text::FromUtf8(bytes, EncodedSurrogate::Accept), accept) << bytes;
    }
}

TEST(TextUtf8, LenientDecodingReplacesEachMaximalInvalidSubsequence) {
    EXPECT_EQ(text::FromUtf8Lenient("\xE2\x82z\xF0\x9F\x98", u'?'), u"?z?");
    EXPECT_EQ(text::FromUtf8Lenient("\xC0\xAF\xE0\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(text::FromUtf8Lenient("\xED\xA0\xBD\xF0\x9F\x98\x80"), u"\xD83D\U0001F600");
}

TEST(TextUtf8, LoneSurrogatesAreReplacedOrKeptPairsBecomeFourBytes) {
    const std::u16string text{0xDE00, 0xD83D, u'x', 0xD83D, 0xDE00, 0xD83D};
    EXPECT_EQ(text::ToUtf8(text), "\xEF\xBF\xBD\xEF\xBF\xBDx\xF0\x9F\x98\x80\xEF\xBF\xBD");
    EXPECT_EQ(text::ToUtf8(text, LoneSurrogate::Keep),
              "\xED\xB8\x80\xED\xA0\xBDx\xF0\x9F\x98\x80\xED\xA0\xBD");
    EXPECT_EQ(text::FindLoneSurrogate(text), 0u);
    EXPECT_EQ(text::FindLoneSurrogate(u"a\xD83D\xDE00\xDE00\xD83D"), 3u);  // the wrong order
    EXPECT_EQ(text::FindLoneSurrogate(u"a\U0001F600\uFFFF"), std::u16string_view::npos);
    // What the strict decoder accepts comes back unchanged.
    EXPECT_EQ(text::ToUtf8(*text::FromUtf8("\x7F\xC2\x80\xDF\xBF\xF0\x90\x80\x80")),
              "\x7F\xC2\x80\xDF\xBF\xF0\x90\x80\x80");
}

TEST(TextHex, DigitsOfEitherCaseAndNothingElse) {
    for (char c : std::string("/:@G`g \xC1"))
        EXPECT_EQ(text::HexValue(c), -1) << c;
    EXPECT_EQ(text::HexValue(u'\u0130'), -1);  // only a low byte that is '0'
    EXPECT_EQ(text::HexValue('0') + text::HexValue('f') + text::HexValue('F'), 30);
    EXPECT_EQ(text::OctetsToHex(std::vector<std::uint8_t>{0x00, 0x9F, 0xFA}), "009FFA");
    EXPECT_EQ(text::OctetsToHex<char16_t>(std::vector<std::uint8_t>{0x0A}), u"0A");
    EXPECT_EQ(text::HexToOctets("0a9F"), (std::vector<std::uint8_t>{0x0A, 0x9F}));
    EXPECT_EQ(text::HexToOctets(""), std::vector<std::uint8_t>{});
    EXPECT_EQ(text::HexToOctets("0A9"), std::nullopt);  // odd
    EXPECT_EQ(text::HexToOctets("0G"), std::nullopt);
}

TEST(TextAscii, OnlyAsciiLettersChangeCase) {
    EXPECT_EQ(text::ToUpperAscii(u"az@[`{\u00E9\u0131"), u"AZ@[`{\u00E9\u0131");
    EXPECT_EQ(text::ToLowerAscii("AZ@[`{\xC3\x89"), "az@[`{\xC3\x89");
    EXPECT_TRUE(text::EqualsIgnoringCase(u"At+cMgs", u"AT+CMGS"));
    EXPECT_FALSE(text::EqualsIgnoringCase("\xC3\xA9", "\xC3\x89"));
    EXPECT_FALSE(text::EqualsIgnoringCase("@", "`"));
    EXPECT_TRUE(text::StartsWithIgnoringCase("at+cmgw=1", "AT+CMGW="));
    EXPECT_FALSE(text::StartsWithIgnoringCase("a", "AT"));
}

TEST(TextTrim, BlanksOffEitherEnd) {
    EXPECT_EQ(text::Trim(" \t a b\t "), "a b");
    EXPECT_EQ(text::Trim(u" \t \t"), u"");
    EXPECT_EQ(text::Trim(u""), u"");
    EXPECT_EQ(text::Trim(" \r\n", " \r\n"), "");
    EXPECT_EQ(text::Trim("\r x \r"), "\r x \r");  // only the blanks named
    EXPECT_EQ(text::TrimStart("  x  "), "x  ");
    EXPECT_EQ(text::TrimStart(" \t "), "");
    EXPECT_EQ(text::TrimEnd(u"  x \t"), u"  x");
}

TEST(TextDecimal, LeadingIntSaturates) {
    EXPECT_EQ(text::LeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(text::LeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(text::LeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(text::LeadingInt(u"-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(text::LeadingInt(u"\v+12a3"), 12);
    EXPECT_EQ(text::LeadingInt("+-1"), 0);
}

TEST(TextDecimal, WholeDigitTextsOnly) {
    // The text, the most digits, the base and the value.
    const std::tuple<const char*, std::size_t, unsigned, std::optional<std::uint32_t>> rows[] = {
        {"", 3, 10, {}},
        {"007", 3, 10, 7},
        {"0007", 3, 10, {}},
        {"+7", 3, 10, {}},
        {" 7", 3, 10, {}},
        {"7a", 3, 10, {}},
        {"ffFF", 8, 16, 0xFFFF},
        {"ff", 8, 10, {}},
        {"4294967295", 10, 10, UINT32_MAX},
        {"99999999999", 20, 10, UINT32_MAX},
        {"100000000", 9, 16, UINT32_MAX},
    };
    for (const auto& [digits, most, base, value] : rows)
        EXPECT_EQ(text::ParseDigits(digits, most, base), value) << digits;
    EXPECT_EQ(text::ParseDigits(u"255", 3), 255u);
}

}  // namespace
