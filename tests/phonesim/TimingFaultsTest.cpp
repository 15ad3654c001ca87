// Latency, line speed and the scripted faults, in virtual time. The transcript is what every
// session test reads its commands and times from. The other faults (paused replies, a link dropped
// at a time, a refused PDU, faults in a profile file) are driven by the message, fault scenario
// and command-line tests, which fail when one does not strike (as do the skips and repeats they
// script).

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

// From time 0, each exchange taking 10 s.
struct PhoneTiming : ::testing::Test, PhoneHarness {
    PhoneTiming() { now = 0; }
};

// The default profile's line: 9600 baud, a byte every 1.0417 ms, after a latency of 50 ms.
TEST_F(PhoneTiming, EchoAtOnceThenTheAnswerAfterTheLatencyAtTheLineSpeed) {
    phone.State().echo = true;
    phone.Receive("AT\r", 1000);
    std::vector<std::string> read;
    for (std::uint64_t ms : {1000, 1004, 1050, 1055, 1057})
        read.push_back(phone.Read(ms));
    EXPECT_EQ(read, (std::vector<std::string>{"", "AT\r", "", "\r\nOK", "\r\n"}));
}

// With echo on, each fault on "AT+CMGD=1" (message 1 is there to delete once), then the same
// line again when the fault is spent. The echo comes with any answer. Silence, ERROR and a
// raw reply leave the message, so the second delete succeeds; after a drop nothing answers.
TEST_F(PhoneTiming, EachCommandFaultHitsOnceAndCarriesTheCommandOutOrNot) {
    const struct {
        Fault fault;
        std::string first, second;
    } cases[] = {{Fault::NoReply("AT+CMGD"), "", Ok()},
                 {Fault::ErrorReply("at+cmgd"), Error(), Ok()},
                 {Fault::RawReply("AT+CMGD", "\r\nnokia\r\n"), "\r\nnokia\r\n", Ok()},
                 {Fault::CorruptReply("AT+CMGD"), "\r\nO\xFFK\r\n", Error()},
                 {Fault::CorruptReply("AT+CMGD", "\xF0\x80", 2), "\r\n\xF0\x80OK\r\n", Error()},
                 {Fault::UnsolicitedAfter("AT+CMGD", "+CMTI: \"SM\",3"),
                  Ok() + "\r\n+CMTI: \"SM\",3\r\n", Error()},
                 {Fault::DropOn("AT+CMGD"), "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        phone.Load(ShippedProfile("default"));
        phone.AddFault(c.fault);
        for (const std::string& answer : {c.first, c.second})
            EXPECT_EQ(At("AT+CMGD=1"), answer.empty() ? "" : "AT+CMGD=1\r" + answer);
    }
    EXPECT_FALSE(phone.LinkUp(now));
    EXPECT_EQ(phone.CommandLines(), std::vector<std::string>{"AT+CMGD=1"});
}

}  // namespace
}  // namespace phonesim::test
