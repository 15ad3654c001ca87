// Latency, line speed, purges and the scripted faults, in virtual time. The transcript is what
// every session test reads its commands and times from.

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class PhoneTiming : public ::testing::Test {
protected:
    PhoneTiming() { phone.State().echo = false; }
    Phone phone{ShippedProfile("default")};
};

TEST_F(PhoneTiming, EchoAtOnceThenTheAnswerAfterTheLatencyAtTheLineSpeed) {
    phone.State().echo = true;
    phone.Receive("AT\r", 1000);
    EXPECT_EQ(phone.Read(1000), "");
    EXPECT_EQ(phone.Read(1004), "AT\r");
    EXPECT_EQ(phone.Read(1050), "");
    // 9600 baud: a byte every 1.0417 ms after the 50 ms latency.
    EXPECT_EQ(phone.Read(1055), "\r\nOK");
    EXPECT_EQ(phone.Read(1056), "\r");
    EXPECT_EQ(phone.Read(1057), "\n");
}

TEST_F(PhoneTiming, LatencyPerCommandAndUnpacedLine) {
    phone.SetCommandLatency("AT+CPBR", 500);
    phone.SetCommandLatency("AT+CPBR=?", 20);
    phone.SetBaud(0);
    phone.Receive("AT+CPBR=1\r", 0);
    EXPECT_EQ(phone.Read(499), "");
    EXPECT_EQ(phone.Read(500).size(), 51u);  // the whole answer at once
    phone.Receive("AT+CPBR=?\r", 1000);
    EXPECT_EQ(phone.Read(1020), "\r\n+CPBR: (1-250),40,40\r\n\r\nOK\r\n");
}

TEST_F(PhoneTiming, PurgeDropsWhatArrivedAndKeepsWhatIsStillOnTheLine) {
    phone.Receive("AT+CPBR=1,25\r", 0);
    // A long answer trickles in at 9600 baud: 192 bytes in the 200 ms after the latency.
    EXPECT_EQ(phone.Arrived(250), 192u);
    EXPECT_EQ(phone.Purge(250), 192u);
    EXPECT_EQ(phone.Arrived(250), 0u);
    const std::size_t onTheLine = phone.OnTheLine(250);
    EXPECT_GT(onTheLine, 0u);
    const std::string late = phone.Read(60'000);
    EXPECT_EQ(late.size(), onTheLine);
    EXPECT_EQ(late.substr(late.size() - 6), "\r\nOK\r\n");
}

class PhoneFaults : public PhoneTiming {
protected:
    std::string Exchange(const std::string& line) {
        phone.Receive(line + "\r", now);
        now += 20'000;
        return phone.Read(now);
    }
    std::uint64_t now = 0;
};

TEST_F(PhoneFaults, NoReplyLeavesTheCommandUndoneOnceAndSwallowsTheEcho) {
    phone.State().echo = true;
    phone.AddFault(Fault::NoReply("AT+CMGD"));
    EXPECT_EQ(Exchange("AT+CMGD=1"), "");
    EXPECT_EQ(phone.Storage("ME").messages.count(1), 1u);
    EXPECT_EQ(Exchange("AT+CMGD=1"), "AT+CMGD=1\r" + Ok());
    EXPECT_EQ(phone.Storage("ME").messages.count(1), 0u);
    EXPECT_EQ(phone.CommandLines().size(), 2u);
}

TEST_F(PhoneFaults, ErrorHitsTheChosenCommandsPlainWhateverTheErrorMode) {
    Fault f = Fault::ErrorReply("at");  // a case-insensitive prefix
    f.skip = 1;
    f.times = 2;
    f.atMs = 20'000;
    phone.AddFault(f);
    EXPECT_EQ(Exchange("AT+CMEE=1"), Ok());  // before the start time
    EXPECT_EQ(Exchange("AT"), Ok());         // skipped
    EXPECT_EQ(Exchange("AT+CPMS?"), Error());
    EXPECT_EQ(Exchange("ATE0"), Error());
    EXPECT_EQ(Exchange("AT"), Ok());
}

TEST_F(PhoneFaults, PausedReplyStopsForTheGivenTime) {
    phone.AddFault(Fault::PausedReply("ATI", 5000, 10));
    phone.Receive("ATI\r", 0);
    EXPECT_EQ(phone.Read(1000), "\r\nMarlin T");
    EXPECT_EQ(phone.Read(5000), "");
    EXPECT_EQ(phone.Read(6000), "elecom\r\nMarlin M-3100\r\nV 2.41 2004-11-02\r\n\r\nOK\r\n");
}

TEST_F(PhoneFaults, RawAndCorruptReplies) {
    phone.AddFault(Fault::RawReply("ATI", "\r\nnokia\r\n\r\nOK\r\n"));
    EXPECT_EQ(Exchange("ATI"), "\r\nnokia\r\n\r\nOK\r\n");
    phone.AddFault(Fault::CorruptReply("AT+CGMI", "\xF0\x80", 2));
    EXPECT_EQ(Exchange("AT+CGMI"), "\r\n\xF0\x80Marlin Telecom\r\n\r\nOK\r\n");
    phone.AddFault(Fault::CorruptReply("AT+CGMI"));
    EXPECT_NE(Exchange("AT+CGMI").find('\xFF'), std::string::npos);
}

TEST_F(PhoneFaults, UnsolicitedResultsAtATimeOrAfterACommand) {
    phone.AddFault(Fault::UnsolicitedAt(5000, "RING"));
    EXPECT_EQ(phone.Read(4999), "");
    EXPECT_EQ(phone.NextChangeMs(0), 5000u);
    EXPECT_EQ(phone.Read(5100), "\r\nRING\r\n");
    phone.AddFault(Fault::UnsolicitedAfter("AT+CPMS?", "+CMTI: \"SM\",3"));
    now = 10'000;
    EXPECT_EQ(Exchange("AT+CPMS?"),
              Info({R"(+CPMS: "ME",12,150,"ME",12,150,"ME",12,150)"}) + "\r\n+CMTI: \"SM\",3\r\n");
    // One due during a command's latency comes before its answer.
    phone.AddFault(Fault::UnsolicitedAt(40'020, "RING"));
    phone.Receive("AT\r", 40'000);
    EXPECT_EQ(phone.Read(41'000), "\r\nRING\r\n" + Ok());
}

TEST_F(PhoneFaults, DroppedLinkFailsEverythingUntilRestored) {
    phone.AddFault(Fault::DropAt(5000));
    EXPECT_TRUE(phone.LinkUp(4999));
    phone.Receive("AT\r", 4990);
    EXPECT_FALSE(phone.LinkUp(5000));
    EXPECT_EQ(phone.Read(6000), "");  // the answer due at 5040 never comes
    phone.Receive("AT\r", 6000);
    EXPECT_EQ(phone.CommandLines().size(), 1u);
    phone.RestoreLink();
    now = 7000;
    EXPECT_EQ(Exchange("AT"), Ok());
    // Dropped by a command: no answer to it.
    phone.AddFault(Fault::DropOn("AT+CPBR"));
    EXPECT_EQ(Exchange("AT+CPBR=1,25"), "");
    EXPECT_FALSE(phone.LinkUp(now));
}

TEST_F(PhoneFaults, PduStepFaultsAnswerAfterCtrlZ) {
    Fault f = Fault::ErrorReply("AT+CMGS");
    f.pdu = true;
    phone.AddFault(f);
    EXPECT_EQ(Exchange("AT+CMGS=19"), "\r\n> ");
    EXPECT_EQ(Exchange("0011000C914477000910320000AA05E8329BFD06\x1a"), Error());
    EXPECT_TRUE(phone.Sent().empty());
    EXPECT_EQ(Exchange("AT"), Ok());
}

TEST_F(PhoneFaults, FaultsComeFromTheProfileAndAreSavedWhilePending) {
    phone.Load(ProfileFromJson(R"({
        "echo": false,
        "faults": [
            {"action": "error", "command": "AT+CSCA", "times": 2},
            {"action": "unsolicited", "at": 100, "text": "RING"},
            {"action": "corrupt", "command": "ATI", "hex": "FF80"}
        ]})"));
    EXPECT_EQ(Exchange("AT+CSCA?"), Error() + "\r\nRING\r\n");
    const Profile saved = phone.ToProfile();
    ASSERT_EQ(saved.faults.size(), 2u);
    EXPECT_EQ(saved.faults[0].times, 1);
    EXPECT_EQ(saved.faults[1].bytes, "\xFF\x80");
    EXPECT_NE(ProfileToJson(saved).find("\"hex\": \"FF80\""), std::string::npos);
}

}  // namespace
}  // namespace phonesim::test
