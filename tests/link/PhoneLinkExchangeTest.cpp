#include <gtest/gtest.h>

#include <limits>

#include "link/PhoneLink.h"
#include "platform/ScriptedPort.h"
#include "tests/support/PlatformFixture.h"

using namespace platform;

namespace {

const ExpectedBox kReadPortError{u"Read port error", IDOK, MB_OK | MB_ICONEXCLAMATION,
                                 u"Halvex",          0,    {}};

class PhoneLinkExchange : public halvex::test::PlatformTest {
protected:
    PhoneLinkExchange() : port(clock()) {
        ports().Add(u"rfcomm0", port.Factory());
        SetPortName(u"rfcomm0");
    }
    void SetUp() override { ASSERT_EQ(link.Open(), 1); }

    // Sends `command`, waits `seconds`, reads; returns the length and leaves the text in `reply`.
    int Exchange(std::u16string command, float seconds) {
        EXPECT_EQ(link.SendCommand(command), 1);
        link.Wait(seconds);
        return link.ReadResponse(reply);
    }

    // The `read <n>` events after `fromEvent`.
    std::vector<std::string> Reads(std::size_t fromEvent) const {
        std::vector<std::string> out;
        auto events = port.EventNames();
        for (std::size_t i = fromEvent; i < events.size(); ++i)
            if (events[i].rfind("read", 0) == 0)
                out.push_back(events[i]);
        return out;
    }

    ScriptedPort port;
    CPhoneLink link;
    std::u16string reply;
};

TEST_F(PhoneLinkExchange, SendsTheCommandAsUtf8WithACarriageReturnAppendedInPlaceAfterAPurge) {
    std::u16string command = u"AT+CPBW=1,\"+33\",145,\"Zo\u00EB \u20AC\U0001F600\"";
    EXPECT_EQ(link.SendCommand(command), 1);
    EXPECT_EQ(command.back(), u'\r');
    const std::string written =
        "AT+CPBW=1,\"+33\",145,\"Zo\xC3\xAB \xE2\x82\xAC\xF0\x9F\x98\x80\"\r";
    EXPECT_EQ(port.Written(), "AT+CGMI=?\r" + written);
    auto events = port.EventNames();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(events.end() - 3, events.end())),
              (std::vector<std::string>{"purge", "write " + written, "flush"}));
}

// After the caller's wait, at most 128 bytes a read with a second after each non-empty one, until
// a read finds nothing; the length is in bytes of UTF-16 with the null, 0 for no reply at all.
TEST_F(PhoneLinkExchange, ReadsChunksOf128BytesWithASecondAfterEachUntilAReadFindsNothing) {
    struct Case {
        std::size_t bytes;
        std::vector<std::string> reads;
    };
    const Case cases[] = {
        {0, {"read 0"}},
        {6, {"read 6", "read 0"}},
        {128, {"read 128", "read 0"}},
        {129, {"read 128", "read 1", "read 0"}},
        {300, {"read 128", "read 128", "read 44", "read 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string body(c.bytes, 'x');
        if (c.bytes > 0)
            port.On("AT+CPBR=1,25", body, 20, 1);
        const std::size_t before = port.Events().size();
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(Exchange(u"AT+CPBR=1,25", 0.5f), c.bytes > 0 ? int(2 * c.bytes + 2) : 0);
        EXPECT_EQ(reply, std::u16string(c.bytes, u'x'));
        EXPECT_EQ(Reads(before), c.reads);
        EXPECT_EQ(clock().NowMs() - start, 500 + 1000 * (c.reads.size() - 1));
    }
}

TEST_F(PhoneLinkExchange, AReplyTricklingInAtLineSpeedIsCollectedWhole) {
    // 9600 baud: a 600-byte phone book range takes over half a second to arrive.
    port.SetByteTimeUs(1042);
    std::string body;
    for (int i = 1; i <= 20; ++i)
        body += "+CPBR: " + std::to_string(i) + ",\"0123456\",129,\"N\"\r\n";
    body += "\r\nOK\r\n";
    port.On("AT+CPBR=1,25", body, 30);
    EXPECT_EQ(Exchange(u"AT+CPBR=1,25", 0.5f), int(2 * body.size() + 2));
    EXPECT_EQ(reply.substr(reply.size() - 4), u"OK\r\n");
}

TEST_F(PhoneLinkExchange, TheProbesAnswerAndStaleRepliesAreDiscardedByThePurge) {
    link.Close();
    port.On("AT+CGMI=?", "\r\n+CGMI\r\n\r\nOK\r\n", 10);
    ASSERT_EQ(link.Open(), 1);
    clock().Advance(50);
    port.Arrive("\r\nRING\r\n", clock().NowMs());
    port.On("ATI", "\r\nNokia 6310i\r\n\r\nOK\r\n", 40);
    EXPECT_GT(port.Unread(), 0u);
    Exchange(u"ATI", 0.1f);
    EXPECT_EQ(reply, u"\r\nNokia 6310i\r\n\r\nOK\r\n");
}

TEST_F(PhoneLinkExchange, AnUnsolicitedResultDuringCollectionBecomesPartOfTheReply) {
    port.On("AT+CMGD=2", "\r\nOK\r\n", 100);
    port.Arrive("\r\n+CMTI: \"SM\",3\r\n", clock().NowMs() + 1500);
    EXPECT_EQ(Exchange(u"AT+CMGD=2", 1.0f), int(2 * (6 + 17) + 2));
    EXPECT_EQ(reply, u"\r\nOK\r\n\r\n+CMTI: \"SM\",3\r\n");
}

TEST_F(PhoneLinkExchange, AReplyFinishedAfterTheEmptyReadIsCutShortAndTheRestPurged) {
    port.On("AT+CMGL=4", std::vector<ScriptedPort::Piece>{{100, "\r\n+CMGL: 1,1,,23\r\n"},
                                                          {5000, "07911326\r\nOK\r\n"}});
    Exchange(u"AT+CMGL=4", 2.0f);
    EXPECT_EQ(reply, u"\r\n+CMGL: 1,1,,23\r\n");
    clock().Advance(5000);
    port.On("AT", "\r\nOK\r\n", 10);
    Exchange(u"AT", 0.1f);
    EXPECT_EQ(reply, u"\r\nOK\r\n");
}

TEST_F(PhoneLinkExchange, OneUnusualCharacterDoesNotDropTheReply) {
    // An emoji name, and a byte that is not UTF-8 at all.
    port.On("AT+CPBR=1,25",
            "\r\n+CPBR: 1,\"0123\",129,\"Ann\xF0\x9F\x98\x80\"\r\n+CPBR: 2,\"0456\",129,\"B\xFF"
            "b\"\r\n\r\nOK\r\n");
    const int length = Exchange(u"AT+CPBR=1,25", 0.5f);
    const std::u16string expected =
        u"\r\n+CPBR: 1,\"0123\",129,\"Ann\U0001F600\"\r\n+CPBR: 2,\"0456\",129,\"B\uFFFDb\"\r\n"
        u"\r\nOK\r\n";
    EXPECT_EQ(reply, expected);
    EXPECT_EQ(length, int(2 * expected.size() + 2));
}

TEST_F(PhoneLinkExchange, AShortOrFailedWriteIsZeroWithoutAMessageAndAFailedReadMinusOne) {
    port.LimitWrites(2);
    std::u16string command = u"AT";
    EXPECT_EQ(link.SendCommand(command), 0);
    port.LimitWrites(0);
    port.FailNextWrites(1);
    command = u"AT";
    EXPECT_EQ(link.SendCommand(command), 0);

    port.On("AT+CSCA?", "\r\n+CSCA: \"+3312\",145\r\n", 10);
    command = u"AT+CSCA?";
    ASSERT_EQ(link.SendCommand(command), 1);
    link.Wait(3.0f);
    port.FailReads(true);
    reply = u"left over";
    ui().Expect(kReadPortError);
    EXPECT_EQ(link.ReadResponse(reply), -1);
    EXPECT_TRUE(reply.empty());
}

TEST_F(PhoneLinkExchange, WaitSleepsWholeMillisecondsAndIgnoresNonsense) {
    const std::pair<float, std::uint64_t> cases[] = {
        {0.5f, 500}, {3.0f, 3000}, {0.0015f, 1},
        {0.0f, 0},   {-1.0f, 0},   {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& [seconds, ms] : cases) {
        const std::uint64_t start = clock().NowMs();
        link.Wait(seconds);
        EXPECT_EQ(clock().NowMs() - start, ms) << seconds;
    }
}

// The SMS engine borrows the session's handle; once the session closes the port, the borrowed
// handle is stale and must fail like a dropped link, never reach freed state or a later port.
TEST_F(PhoneLinkExchange, ABorrowedHandleThatWentStaleFailsItsWritesAndReads) {
    CPhoneLink borrower;
    borrower.SetPortHandle(link.GetPortHandle());
    std::u16string command = u"AT+CMGL=4";
    EXPECT_EQ(borrower.SendCommand(command), 1);

    const HANDLE stale = link.GetPortHandle();
    ASSERT_EQ(link.Close(), 1);
    const std::string written = port.Written();
    command = u"AT+CMGD=1";
    EXPECT_EQ(borrower.SendCommand(command), 0);
    ui().Expect(kReadPortError);
    EXPECT_EQ(borrower.ReadResponse(reply), -1);

    // The session connects again: the old number does not lead to the new port.
    ASSERT_EQ(link.Open(), 1);
    EXPECT_NE(link.GetPortHandle(), stale);
    command = u"AT+CMGD=1";
    EXPECT_EQ(borrower.SendCommand(command), 0);
    EXPECT_EQ(port.Written(), written + "AT+CGMI=?\r");
    EXPECT_TRUE(port.IsOpen());
    // The borrower's destructor closes its stale handle harmlessly.
}

}  // namespace
