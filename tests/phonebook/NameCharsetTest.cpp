// Names in the character sets a phone may take: what each carries, and what a phone's reply
// gives that is no name in its set.

#include <gtest/gtest.h>

#include <optional>

#include "phonebook/NameCharset.h"

namespace {

using phonebook::NameCharset;
using enum phonebook::NameCharset;

TEST(NameCharset, RepliesThatAreNoNameInTheirSetGiveNothing) {
    const struct {
        NameCharset set;
        std::u16string field;
        std::optional<std::u16string> name;
    } cases[] = {
        {Ucs2, u"004100E9", u"Aé"},
        {Ucs2, u"d83dde00", u"\U0001F600"},
        {Ucs2, u"", u""},
        {Ucs2, u"00410", std::nullopt},     // odd number of digits
        {Ucs2, u"004", std::nullopt},       // not a whole unit
        {Ucs2, u"0041D800", std::nullopt},  // high surrogate alone
        {Ucs2, u"DC000041", std::nullopt},  // low surrogate alone
        {Ucs2, u"00G1", std::nullopt},
        {Gsm, u"Caf\x05 \x1B\x3C\x1B\x65\x1B\x3E", u"Café [€]"},
        {Gsm, u"\x15\x14", u"ΩΛ"},
        {Gsm, u"Ann\x1B", std::nullopt},   // escape at the end
        {Gsm, u"\x1B\x41", std::nullopt},  // escape before a code with no character
        {Gsm, u"A\x80", std::nullopt},
        {Gsm, u"A\uFFFD", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(phonebook::DecodeName(c.field, c.set), c.name) << testing::PrintToString(c.field);
}

TEST(NameCharset, ANameGoesOutInItsSetOrNamesTheCharacterItCannotCarry) {
    const struct {
        NameCharset set;
        std::u16string name;
        std::u16string text;  // what goes between the quotes
        std::size_t length;
        std::u16string refused;
    } cases[] = {
        {Ucs2, u"Aé/H", u"004100E9002F0048", 4, u""},
        {Ucs2, u"\U0001F600", u"D83DDE00", 2, u""},
        {Ucs2, u"A\xD800", u"", 0, u"\xD800"},
        // A quote as a phone sending text gives it is a quote again.
        {Ucs2, u"The \\22Boss\\22", u"005400680065002000220042006F007300730022", 10, u""},
        {Gsm, u"a\\5Cb\\", u"a\x1B/b\x1B/", 6, u""},
        {Gsm, u"a\\22", u"", 0, u"\""},
        // The extension table counts two.
        {Gsm, u"{€}", u"\x1B\x28\x1B\x65\x1B\x29", 6, u""},
        {Gsm, u"Jürgen Müller", u"J\x7Ergen M\x7Eller", 13, u""},
        {Gsm, u"Łukasz", u"", 0, u"Ł"},
        {Gsm, u"Ann 王", u"", 0, u"王"},
        {Gsm, u"A\U0001F600", u"", 0, u"\U0001F600"},
        // Codes the command line takes for something else: backspace, null, XON, Ctrl-Z.
        {Gsm, u"Bò", u"", 0, u"ò"},
        {Gsm, u"a@b", u"", 0, u"@"},
        {Gsm, u"a_b", u"", 0, u"_"},
        {Gsm, u"Ξ", u"", 0, u"Ξ"},
        {Ira, u"Ann/M", u"Ann/M", 5, u""},
        {Ira, u"José", u"", 0, u"é"},
        {Utf8, u"Łukasz", u"Łukasz", 6, u""},
    };
    for (const auto& c : cases) {
        const phonebook::EncodedName out = phonebook::EncodeName(c.name, c.set);
        EXPECT_EQ(std::tie(out.text, out.length, out.refused),
                  std::tie(c.text, c.length, c.refused))
            << testing::PrintToString(c.name);
        if (c.refused.empty() && c.name.find(u'\\') == std::u16string::npos) {
            EXPECT_EQ(phonebook::DecodeName(out.text, c.set), c.name);
        }
    }
}

TEST(NameCharset, TheSetsToTryFollowThePreferenceNotTheOrderOffered) {
    using V = std::vector<NameCharset>;
    const std::pair<std::u16string, V> cases[] = {
        {u"+CSCS: (\"GSM\",\"IRA\",\"UCS2\")", V{Ucs2, Gsm, Ira}},
        {u"+CSCS: (\"IRA\",\"gsm\",\"8859-1\",\"PCCP437\")", V{Gsm, Ira}},
        {u"+CSCS: \"IRA\",\"UCS2\"", V{Ucs2, Ira}},
        {u"+CSCS: (\"HEX\",\"UTF-8\")", V{}},
        {u"+CSCS: (\"GSM", V{}},
    };
    for (const auto& [line, sets] : cases)
        EXPECT_EQ(phonebook::CharsetsToTry(line), sets) << testing::PrintToString(line);
}

}  // namespace
