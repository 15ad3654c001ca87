// Command line handling, framing and the identification and setting commands.

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

TEST(PhoneFraming, AnswersAreFramedWithCrLfAndEchoedByDefault) {
    PhoneHarness h("default", /*echo=*/true);
    EXPECT_EQ(h.At("AT"), "AT\r\r\nOK\r\n");
    h.Talk({{"ATE0", "ATE0\r" + Ok()}, {"AT", Ok()}, {"ATE1", Ok()}, {"AT", "AT\r" + Ok()}});
}

// What third-party software asks first: who the phone is, and its SIM and signal.
TEST(PhoneFraming, IdentificationAndStatusQueriesAnswerFromTheProfile) {
    PhoneHarness h("nokia");
    h.Talk({{"ATI", Info({"Nokia", "Nokia 6310i", "V 5.10"})},
            {"AT+CGMI", Info({"Nokia"})},
            {"AT+CGMM", Info({"Nokia 6310i"})},
            {"AT+CGMR", Info({"V 5.10"})},
            {"AT+CGSN", Info({"350989012345678"})},
            {"AT+CGMI=?", Ok()},
            {"at+gmi", Info({"Nokia"})},
            {"AT+CIMI", Info({"234159876543210"})},
            {"AT+CPIN?", Info({"+CPIN: READY"})},
            {"AT+CSQ", Info({"+CSQ: 21,99"})},
            {"AT&FE0&C1&D2S7=60", Ok()}});
}

TEST(PhoneFraming, LineAssembly) {
    PhoneHarness h;
    h.Talk({{"AT+XYZZY", Error()},
            {"AT+CPBR=\"1", Error()},  // unterminated string
            {"ATE7", Error()},
            {"AT!", Error()},
            {"AT" + std::string(5000, 'E'), Error()},
            {"AT", Ok()}});
    EXPECT_EQ(h.Send("ATX\bI\r"), Info({"Marlin Telecom", "Marlin M-3100", "V 2.41 2004-11-02"}));
    // CR LF from a terminal: the LF does not start the next command.
    EXPECT_EQ(h.Send("AT\r\nAT\r\n"), Ok() + Ok());
    // A stray Ctrl-Z or Esc in command state is dropped.
    EXPECT_EQ(h.Send("\x1b\x1a"
                     "AT\r"),
              Ok());
    // Text without AT and empty lines get no answer; only the text is a command line.
    h.phone.ClearTranscript();
    EXPECT_EQ(h.At("hello"), "");
    EXPECT_EQ(h.Send("\r\r\n"), "");
    EXPECT_EQ(h.phone.CommandLines(), std::vector<std::string>{"hello"});
}

TEST(PhoneFraming, SeveralCommandsOnOneLineStopAtTheFirstError) {
    PhoneHarness h;
    h.Talk({{"AT+CMEE=1;+CMEE?", Info({"+CMEE: 1"})},
            {"ATE0V1+CSCS?", Info({"+CSCS: \"IRA\""})},
            {"AT+CPBR=0;+CMEE=0", Cme(21)}});
    EXPECT_EQ(h.phone.State().cmee, 1);
}

TEST(PhoneSettings, NumericAndQuietResultCodes) {
    PhoneHarness h;
    h.Talk({{"ATV0", "0\r"},
            {"AT+CGMI", "Marlin Telecom\r\n0\r"},
            {"AT+NOPE", "4\r"},
            {"ATV1Q1", ""},
            {"AT+CSCS?", "\r\n+CSCS: \"IRA\"\r\n"},
            {"ATQ0", Ok()}});
}

TEST(PhoneSettings, ResetRestoresThePowerOnSettings) {
    PhoneHarness h;
    h.phone.Load(ProfileWithPatch(ShippedProfile("default"), R"({"echo": false})"));
    h.At("AT+CMEE=2;+CSCS=\"UCS2\";E1");
    EXPECT_EQ(h.At("ATZ"), "ATZ\r" + Ok());
    EXPECT_FALSE(h.phone.State().echo);
    EXPECT_EQ(h.phone.State().cmee, 0);
    EXPECT_EQ(h.phone.State().charset, "IRA");
}

TEST(PhoneSettings, ErrorModeSelectsPlainNumericOrWordedErrors) {
    PhoneHarness h;
    h.Talk({{"AT+CMEE=?", Info({"+CMEE: (0-2)"})},
            {"AT+CPBR=0", Error()},
            {"AT+CMGD=99", Error()},
            {"AT+CMEE=1", Ok()},
            {"AT+CPBR=0", Cme(21)},
            {"AT+CMGD=99", Cms(321)},
            {"AT+CMEE=2", Ok()},
            {"AT+CPBR=0", "\r\n+CME ERROR: invalid index\r\n"},
            {"AT+CMGD=99", "\r\n+CMS ERROR: invalid memory index\r\n"},
            // Unknown commands stay plain ERROR in every mode.
            {"AT+XYZZY", Error()},
            {"AT+CMEE=3", "\r\n+CME ERROR: operation not supported\r\n"}});
}

}  // namespace
}  // namespace phonesim::test
