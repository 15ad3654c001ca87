// The phone's answers to command lines: the plain ones as one conversation per profile (each row
// may depend on the rows before it), names in each character set, and random lines.

#include <gtest/gtest.h>

#include <random>

#include "phonesim/Pdu.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

TEST(PhoneCommands, AnswersFollowTheProfileAndTheCommandsBefore) {
    PhoneHarness h;
    const std::string pdu6 = h.phone.Storage("ME").messages.at(6).pdu;
    const std::string pdu3 = h.phone.Storage("SM").messages.at(3).pdu;
    const auto head = [](const std::string& pdu) { return std::to_string(TpduLength(pdu)); };
    // Line assembly: what cannot be a command is refused whole; text without AT and empty
    // lines get no answer; a stray Ctrl-Z or Esc is dropped; LF does not end a line.
    h.Talk({{"AT+XYZZY", Error()},
            {"AT+CPBR=\"1", Error()},
            {"ATE7", Error()},
            {"AT!", Error()},
            {"AT" + std::string(5000, 'E'), Error()},
            {"ATX\bI", Info({"Marlin Telecom", "Marlin M-3100", "V 2.41 2004-11-02"})},
            {"hello", ""},
            {"\r\n", ""},
            {std::string("\x1b\x1a") + "AT", Ok()},
            {"AT\r\nAT\r\n", Ok() + Ok()}});
    // Several commands on a line stop at the first error; error modes: numbered, worded.
    h.Talk({{"AT+CMEE=1;+CMEE?", Info({"+CMEE: 1"})},
            {"AT+CPBR=0;+CMEE=0", Cme(21)},
            {"AT+CMEE=2", Ok()},
            {"AT+CPBR=0", "\r\n+CME ERROR: invalid index\r\n"},
            {"AT+CMEE=1", Ok()}});
    // Reading or listing a received message marks it read; the header gives the TPDU length.
    h.Talk({{"AT+CMGR=6", Info({"+CMGR: 0,," + head(pdu6), pdu6})},
            {"AT+CMGR=6", Info({"+CMGR: 1,," + head(pdu6), pdu6})},
            {"AT+CMGL=5", Cms(304)},
            {R"(AT+CPMS="SM")", Info({"+CPMS: 4,20,14,150,14,150"})},
            {"AT+CMGL=0", Info({"+CMGL: 3,0,," + head(pdu3), pdu3})},
            {"AT+CMGL=0", Ok()}});
    h.Talk({{R"(AT+CSCS="EBCDIC")", Cme(4)}});  // the sets it takes: the next test

    // A full phone refuses before the prompt.
    PhoneHarness full("full");
    full.Talk({{"AT+CMEE=1", Ok()}, {"AT+CMGW=20,3", Cms(322)}});
}

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
    // A character outside the BMP arrives as one 4-byte sequence and leaves as one.
    {"UTF-8",
     "Zo\xc3\xab \xe2\x82\xac\\22\\5C",
     "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd/\xf0\x9f\x98\x80",
     u"\u0418\u0432\u0430\u043d/\U0001F600",
     {"\xc3"}},
    // UCS2 is the hex of the UTF-16 units.
    {"UCS2", "005A006F00EB002020AC0022005C", "004100F8", u"A\u00f8", {"00410", "00G1"}},
    // GSM: e-diaeresis has no code, the euro sign is escape + 0x65, the quote cannot travel.
    {"GSM", "Zo? \x1b\x65?\x1b\x2f", "\x1c\x7d", u"\u00c6\u00f1", {"\x80"}}};

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

// Whatever a host sends, the phone can be brought back to answering. That it survives any input
// is the fuzz target's work (fuzz/PhonesimFuzz.cpp);
TEST(HostileInput, RandomCommandLinesLeaveThePhoneWorking) {
    std::string alphabet = "AT+CPBRWSMGLDF=?,;\"\\0123456789 &EQVZI\x1a\x1b\r\n\x08";
    for (int b = 0x80; b < 0x90; ++b)
        alphabet += static_cast<char>(b);
    std::mt19937 rng(1234);
    PhoneHarness h;
    for (int round = 0; round < 2000; ++round) {
        std::string line = round % 3 == 0 ? "AT+" : "";
        for (std::size_t n = rng() % 40; n > 0; --n)
            line += alphabet[rng() % alphabet.size()];
        h.phone.Receive(line, h.now);
        h.now += 100;
        h.phone.Read(h.now);
    }
    // Whatever state it was left in, then echoing, quiet, terse and in the middle of a message's
    // text: Esc and a fresh line bring it back, and its own commands set it as a client wants it.
    for (const char* state : {"", "ATE1Q1V0+CMGF=0;+CMGS=20\r0011"}) {
        h.Send(state);
        h.Send("\x1b\rATE0Q0V1\r");
        EXPECT_EQ(h.At("AT"), Ok()) << state;
    }
}

}  // namespace
}  // namespace phonesim::test
