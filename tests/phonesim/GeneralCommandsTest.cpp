// Command line handling, framing and the identification and setting commands.

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

TEST(PhoneFraming, AnswersAreFramedWithCrLfAndEchoedByDefault) {
    PhoneHarness h("default", /*echo=*/true);
    EXPECT_EQ(h.At("AT"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(h.At("ATE0"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(h.At("AT"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("ATE1"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT"), "AT\r\r\nOK\r\n");
}

TEST(PhoneFraming, IdentificationCommandsGiveTheProfileIdentity) {
    PhoneHarness h("nokia");
    EXPECT_EQ(h.At("ATI"), "\r\nNokia\r\nNokia 6310i\r\nV 5.10\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CGMI"), "\r\nNokia\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CGMM"), "\r\nNokia 6310i\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CGMR"), "\r\nV 5.10\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CGSN"), "\r\n350989012345678\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CGMI=?"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("at+gmi"), "\r\nNokia\r\n\r\nOK\r\n");
}

TEST(PhoneFraming, UnknownCommandsAndBrokenLinesAreErrors) {
    PhoneHarness h;
    EXPECT_EQ(h.At("AT+XYZZY"), "\r\nERROR\r\n");
    EXPECT_EQ(h.At("AT+CPBR=\"1"), "\r\nERROR\r\n");  // unterminated string
    EXPECT_EQ(h.At("ATE7"), "\r\nERROR\r\n");
    EXPECT_EQ(h.At("AT!"), "\r\nERROR\r\n");
}

TEST(PhoneFraming, TextWithoutAtAndEmptyLinesGetNoAnswer) {
    PhoneHarness h;
    EXPECT_EQ(h.At("hello"), "");
    EXPECT_EQ(h.Send("\r\r\n"), "");
    EXPECT_EQ(h.phone.CommandLines(), std::vector<std::string>{"hello"});
}

TEST(PhoneFraming, LineEditingAndTerminators) {
    PhoneHarness h;
    EXPECT_EQ(h.Send("ATX\bI\r"),
              "\r\nMarlin Telecom\r\nMarlin M-3100\r\nV 2.41 2004-11-02\r\n\r\nOK\r\n");
    // CR LF from a terminal: the LF does not start the next command.
    EXPECT_EQ(h.Send("AT\r\nAT\r\n"), "\r\nOK\r\n\r\nOK\r\n");
    // A stray Ctrl-Z or Esc in command state is dropped.
    EXPECT_EQ(h.Send("\x1b\x1a"
                     "AT\r"),
              "\r\nOK\r\n");
}

TEST(PhoneFraming, SeveralCommandsOnOneLineStopAtTheFirstError) {
    PhoneHarness h;
    EXPECT_EQ(h.At("AT+CMEE=1;+CMEE?"), "\r\n+CMEE: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("ATE0V1+CSCS?"), "\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=0;+CMEE=0"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.phone.State().cmee, 1);
}

TEST(PhoneFraming, OverlongLineIsAnError) {
    PhoneHarness h;
    EXPECT_EQ(h.At("AT" + std::string(5000, 'E')), "\r\nERROR\r\n");
    EXPECT_EQ(h.At("AT"), "\r\nOK\r\n");
}

TEST(PhoneSettings, NumericAndQuietResultCodes) {
    PhoneHarness h;
    EXPECT_EQ(h.At("ATV0"), "0\r");
    EXPECT_EQ(h.At("AT+CGMI"), "Marlin Telecom\r\n0\r");
    EXPECT_EQ(h.At("AT+NOPE"), "4\r");
    EXPECT_EQ(h.At("ATV1Q1"), "");
    EXPECT_EQ(h.At("AT+CSCS?"), "\r\n+CSCS: \"IRA\"\r\n");
    EXPECT_EQ(h.At("ATQ0"), "\r\nOK\r\n");
}

TEST(PhoneSettings, ResetRestoresThePowerOnSettings) {
    PhoneHarness h;
    h.phone.Load(ProfileWithPatch(ShippedProfile("default"), R"({"echo": false})"));
    h.At("AT+CMEE=2;+CSCS=\"UCS2\";E1");
    EXPECT_EQ(h.At("ATZ"), "ATZ\r\r\nOK\r\n");
    EXPECT_FALSE(h.phone.State().echo);
    EXPECT_EQ(h.phone.State().cmee, 0);
    EXPECT_EQ(h.phone.State().charset, "IRA");
}

TEST(PhoneSettings, ErrorModeSelectsPlainNumericOrWordedErrors) {
    PhoneHarness h;
    EXPECT_EQ(h.At("AT+CMEE=?"), "\r\n+CMEE: (0-2)\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=0"), "\r\nERROR\r\n");
    EXPECT_EQ(h.At("AT+CMGD=99"), "\r\nERROR\r\n");
    h.At("AT+CMEE=1");
    EXPECT_EQ(h.At("AT+CPBR=0"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CMGD=99"), "\r\n+CMS ERROR: 321\r\n");
    h.At("AT+CMEE=2");
    EXPECT_EQ(h.At("AT+CPBR=0"), "\r\n+CME ERROR: invalid index\r\n");
    EXPECT_EQ(h.At("AT+CMGD=99"), "\r\n+CMS ERROR: invalid memory index\r\n");
    // Unknown commands stay plain ERROR in every mode.
    EXPECT_EQ(h.At("AT+XYZZY"), "\r\nERROR\r\n");
    EXPECT_EQ(h.At("AT+CMEE=3"), "\r\n+CME ERROR: operation not supported\r\n");
}

TEST(PhoneSettings, ThirdPartyStatusQueries) {
    PhoneHarness h;
    EXPECT_EQ(h.At("AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSQ"), "\r\n+CSQ: 21,99\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CIMI"), "\r\n234150123456789\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT&FE0&C1&D2S7=60"), "\r\nOK\r\n");
}

}  // namespace
}  // namespace phonesim::test
