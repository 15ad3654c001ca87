// Latency, line speed, purges and the scripted faults, in virtual time. The transcript is what
// every session test reads its commands and times from.

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

TEST_F(PhoneTiming, FaultsStartAtTheirTimeSkipAndRepeatAsScripted) {
    Fault f = Fault::ErrorReply("at");
    f.skip = 1;
    f.times = 2;
    f.atMs = 10'000;
    phone.AddFault(f);
    EXPECT_EQ(At("AT+CMEE=1"), Ok());  // before the start time
    EXPECT_EQ(At("AT"), Ok());         // skipped
    EXPECT_EQ(At("AT+CPMS?"), Error());
    EXPECT_EQ(At("ATE0"), Error());
    EXPECT_EQ(At("AT"), Ok());
}

TEST_F(PhoneTiming, PausedReplyStopsForTheGivenTime) {
    phone.AddFault(Fault::PausedReply("ATI", 5000, 10));
    phone.Receive("ATI\r", 0);
    EXPECT_EQ(phone.Read(1000), "\r\nMarlin T");
    EXPECT_EQ(phone.Read(5000), "");
    EXPECT_EQ(phone.Read(6000), "elecom\r\nMarlin M-3100\r\nV 2.41 2004-11-02\r\n\r\nOK\r\n");
}

TEST_F(PhoneTiming, DroppedLinkFailsEverythingUntilRestored) {
    phone.AddFault(Fault::DropAt(5000));
    EXPECT_TRUE(phone.LinkUp(4999));
    phone.Receive("AT\r", 4990);
    EXPECT_FALSE(phone.LinkUp(5000));
    EXPECT_EQ(phone.Read(6000), "");  // the answer due at 5040 never comes
    phone.Receive("AT\r", 6000);
    EXPECT_EQ(phone.CommandLines().size(), 1u);
    phone.RestoreLink();
    now = 7000;
    EXPECT_EQ(At("AT"), Ok());
}

TEST_F(PhoneTiming, PduStepFaultsAnswerAfterCtrlZ) {
    Fault f = Fault::ErrorReply("AT+CMGS");
    f.pdu = true;
    phone.AddFault(f);
    EXPECT_EQ(At("AT+CMGS=19"), "\r\n> ");
    EXPECT_EQ(At("0011000C914477000910320000AA05E8329BFD06\x1a"), Error());
    EXPECT_TRUE(phone.Sent().empty());
    EXPECT_EQ(At("AT"), Ok());
}

TEST_F(PhoneTiming, FaultsComeFromTheProfileAndAreSavedWhilePending) {
    phone.Load(ProfileFromJson(R"({
        "echo": false,
        "faults": [
            {"action": "error", "command": "AT+CSCA", "times": 2},
            {"action": "unsolicited", "at": 100, "text": "RING"},
            {"action": "corrupt", "command": "ATI", "hex": "FF80"}
        ]})"));
    EXPECT_EQ(At("AT+CSCA?"), Error() + "\r\nRING\r\n");
    const Profile saved = phone.ToProfile();
    ASSERT_EQ(saved.faults.size(), 2u);
    EXPECT_EQ(saved.faults[0].times, 1);
    EXPECT_EQ(saved.faults[1].bytes, "\xFF\x80");
    EXPECT_NE(ProfileToJson(saved).find("\"hex\": \"FF80\""), std::string::npos);
}

}  // namespace
}  // namespace phonesim::test
