#include "link/Utf8Converter.h"

#include <gtest/gtest.h>

#include <string>

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

struct Both {
    std::u16string text;
    std::string bytes;
};

}  // namespace

TEST(Utf8Converter, WritesAndReadsEachLengthOfSequence) {
    const Both cases[] = {
        {u"\r\nOK\r\n", "\r\nOK\r\n"},
        {std::u16string(u"A\0B", 3), std::string("A\0B", 3)},
        {u"\u007F\u0080\u00E9\u07FF", "\x7F\xC2\x80\xC3\xA9\xDF\xBF"},
        {u"\u0800\u20AC\uFFFF", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF"},
        // A surrogate pair is one four-byte sequence.
        {u"A\U0001F600B",
         "A\xF0\x9F\x98\x80"
         "B"},
        {u"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
    };
    for (const Both& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(ToUtf8(c.text), c.bytes);
        EXPECT_EQ(FromUtf8(c.bytes), c.text);
    }
    // A lone half is still written by value rather than dropped, and a pair sent as two
    // three-byte forms, as older software wrote it, comes back whole.
    EXPECT_EQ(ToUtf8(std::u16string{0xD83D, u'x'}), "\xED\xA0\xBDx");
    EXPECT_EQ(ToUtf8(std::u16string{0xDE00, 0xD83D}), "\xED\xB8\x80\xED\xA0\xBD");
    EXPECT_EQ(FromUtf8("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600");
}

TEST(Utf8Converter, BadInputBecomesReplacementCharactersAndKeepsTheRest) {
    const Both cases[] = {
        {u"A\uFFFDz\uFFFD\uFFFD", "A\x80z\xBF\xBF"},          // stray continuations
        {u"\uFFFDz\uFFFDz", "\xC3z\xE2\x82z"},                // lead without continuation
        {u"OK\uFFFD", "OK\xF0\x9F\x98"},                      // cut at the end
        {u"\uFFFDz", "\xF0\x9Fz"},                            // broken inside four bytes
        {u"\uFFFD\uFFFDz", "\xC0\xAFz"},                      // overlong, two bytes
        {u"\uFFFD\uFFFD\uFFFD", "\xE0\x80\xAF"},              // overlong, three
        {u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF0\x8F\xBF\xBF"},    // overlong, four
        {u"\uFFFD\uFFFD\uFFFD\uFFFDz", "\xF4\x90\x80\x80z"},  // above U+10FFFF
        {u"\uFFFD\uFFFD\uFFFD-end", "\xF5\xFE\xFF-end"},      // never valid
    };
    for (const Both& c : cases) {
        EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.bytes;
    }
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
