// The service centre, sending, storing and sending stored messages, and the compose dialog's
// Send and Save&Send, end to end on the simulated phone.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sms/ComposeSender.h"
#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using phonesim::Fault;
using phonesim::kStoredSent;
using phonesim::kStoredUnsent;
using sms::ComposeFields;
using sms::SendOutcome;

std::string Ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

class SmsSendTest : public SmsEngineTest {
protected:
    // The PDU the compose dialog builds after asking for the service centre.
    std::u16string Compose(const std::u16string& text, const std::u16string& to) {
        engine.QueryServiceCentre();
        CSmsSubmit message(text, to);
        message.SetServiceCentre(ParseDialNumber(engine.GetServiceCentre()));
        message.SetDcs(0x08);
        return message.Encode();
    }

    static Fault AfterPdu(Fault fault) {
        fault.pdu = true;
        return fault;
    }

    static ComposeFields Fields(const std::u16string& recipient, const std::u16string& text) {
        ComposeFields fields;
        fields.recipient = recipient;
        fields.text = text;
        return fields;
    }
    // The compose dialog's Send, or Save&Send with `save`, expecting the one box it shows.
    SendOutcome Send(const ComposeFields& fields, bool save, const std::u16string& box) {
        if (!box.empty()) {
            ExpectBox(box, platform::MB_OK);
        }
        return sms::CComposeSender(engine, session()).Send(fields, save);
    }
};

// The number kept from the phone's answer: with "+" unless the maker flag is 1 and the number
// has a type, and not at all when the flag cannot be read (no key, a value of another size) or
// the answer is not one. No answer at all is no failure.
TEST_F(SmsSendTest, TheServiceCentreKeptFollowsTheMakerFlag) {
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");
    EXPECT_EQ(commands(), (Strings{"AT+CSCA?"}));
    EXPECT_EQ(Gaps(), (Ms{4000}));

    const auto flag = [this](std::uint32_t value) {
        return [this, value] { SetMemoryType(value); };
    };
    const std::function<void()> noKey = [this] {
        registry().DeleteKey(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType");
    };
    const std::function<void()> text = [this] {
        registry().SetString(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType",
                             u"one");
    };
    const struct {
        std::function<void()> flag;
        const char* reply;  // "": the phone's own; nullptr: none
        int result;
        const char16_t* centre;
    } cases[] = {
        {flag(1), "", 1, u"447802000332"},
        {flag(0xFFFFFFFFu), "", 1, u"+447802000332"},
        {noKey, "\r\n+CSCA: \"+111\",145\r\n\r\nOK\r\n", 1, u""},
        {text, "\r\n+CSCA: \"+111\",145\r\n\r\nOK\r\n", 1, u""},
        // A Nokia's number without "+" keeps every digit; without a type the "+" is put in front.
        {flag(0), "\r\n+CSCA: \"123456\"\r\n\r\nOK\r\n", 1, u"+123456"},
        {flag(1), "\r\n+CSCA: \"123456\"\r\n\r\nOK\r\n", 1, u"+123456"},
        {flag(1), "\r\n+CSCA: \"123456\",129\r\n\r\nOK\r\n", 1, u"123456"},
        {flag(0), "\r\n+CSCA: \"+4479\"\r\n\r\nOK\r\n", 1, u"+4479"},
        {flag(0), "\r\nERROR\r\n", 0, u""},
        {flag(0), "\r\n+CSCB: \"+111\",145\r\n\r\nOK\r\n", 0, u""},
        {flag(0), "\r\n+CSCA: 111,145\r\n\r\nOK\r\n", 0, u""},
        {flag(0), "\r\n+CSCA: \"+44780200", 0, u""},
        {flag(0), nullptr, 1, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply != nullptr ? c.reply : "no reply");
        c.flag();
        if (c.reply == nullptr) {
            phone().AddFault(Fault::NoReply("AT+CSCA?"));
        } else if (*c.reply != '\0') {
            phone().AddFault(Fault::RawReply("AT+CSCA?", c.reply));
        }
        CSmsEngine fresh;
        fresh.SetPortHandle(session().GetPortHandle());
        EXPECT_EQ(fresh.QueryServiceCentre(), c.result);
        EXPECT_EQ(fresh.GetServiceCentre(), c.centre);
    }
}

// Send and store alike write the command, the PDU after the prompt and Ctrl-Z, each with a
// carriage return: 3 s, the prompt (one chunk), 3 s after the PDU; then 3 s after Ctrl-Z and
// the result. A stored message is listed at the index the phone gave, in the second storage.
TEST_F(SmsSendTest, SendAndStoreWriteTheCommandThePduAndCtrlZ) {
    for (int i = 1; i <= 4; ++i) {
        Put("SM", i, kStoredSent, Submit("+447700900001", u"Older"));
    }
    const std::u16string pdu = Compose(u"Hello", u"+447700900123");
    const int length = sms::TpduLength(pdu);
    ASSERT_EQ(pdu.substr(0, 4), u"0791");
    engine.SelectStorage(u"SM", u"SM", u"ME");
    ASSERT_EQ(engine.QueryStorage(), 1);
    ASSERT_EQ(engine.GetSecondStorage(), 2);
    Forget();

    EXPECT_EQ(engine.SendPdu(length, pdu), 1);
    const std::string send = "AT+CMGS=" + std::to_string(length);
    EXPECT_EQ(Writes(), (Strings{send + "\r", Ascii(pdu) + "\r", "\x1a\r"}));
    EXPECT_EQ(commands(), (Strings{send, Ascii(pdu)}));
    EXPECT_EQ(Gaps(), (Ms{7000, 4000}));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].pdu, Ascii(pdu));
    Forget();

    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 1);
    const std::string store = "AT+CMGW=" + std::to_string(length) + ",3";
    EXPECT_EQ(Writes(), (Strings{store + "\r", Ascii(pdu) + "\r", "\x1a\r"}));
    EXPECT_EQ(Gaps(), (Ms{7000, 4000}));
    EXPECT_EQ(Slots(engine.GetOutbox()), Strings{"5@2"});
    EXPECT_EQ(engine.GetOutbox().Pdu(0), pdu);
    EXPECT_EQ(phone().Storage("SM").messages.at(5).status, kStoredSent);
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

    // No service centre ("00"): the first TPDU octet (15) keeps its reply-path bit clear.
    const std::u16string bare = u"00" + national.substr(2 + 2 * 7);
    ASSERT_EQ(bare.substr(0, 4), u"0015");
    ASSERT_EQ(engine.SendPdu(length, bare), 1);
    EXPECT_EQ(transcript().back().line, Ascii(bare));
    ASSERT_EQ(sent().size(), 3u);
    EXPECT_EQ(sent().back().pdu, Ascii(bare));
}

// Without the prompt no PDU is written; after it, only the phone's message reference or OK
// makes it sent: an error or silence does not.
TEST_F(SmsSendTest, SendNeedsThePromptAndThePhonesConfirmation) {
    const std::u16string pdu = Compose(u"Result", u"+447700900123");
    const int length = sms::TpduLength(pdu);
    Forget();
    phone().AddFault(Fault::ErrorReply("AT+CMGS"));
    EXPECT_EQ(engine.SendPdu(length, pdu), 0);
    phone().AddFault(Fault::NoReply("AT+CMGS"));
    EXPECT_EQ(engine.SendPdu(length, pdu), 0);
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Gaps(), (Ms{4000, 3000}));

    phone().AddFault(AfterPdu(Fault::ErrorReply("AT+CMGS")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 0);
    phone().AddFault(AfterPdu(Fault::NoReply("AT+CMGS")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 0);
    phone().AddFault(AfterPdu(Fault::RawReply("AT+CMGS", "\r\n+CMGS: 7\r\n")));
    EXPECT_EQ(engine.SendPdu(length, pdu), 1);
    EXPECT_TRUE(sent().empty());
}

TEST_F(SmsSendTest, OnlyHexPduTextReachesTheLine) {
    EXPECT_EQ(engine.SendPdu(5, u"0791\r\nAT+CMGD=1"), 0);
    EXPECT_EQ(engine.SendPdu(5, u"00\x1a"), 0);
    EXPECT_EQ(engine.SendPdu(5, u"07"), 0);
    EXPECT_EQ(engine.StorePdu(5, u"0791\x1b", 3), 0);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SmsSendTest, StoreStatusOnlyWhenItIsAStorageStatus) {
    const std::u16string pdu = Compose(u"Status", u"+447700900123");
    const std::string command = "AT+CMGW=" + std::to_string(sms::TpduLength(pdu));
    Forget();
    for (int status : {0, 2, 3, 4, -1}) {
        engine.StorePdu(sms::TpduLength(pdu), pdu, status);
    }
    Strings stores;
    for (const std::string& line : commands()) {
        if (line.rfind("AT+", 0) == 0) {
            stores.push_back(line);
        }
    }
    EXPECT_EQ(stores, (Strings{command + ",0", command + ",2", command + ",3", command, command}));
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

    // A late result is still taken.
    phone().SetCommandLatency("AT+CMGW", 20000);
    EXPECT_EQ(engine.StorePdu(length, pdu, 3), 1);
    EXPECT_EQ(engine.GetOutbox().Count(), 1);
}

// A link that drops while the store waits ends the wait with one message, not one per read.
TEST_F(SmsSendTest, StoreEndsWhenTheLinkDrops) {
    const std::u16string pdu = Compose(u"Dropped", u"+447700900123");
    phone().AddFault(Fault::NoReply("AT+CMGW"));
    const std::uint64_t start = clock().NowMs();
    phone().AddFault(Fault::DropAt(start + 8000));
    ui().Expect(u"Read port error");
    EXPECT_EQ(engine.StorePdu(sms::TpduLength(pdu), pdu, 3), 0);
    EXPECT_LT(clock().NowMs() - start, 9000u);
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

TEST(ComposeSenderChecks, DialNumbersAreDigitsWithAnOptionalPlus) {
    for (const std::u16string& number :
         {std::u16string(u"123456"), std::u16string(u"+44 7700 9001"), std::u16string(20, u'9')}) {
        EXPECT_TRUE(sms::IsDialNumber(number));
    }
    for (const std::u16string& number :
         {std::u16string(21, u'9'), std::u16string(u"+"), std::u16string(u"   "),
          std::u16string(u"12+3"), std::u16string(u"12#3"), std::u16string(u"BANK"),
          std::u16string(u"１２３")}) {  // the last in full-width digits
        EXPECT_FALSE(sms::IsDialNumber(number));
    }
}

// The compose checks themselves are the command-line tests'; a message that passes them goes
// nowhere without a connection, without a word.
TEST_F(SmsSendTest, WithoutAConnectionNothingIsSent) {
    session().Disconnect();
    EXPECT_EQ(Send(Fields(u"123", u"Hi"), false, u""), SendOutcome::NotConnected);
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(ui().Boxes().empty());
}

// Save&Send stores the copy only while the second storage's used count is below its total,
// compared as numbers, and tells each outcome.
TEST_F(SmsSendTest, SaveAndSendChecksTheSecondStorage) {
    phone().Storage("ME").capacity = 10;
    for (int i = 1; i <= 9; ++i) {
        Put("ME", i, kStoredSent, Submit("+447700900001", u"Old"));
    }
    const ComposeFields fields = Fields(u"+447700900123", u"Ninth of ten");
    EXPECT_EQ(Send(fields, true, u"Message sent ok!"), SendOutcome::Sent);
    EXPECT_EQ(engine.GetStorageUsed(), u"9");
    EXPECT_EQ(engine.GetStorageTotal(), u"10");
    EXPECT_EQ(Slots(engine.GetOutbox()), Strings{"10@1"});

    Forget();
    EXPECT_EQ(Send(fields, true, u"Phone storage full!!"), SendOutcome::StorageFull);
    EXPECT_EQ(commands().size(), 4u);
    EXPECT_EQ(commands().back(), "AT+CPMS?");
    EXPECT_EQ(sent().size(), 2u);

    phone().Storage("ME").capacity = 20;
    phone().AddFault(Fault::ErrorReply("AT+CMGW"));
    EXPECT_EQ(Send(fields, true, u"Message saved error!!!"), SendOutcome::SaveError);
    phone().AddFault(Fault::ErrorReply("AT+CMGS"));
    EXPECT_EQ(Send(fields, true, u"Message sent error!"), SendOutcome::SendError);
    EXPECT_EQ(engine.GetOutbox().Count(), 1);
}

}  // namespace
}  // namespace halvex::test
