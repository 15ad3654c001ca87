#include "link/Utf8Converter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using platform::BYTE;
using platform::DWORD;

namespace {

std::string ToUtf8(const std::u16string& text) {
    CUtf8Converter c;
    DWORD size = 0;
    c.ToUtf8(text.data(), DWORD(text.size() * 2), nullptr, 0, &size);
    std::string out(size, '\0');
    EXPECT_EQ(c.ToUtf8(text.data(), DWORD(text.size() * 2), out.data(), size, &size), 1);
    EXPECT_EQ(size, out.size());
    return out;
}

std::u16string FromUtf8(const std::string& bytes) {
    CUtf8Converter c;
    DWORD size = 0;
    c.FromUtf8(bytes.data(), DWORD(bytes.size()), nullptr, 0, &size);
    EXPECT_EQ(size % 2, 0u);
    std::u16string out(size / 2, u'\0');
    EXPECT_EQ(c.FromUtf8(bytes.data(), DWORD(bytes.size()), out.data(), size, &size), 1);
    EXPECT_EQ(size, out.size() * 2);
    return out;
}

}  // namespace

TEST(Utf8Converter, WritesEachCodeUnitByTheTable) {
    EXPECT_EQ(ToUtf8(u"AT\r"), "AT\r");
    EXPECT_EQ(ToUtf8(u"\u007F\u0080\u00E9\u07FF"), "\x7F\xC2\x80\xC3\xA9\xDF\xBF");
    EXPECT_EQ(ToUtf8(u"\u0800\u20AC\uFFFF"), "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF");
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
}

TEST(Utf8Converter, WritesASurrogatePairAsOneFourByteSequence) {
    EXPECT_EQ(ToUtf8(u"A\U0001F600B"),
              "A\xF0\x9F\x98\x80"
              "B");
    EXPECT_EQ(ToUtf8(u"\U00010000\U0010FFFF"), "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    // A lone half is still written by value rather than dropped.
    EXPECT_EQ(ToUtf8(std::u16string{0xD83D, u'x'}), "\xED\xA0\xBDx");
    EXPECT_EQ(ToUtf8(std::u16string{0xDE00}), "\xED\xB8\x80");
    EXPECT_EQ(ToUtf8(std::u16string{0xDE00, 0xD83D}), "\xED\xB8\x80\xED\xA0\xBD");
}

TEST(Utf8Converter, SizesFirstAndConvertsOnlyWhatFits) {
    CUtf8Converter c;
    const std::u16string text = u"\u20AC1";
    char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    DWORD size = 99;
    EXPECT_EQ(c.ToUtf8(text.data(), 4, out, 3, &size), 0);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(out[0], 'x');  // nothing written
    EXPECT_EQ(c.ToUtf8(text.data(), 4, nullptr, 100, &size), 0);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(c.ToUtf8(text.data(), 4, out, 4, &size), 1);
    EXPECT_EQ(std::string(out, 4),
              "\xE2\x82\xAC"
              "1");
    size = 99;
    EXPECT_EQ(c.ToUtf8(text.data(), 0, nullptr, 0, &size), 1);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(c.FromUtf8("", 0, nullptr, 0, &size), 1);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(c.FromUtf8("ab", 2, out, 3, &size), 0);
    EXPECT_EQ(size, 4u);
    // An odd trailing byte is no code unit.
    EXPECT_EQ(c.ToUtf8("A\0B", 3, out, 8, &size), 1);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(c.ToUtf8(nullptr, 2, out, 8, &size), 0);
    EXPECT_EQ(c.ToUtf8(text.data(), 4, out, 8, nullptr), 1);
}

TEST(Utf8Converter, ReadsOneTwoThreeAndFourByteSequences) {
    EXPECT_EQ(FromUtf8("\r\nOK\r\n"), u"\r\nOK\r\n");
    EXPECT_EQ(FromUtf8("\xC3\xA9\xE2\x82\xAC"), u"\u00E9\u20AC");
    EXPECT_EQ(FromUtf8("Zo\xC3\xAB \xF0\x9F\x98\x80!"), u"Zo\u00EB \U0001F600!");
    EXPECT_EQ(FromUtf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    EXPECT_EQ(FromUtf8(std::string("A\0B", 3)), std::u16string(u"A\0B", 3));
    // A pair sent as two three-byte forms, as older software wrote it, comes back whole.
    EXPECT_EQ(FromUtf8("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600");
}

struct BadUtf8 {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class Utf8ConverterBadInput : public ::testing::TestWithParam<BadUtf8> {};

TEST_P(Utf8ConverterBadInput, BecomesReplacementCharactersAndKeepsTheRest) {
    EXPECT_EQ(FromUtf8(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8Converter, Utf8ConverterBadInput,
    ::testing::Values(BadUtf8{"StrayContinuation", "A\x80z\xBF\xBF", u"A\uFFFDz\uFFFD\uFFFD"},
                      BadUtf8{"LeadWithoutContinuation", "\xC3z\xE2\x82z", u"\uFFFDz\uFFFDz"},
                      BadUtf8{"TruncatedAtTheEnd", "OK\xF0\x9F\x98", u"OK\uFFFD"},
                      BadUtf8{"OverlongTwoByte", "\xC0\xAFz", u"\uFFFD\uFFFDz"},
                      BadUtf8{"OverlongThreeByte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
                      BadUtf8{"OverlongFourByte", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      BadUtf8{"AboveUnicode", "\xF4\x90\x80\x80z", u"\uFFFD\uFFFD\uFFFD\uFFFDz"},
                      BadUtf8{"NeverValidBytes", "\xF5\xFE\xFF-end", u"\uFFFD\uFFFD\uFFFD-end"},
                      BadUtf8{"BrokenInsideFourBytes", "\xF0\x9Fz", u"\uFFFDz"}),
    [](const auto& info) { return info.param.name; });

TEST(Utf8Converter, RoundTripsEveryCharacter) {
    std::u16string all;
    for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x10000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        if (cp < 0x10000) {
            all += char16_t(cp);
        } else {
            all += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            all += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

// Whatever a phone sends: the size pass and the conversion agree, nothing is read or written
// outside the buffers (checked by the sanitizers), and every call returns.
TEST(Utf8Converter, SurvivesArbitraryBytes) {
    std::mt19937 rng(20261206);
    CUtf8Converter c;
    for (int round = 0; round < 3000; ++round) {
        std::vector<BYTE> bytes(rng() % 40);
        for (auto& b : bytes)
            b = BYTE(rng() % 4 == 0 ? 0x80 + rng() % 0x80 : rng());
        DWORD size = 0;
        c.FromUtf8(bytes.data(), DWORD(bytes.size()), nullptr, 0, &size);
        ASSERT_LE(size, bytes.size() * 2);
        std::vector<BYTE> out(size + 1, 0xAA);
        DWORD written = 0;
        ASSERT_EQ(c.FromUtf8(bytes.data(), DWORD(bytes.size()), out.data(), size, &written), 1);
        ASSERT_EQ(written, size);
        ASSERT_EQ(out[size], 0xAA);
        DWORD back = 0;
        c.ToUtf8(out.data(), size, nullptr, 0, &back);
        ASSERT_LE(back, size / 2 * 3);
    }
}
