#include "link/Utf8Converter.h"

#include <gtest/gtest.h>

#include <string>

using platform::DWORD;

namespace {

// Both ways as the link converts: the size asked first, then the conversion into just that much.
template <typename Out, typename In>
Out Convert(decltype(&CUtf8Converter::ToUtf8) convert, const In& in) {
    constexpr DWORD kIn = sizeof(in[0]), kOut = sizeof(typename Out::value_type);
    CUtf8Converter c;
    DWORD size = 0;
    (c.*convert)(in.data(), DWORD(in.size() * kIn), nullptr, 0, &size);
    Out out(size / kOut, 0);
    EXPECT_EQ((c.*convert)(in.data(), DWORD(in.size() * kIn), out.data(), size, &size), 1);
    EXPECT_EQ(size, out.size() * kOut);
    return out;
}
std::string ToUtf8(const std::u16string& text) {
    return Convert<std::string>(&CUtf8Converter::ToUtf8, text);
}
std::u16string FromUtf8(const std::string& bytes) {
    return Convert<std::u16string>(&CUtf8Converter::FromUtf8, bytes);
}

struct Both {
    std::u16string text;
    std::string bytes;
};

}  // namespace

TEST(Utf8Converter, WritesAndReadsEachLengthOfSequence) {
    const Both cases[] = {
        {std::u16string(u"A\0B", 3), std::string("A\0B", 3)},
        {u"\u007F\u0080\u00E9\u07FF", "\x7F\xC2\x80\xC3\xA9\xDF\xBF"},
        {u"\u0800\u20AC\uFFFF", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF"},
        {u"A\U0001F600\U00010000\U0010FFFF", "A\xF0\x9F\x98\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"}};
    for (const Both& c : cases) {
        EXPECT_EQ(ToUtf8(c.text), c.bytes);
        EXPECT_EQ(FromUtf8(c.bytes), c.text);
    }
    // A lone half is still written by value rather than dropped, and a pair sent as two
    // three-byte forms, as older software wrote it, comes back whole.
    EXPECT_EQ(ToUtf8(std::u16string{0xDE00, 0xD83D, u'x'}), "\xED\xB8\x80\xED\xA0\xBDx");
    EXPECT_EQ(FromUtf8("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600");
}

TEST(Utf8Converter, BadInputBecomesReplacementCharactersAndKeepsTheRest) {
    const Both cases[] = {{u"A\uFFFDz\uFFFD\uFFFD", "A\x80z\xBF\xBF"},  // stray continuations
                          {u"\uFFFDz\uFFFDz", "\xC3z\xE2\x82z"},        // lead without continuation
                          {u"OK\uFFFD", "OK\xF0\x9F\x98"},              // cut at the end
                          {u"\uFFFD\uFFFDz", "\xC0\xAFz"},              // overlong, two bytes
                          {u"\uFFFD\uFFFD\uFFFD\uFFFDz", "\xF4\x90\x80\x80z"},  // above U+10FFFF
                          {u"\uFFFD\uFFFD\uFFFD-end", "\xF5\xFE\xFF-end"}};     // never valid
    for (const Both& c : cases)
        EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.bytes;
}
