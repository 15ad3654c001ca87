// Names in each character set of AT+CSCS, both ways.

#include <gtest/gtest.h>

#include "phonesim/Charset.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

struct CharsetCase {
    std::string set;
    std::string stored;            // how the stored name below travels
    std::string written;           // a name written in the set
    std::u16string kept;           // what the phone keeps of it
    std::vector<std::string> bad;  // names not valid in the set
};

const CharsetCase kCharsets[] = {
    // What a set cannot carry becomes '?'; quote and backslash travel as \HH.
    {"IRA", R"(Zo? ?\22\5C)", R"(A\22B)", u"A\"B", {"caf\xe9"}},
    {"8859-1", "Zo\xeb ?\\22\\5C", "caf\xe9", u"caf\u00e9", {}},
    // A character outside the BMP arrives as one 4-byte sequence and leaves as one.
    {"UTF-8",
     "Zo\xc3\xab \xe2\x82\xac\\22\\5C",
     "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd/\xf0\x9f\x98\x80",
     u"\u0418\u0432\u0430\u043d/\U0001F600",
     {"\xc3"}},
    // UCS2 is the hex of the UTF-16 units.
    {"UCS2", "005A006F00EB002020AC0022005C", "004100F8", u"A\u00f8", {"00410", "00G1"}},
    // GSM: e-diaeresis has no code, the euro sign is escape + 0x65, the quote cannot travel.
    {"GSM", "Zo? \x1b\x65?\x1b\x2f", "\x1c\x7d", u"\u00c6\u00f1", {"\x80"}},
};

TEST(CharsetCommands, NamesTravelInTheSelectedSetBothWays) {
    for (const CharsetCase& c : kCharsets) {
        SCOPED_TRACE(c.set);
        PhoneHarness h;
        h.At("AT+CMEE=1");
        h.phone.Phonebook("ME").entries[200] = {"123", 129, u"Zo\u00eb \u20ac\"\\"};
        EXPECT_EQ(h.At("AT+CSCS=\"" + c.set + "\""), Ok());
        EXPECT_EQ(h.At("AT+CPBR=200"), Info({"+CPBR: 200,\"123\",129,\"" + c.stored + "\""}));
        EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"" + c.written + "\""), Ok());
        EXPECT_EQ(h.phone.Phonebook("ME").entries.at(201).name, c.kept);
        EXPECT_EQ(h.At("AT+CPBR=201"), Info({"+CPBR: 201,\"1\",129,\"" + c.written + "\""}));
        for (const std::string& bad : c.bad)
            EXPECT_EQ(h.At("AT+CPBW=202,\"1\",129,\"" + bad + "\""), Cme(25)) << bad;
    }
}

TEST(CharsetCommands, ListAndQuery) {
    PhoneHarness h;
    h.Talk({{"AT+CMEE=1", Ok()},
            {"AT+CSCS=?", Info({R"(+CSCS: ("GSM","IRA","8859-1","UCS2","UTF-8"))"})},
            {R"(AT+CSCS="utf-8")", Ok()},
            {"AT+CSCS?", Info({R"(+CSCS: "UTF-8")"})},
            {R"(AT+CSCS="EBCDIC")", Cme(4)}});
}

TEST(CharsetFunctions, GsmTableRoundTripsEveryCode) {
    for (unsigned code = 0; code < 128; ++code) {
        if (code == 0x1B)
            continue;
        const std::u16string text = GsmToText({static_cast<unsigned char>(code)});
        const auto back = TextToGsm(text);
        ASSERT_TRUE(back.has_value()) << code;
        EXPECT_EQ(*back, std::vector<unsigned char>{static_cast<unsigned char>(code)}) << code;
    }
    EXPECT_EQ(GsmToText({0x1B}), u"?");
    EXPECT_FALSE(TextToGsm(u"\u00eb").has_value());
}

}  // namespace
}  // namespace phonesim::test
