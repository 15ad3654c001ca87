// Sending, storing and sending stored messages, end to end on the simulated phone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/sms/SmsEngineFixture.h"

using halvex::test::Submit;
using halvex::test::U16;
using phonesim::Fault;
using phonesim::kStoredSent;
using phonesim::kStoredUnsent;
using Strings = std::vector<std::string>;
using Ms = std::vector<std::uint64_t>;

namespace {

std::string Ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

class SmsSendTest : public halvex::test::SmsEngineTest {
protected:
    // The PDU the compose dialog builds after asking for the service centre.
    std::u16string Compose(const std::u16string& text, const std::u16string& to) {
        engine.QueryServiceCentre();
        CSmsSubmit message(text, to);
        message.SetServiceCentre(ParseDialNumber(engine.GetServiceCentre()));
        message.SetDcs(0x08);
        return message.Encode();
    }

    // Save&Send of the compose dialog; returns the message it shows.
    std::u16string SaveAndSend(const std::u16string& text, const std::u16string& to) {
        const std::u16string pdu = Compose(text, to);
        const int length = sms::TpduLength(pdu);
        if (!engine.SendPdu(length, pdu)) {
            return u"Message sent error!";
        }
        engine.QueryStorage();
        if (CSmsEngine::DecimalValue(engine.GetStorageUsed()) >=
            CSmsEngine::DecimalValue(engine.GetStorageTotal())) {
            return u"Phone storage full!!";
        }
        return engine.StorePdu(length, pdu, 3) ? u"Message sent ok!" : u"Message saved error!!!";
    }

    static Fault AfterPdu(Fault fault) {
        fault.pdu = true;
        return fault;
    }
};

}  // namespace

TEST_F(SmsSendTest, SendWritesCommandPduAndCtrlZEachWithACarriageReturn) {
    const std::u16string pdu = Compose(u"Hello", u"+447700900123");
    const int length = sms::TpduLength(pdu);
    ASSERT_EQ(pdu.substr(0, 4), u"0791");
    Forget();

    EXPECT_EQ(engine.SendPdu(length, pdu), 1);

    const std::string command = "AT+CMGS=" + std::to_string(length);
    EXPECT_EQ(Writes(), (Strings{command + "\r", Ascii(pdu) + "\r", "\x1a\r"}));
    EXPECT_EQ(commands(), (Strings{command, Ascii(pdu)}));
    // 3 s, the prompt (one chunk), 3 s after the PDU; then 3 s after Ctrl-Z and the result.
    EXPECT_EQ(Gaps(), (Ms{7000, 4000}));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].pdu, Ascii(pdu));
}

TEST_F(SmsSendTest, ServiceCentreGoesOutInternationalButIsStoredAsGiven) {
    std::u16string national = Compose(u"Hi", u"+447700900123");
    national[2] = u'8';  // type of address 81
    const std::u16string copy = national;
    const int length = sms::TpduLength(national);
    Forget();

    ASSERT_EQ(engine.SendPdu(length, national), 1);
    EXPECT_EQ(national, copy);
    std::u16string international = national;
    international[2] = u'9';
    EXPECT_EQ(transcript()[1].line, Ascii(international));

    ASSERT_EQ(engine.StorePdu(length, national, 3), 1);
    EXPECT_EQ(transcript()[3].line, Ascii(national));
    EXPECT_EQ(phone().Storage("ME").messages.at(1).pdu, Ascii(national));
    EXPECT_EQ(engine.GetOutbox().Pdu(0), national);

    // Already international: unchanged.
    ASSERT_EQ(engine.SendPdu(length, international), 1);
    EXPECT_EQ(transcript().back().line, Ascii(international));
}

TEST_F(SmsSendTest, SendResultAfterThePdu) {
    const std::u16string pdu = Compose(u"Result", u"+447700900123");
    const int length = sms::TpduLength(pdu);

    phone().AddFault(AfterPdu(Fault::ErrorReply("AT+CMGS")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 0);

    // Silence after the PDU counts as sent.
    phone().AddFault(AfterPdu(Fault::NoReply("AT+CMGS")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 1);

    // Neither OK nor ERROR: sent.
    phone().AddFault(AfterPdu(Fault::RawReply("AT+CMGS", "\r\n+CMGS: 7\r\n")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 1);
    EXPECT_TRUE(sent().empty());
}

TEST_F(SmsSendTest, SendWithoutPromptWritesNoPdu) {
    const std::u16string pdu = Compose(u"No prompt", u"+447700900123");
    Forget();
    phone().AddFault(Fault::ErrorReply("AT+CMGS"));
    EXPECT_EQ(engine.SendPdu(sms::TpduLength(pdu), pdu), 0);
    phone().AddFault(Fault::NoReply("AT+CMGS"));
    EXPECT_EQ(engine.SendPdu(sms::TpduLength(pdu), pdu), 0);
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Gaps(), (Ms{4000, 3000}));
}

TEST_F(SmsSendTest, OnlyHexPduTextReachesTheLine) {
    EXPECT_EQ(engine.SendPdu(5, u"0791\r\nAT+CMGD=1"), 0);
    EXPECT_EQ(engine.SendPdu(5, u"00\x1a"), 0);
    EXPECT_EQ(engine.SendPdu(5, u"07"), 0);
    EXPECT_EQ(engine.StorePdu(5, u"0791\x1b", 3), 0);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SmsSendTest, StoreTakesTheIndexFromTheReplyAndTheSecondStorageCode) {
    for (int i = 1; i <= 4; ++i) {
        Put("SM", i, kStoredSent, Submit("+447700900001", u"Older"));
    }
    const std::u16string pdu = Compose(u"Keep me", u"+447700900123");
    const int length = sms::TpduLength(pdu);
    engine.SelectStorage(u"SM", u"SM", u"ME");
    ASSERT_EQ(engine.QueryStorage(), 1);
    ASSERT_EQ(engine.GetSecondStorage(), 2);
    Forget();

    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 1);

    const std::string command = "AT+CMGW=" + std::to_string(length) + ",3";
    EXPECT_EQ(Writes(), (Strings{command + "\r", Ascii(pdu) + "\r", "\x1a\r"}));
    EXPECT_EQ(Gaps(), (Ms{7000, 4000}));
    ASSERT_EQ(engine.GetOutbox().Count(), 1);
    EXPECT_EQ(engine.GetOutbox().Pdu(0), pdu);
    EXPECT_EQ(engine.GetOutbox().Index(0), u"5");
    EXPECT_EQ(engine.GetOutbox().Storage(0), 2);
    EXPECT_EQ(phone().Storage("SM").messages.at(5).status, kStoredSent);
}

TEST_F(SmsSendTest, StoreStatusOnlyWhenItIsAStorageStatus) {
    const std::u16string pdu = Compose(u"Status", u"+447700900123");
    const std::string length = std::to_string(sms::TpduLength(pdu));
    Forget();
    for (int status : {0, 2, 3, 4, -1}) {
        engine.StorePdu(sms::TpduLength(pdu), pdu, status);
    }
    const std::vector<std::string> lines = commands();
    std::vector<std::string> storeCommands;
    for (const std::string& line : lines) {
        if (line.rfind("AT+", 0) == 0) {
            storeCommands.push_back(line);
        }
    }
    EXPECT_EQ(storeCommands,
              (Strings{"AT+CMGW=" + length + ",0", "AT+CMGW=" + length + ",2",
                       "AT+CMGW=" + length + ",3", "AT+CMGW=" + length, "AT+CMGW=" + length}));
    EXPECT_EQ(engine.GetOutbox().Count(), 5);
}

TEST_F(SmsSendTest, StoreAnswersBeforeAndAfterThePdu) {
    const std::u16string pdu = Compose(u"Answers", u"+447700900123");
    const int length = sms::TpduLength(pdu);
    Forget();

    // "OK" without a prompt: taken as stored, nothing to add.
    phone().AddFault(Fault::RawReply("AT+CMGW", "\r\nOK\r\n"));
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 1);
    EXPECT_EQ(Writes().size(), 1u);

    phone().AddFault(Fault::ErrorReply("AT+CMGW"));
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 0);
    EXPECT_EQ(Writes().size(), 2u);

    phone().AddFault(AfterPdu(Fault::ErrorReply("AT+CMGW")));
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 0);

    // Stored, but without an index to delete it by later: not listed.
    phone().AddFault(AfterPdu(Fault::RawReply("AT+CMGW", "\r\nOK\r\n")));
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 1);

    EXPECT_EQ(engine.GetOutbox().Count(), 0);
}

TEST_F(SmsSendTest, StoreGivesUpAfterThirtySecondsOfSilence) {
    const std::u16string pdu = Compose(u"Nobody", u"+447700900123");
    const int length = sms::TpduLength(pdu);

    // No prompt ever.
    phone().AddFault(Fault::NoReply("AT+CMGW"));
    std::uint64_t start = clock().NowMs();
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 0);
    std::uint64_t took = clock().NowMs() - start;
    EXPECT_GE(took, 33000u);
    EXPECT_LE(took, 34000u);

    // A prompt, then no result.
    phone().AddFault(AfterPdu(Fault::NoReply("AT+CMGW")));
    start = clock().NowMs();
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 0);
    took = clock().NowMs() - start;
    EXPECT_GE(took, 40000u);
    EXPECT_LE(took, 41000u);
    EXPECT_EQ(engine.GetOutbox().Count(), 0);
}

// A link that drops while the store waits ends the wait with one message, not one per read.
TEST_F(SmsSendTest, StoreEndsWhenTheLinkDrops) {
    const std::u16string pdu = Compose(u"Dropped", u"+447700900123");
    phone().AddFault(Fault::NoReply("AT+CMGW"));
    const std::uint64_t start = clock().NowMs();
    phone().AddFault(Fault::DropAt(start + 8000));
    platform::ExpectedBox box;
    box.text = u"Read port error";
    ui().Expect(box);
    EXPECT_EQ(engine.StorePdu(sms::TpduLength(pdu), pdu, 3), 0);
    EXPECT_LT(clock().NowMs() - start, 9000u);
}

TEST_F(SmsSendTest, StoreWaitsForALateResult) {
    const std::u16string pdu = Compose(u"Slow", u"+447700900123");
    phone().SetCommandLatency("AT+CMGW", 20000);
    EXPECT_EQ(engine.StorePdu(sms::TpduLength(pdu), pdu, 3), 1);
    EXPECT_EQ(engine.GetOutbox().Count(), 1);
}

// The outbox is full, but the phone has stored the message: a success the user is told the
// list cannot show, and nothing is written past the 65 entries.
TEST_F(SmsSendTest, StoreIntoAFullOutbox) {
    const std::string old = Submit("+447700900001", u"Old");
    for (int i = 1; i <= 65; ++i) {
        Put("ME", i, kStoredSent, old);
    }
    ASSERT_EQ(engine.ListMessages(3, CSmsEngine::kOutbox), 1);
    ASSERT_EQ(engine.GetOutbox().Count(), 65);
    const std::u16string pdu = Compose(u"One more", u"+447700900123");
    ExpectMessageFull();

    EXPECT_EQ(engine.StorePdu(sms::TpduLength(pdu), pdu, 3), 1);

    EXPECT_EQ(engine.GetOutbox().Count(), 65);
    EXPECT_EQ(engine.GetOutbox().Index(64), u"65");
    EXPECT_EQ(phone().Storage("ME").messages.at(66).pdu, Ascii(pdu));
}

TEST_F(SmsSendTest, SendStored) {
    Put("ME", 2, kStoredUnsent, Submit("+447700900001", u"Stored"));
    EXPECT_EQ(engine.SendStored(2), 1);
    EXPECT_EQ(commands(), (Strings{"AT+CMSS=2"}));
    EXPECT_EQ(Gaps(), (Ms{4000}));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].storedIndex, 2);

    EXPECT_EQ(engine.SendStored(9), 0);  // no such message: ERROR

    phone().SetCommandLatency("AT+CMSS", 12000);
    EXPECT_EQ(engine.SendStored(2), 1);
    phone().SetCommandLatency("AT+CMSS", 50);

    phone().AddFault(Fault::NoReply("AT+CMSS"));
    const std::uint64_t start = clock().NowMs();
    EXPECT_EQ(engine.SendStored(2), 0);
    EXPECT_GE(clock().NowMs() - start, 33000u);
    EXPECT_LE(clock().NowMs() - start, 34000u);
}

// Save&Send stores only when the second storage's used count is below its total, compared as
// numbers.
TEST_F(SmsSendTest, SaveAndSendChecksTheSecondStorage) {
    phone().Storage("ME").capacity = 10;
    for (int i = 1; i <= 9; ++i) {
        Put("ME", i, kStoredSent, Submit("+447700900001", u"Old"));
    }
    EXPECT_EQ(SaveAndSend(u"Ninth of ten", u"+447700900123"), u"Message sent ok!");
    EXPECT_EQ(engine.GetStorageUsed(), u"9");
    EXPECT_EQ(engine.GetStorageTotal(), u"10");
    EXPECT_EQ(engine.GetOutbox().Count(), 1);
    EXPECT_EQ(engine.GetOutbox().Index(0), u"10");

    Forget();
    EXPECT_EQ(SaveAndSend(u"Eleventh", u"+447700900123"), u"Phone storage full!!");
    ASSERT_EQ(commands().size(), 4u);
    EXPECT_EQ(commands()[0], "AT+CSCA?");
    EXPECT_EQ(commands()[3], "AT+CPMS?");
    EXPECT_EQ(sent().size(), 2u);
    EXPECT_EQ(engine.GetOutbox().Count(), 1);
}
