// Names in each character set of AT+CSCS, both ways.

#include <gtest/gtest.h>

#include "phonesim/Charset.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class CharsetCommands : public ::testing::Test {
protected:
    CharsetCommands() {
        h.At("AT+CMEE=1");
        h.phone.Phonebook("ME").entries[200] = {"123", 129, u"Zo\u00eb \u20ac\"\\"};
    }
    std::string Read200() { return h.At("AT+CPBR=200"); }
    std::u16string Stored(int index) { return h.phone.Phonebook("ME").entries.at(index).name; }
    PhoneHarness h;
};

TEST_F(CharsetCommands, ListAndQuery) {
    EXPECT_EQ(h.At("AT+CSCS=?"),
              "\r\n+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"UCS2\",\"UTF-8\")\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCS=\"utf-8\""), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCS?"), "\r\n+CSCS: \"UTF-8\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCS=\"EBCDIC\""), "\r\n+CME ERROR: 4\r\n");
}

TEST_F(CharsetCommands, IraReplacesWhatItCannotCarryAndEscapesQuotes) {
    EXPECT_EQ(Read200(), "\r\n+CPBR: 200,\"123\",129,\"Zo? ?\\22\\5C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"A\\22B\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(201), u"A\"B");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"caf\xe9\""), "\r\n+CME ERROR: 25\r\n");
}

TEST_F(CharsetCommands, Utf8BothWays) {
    h.At("AT+CSCS=\"UTF-8\"");
    EXPECT_EQ(Read200(),
              "\r\n+CPBR: 200,\"123\",129,\"Zo\xc3\xab \xe2\x82\xac\\22\\5C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd/M\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(201), u"\u0418\u0432\u0430\u043d/M");
    // A character outside the BMP arrives as one 4-byte sequence and leaves as one.
    EXPECT_EQ(h.At("AT+CPBW=202,\"1\",129,\"\xf0\x9f\x98\x80\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(202), u"\U0001F600");
    EXPECT_EQ(h.At("AT+CPBR=202"), "\r\n+CPBR: 202,\"1\",129,\"\xf0\x9f\x98\x80\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=203,\"1\",129,\"\xc3\""), "\r\n+CME ERROR: 25\r\n");
}

TEST_F(CharsetCommands, Ucs2IsHexOfUtf16Units) {
    h.At("AT+CSCS=\"UCS2\"");
    EXPECT_EQ(Read200(),
              "\r\n+CPBR: 200,\"123\",129,\"005A006F00EB002020AC0022005C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"004100F8\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(201), u"A\u00f8");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"00410\""), "\r\n+CME ERROR: 25\r\n");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"00G1\""), "\r\n+CME ERROR: 25\r\n");
}

TEST_F(CharsetCommands, GsmUsesDefaultAlphabetCodes) {
    h.At("AT+CSCS=\"GSM\"");
    // e-diaeresis has no GSM code, the euro sign is escape + 0x65, the quote cannot travel.
    EXPECT_EQ(Read200(),
              std::string("\r\n+CPBR: 200,\"123\",129,\"Zo? \x1b\x65?\x1b\x2f\"\r\n\r\nOK\r\n"));
    EXPECT_EQ(h.At(std::string("AT+CPBW=201,\"1\",129,\"\x1c\x7d") + "\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(201), u"\u00c6\u00f1");
}

TEST_F(CharsetCommands, Latin1CarriesWesternLetters) {
    h.At("AT+CSCS=\"8859-1\"");
    EXPECT_EQ(Read200(), "\r\n+CPBR: 200,\"123\",129,\"Zo\xeb ?\\22\\5C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=201,\"1\",129,\"caf\xe9\""), "\r\nOK\r\n");
    EXPECT_EQ(Stored(201), u"caf\u00e9");
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
