// The fast exchange on the simulated phone, in virtual time: a reply ends at its final result
// code or the prompt, silence ends one only after the caller's wait, and a whole conversation
// sends the same commands as the timed exchange and finds the same.

#include <gtest/gtest.h>

#include "link/PhoneLink.h"
#include "phonebook/PhoneSession.h"
#include "phonesim/Fault.h"
#include "platform/ScriptedUi.h"
#include "sms/ComposeSender.h"
#include "sms/MessageBoxes.h"
#include "sms/MessageRows.h"
#include "sms/SmsEngine.h"
#include "tests/support/SessionFixture.h"

namespace {

using namespace platform;
using phonesim::Fault;

bool EndsWithOk(const std::u16string& reply) {
    return reply.size() >= 6 && reply.compare(reply.size() - 6, 6, u"\r\nOK\r\n") == 0;
}

class FastExchange : public halvex::test::SessionTest {
protected:
    FastExchange() : SessionTest("default") {}
    void SetUp() override {
        SessionTest::SetUp();
        CPhoneLink::SetExchangeMode(ExchangeMode::Fast);
        ASSERT_EQ(link_.Open(), 1);
    }
    void TearDown() override {
        link_.Close();
        CPhoneLink::SetExchangeMode(ExchangeMode::Timed);
        SessionTest::TearDown();
    }
    // Sends, waits, reads: the reply in `reply`, the virtual time it took as the result.
    std::uint64_t Exchange(std::u16string command, float wait, int* length = nullptr) {
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(link_.SendCommand(command), 1);
        link_.Wait(wait);
        const int got = link_.ReadResponse(reply);
        if (length != nullptr) {
            *length = got;
        }
        return clock().NowMs() - start;
    }
    // What the phone needs for `bytes` on the line: its latency and 10 bits a byte at 9600 baud.
    static std::uint64_t LineMs(std::size_t bytes) {
        return 50 + (bytes * 10 * 1000 + 9599) / 9600;
    }

    CPhoneLink link_;
    std::u16string reply;
};

TEST_F(FastExchange, AReplyEndsAtItsFinalResultOrThePromptItWaitsFor) {
    const std::uint64_t read = Exchange(u"AT+CPBR=1,25", 0.5f);
    ASSERT_TRUE(EndsWithOk(reply)) << platform::ToUtf8ForLog(reply);
    EXPECT_GT(reply.size(), 1000u) << "many chunks";
    EXPECT_LE(read, LineMs(reply.size()) + 10);

    const std::uint64_t prompt = Exchange(u"AT+CMGS=20", 3.0f);
    EXPECT_EQ(reply.substr(reply.size() - 2), u"> ");
    EXPECT_LE(prompt, LineMs(reply.size()) + 10);
    std::u16string escape(1, u'\x1B');
    Exchange(escape, 3.0f);

    // An unsolicited result inside a reply is kept, and the reply goes on to its end.
    const std::string interleaved =
        "\r\n+CPBR: 26,\"1\",129,\"A/H\"\r\n\r\n+CMTI: \"SM\",3\r\n\r\nRING\r\n"
        "+CPBR: 27,\"2\",129,\"B/H\"\r\n\r\nOK\r\n";
    phone().AddFault(Fault::RawReply("AT+CPBR=26,", interleaved));
    Exchange(u"AT+CPBR=26,50", 0.5f);
    EXPECT_EQ(platform::ToUtf8ForLog(reply), "AT+CPBR=26,50\r" + interleaved);
}

TEST_F(FastExchange, APhoneSlowerThanTheTimedWaitsIsStillReadWhole) {
    // Late: the first byte comes long after the timed read would have given up.
    phone().SetCommandLatency("ATI", 2500);
    const std::uint64_t late = Exchange(u"ATI", 3.0f);
    EXPECT_TRUE(EndsWithOk(reply)) << platform::ToUtf8ForLog(reply) << late;
    EXPECT_LE(late, 2500 + LineMs(reply.size()));
    phone().SetCommandLatency("ATI", 50);

    // Pausing a second and a half in the middle of a reply.
    phone().AddFault(Fault::PausedReply("AT+CPBR=1,25", 1500));
    Exchange(u"AT+CPBR=1,25", 0.5f);
    EXPECT_TRUE(EndsWithOk(reply)) << platform::ToUtf8ForLog(reply);
}

TEST_F(FastExchange, SilenceEndsAReplyOnlyAfterTheCallersWaitAndAQuietSpell) {
    int length = 0;
    phone().AddFault(Fault::NoReply("ATI"));
    EXPECT_EQ(Exchange(u"ATI", 0.1f, &length), 100u);
    EXPECT_EQ(length, 0);

    // A reply that stops without a final line ends two seconds after its last byte, and never
    // before the caller's wait is over.
    phone().AddFault(Fault::RawReply("AT+CSCA?", "\r\n+CSCA: \"+4478\""));
    const std::uint64_t cut = Exchange(u"AT+CSCA?", 0.5f, &length);
    EXPECT_EQ(reply.substr(reply.size() - 16), u"\r\n+CSCA: \"+4478\"");
    EXPECT_GE(cut, 2000u);
    EXPECT_LE(cut, LineMs(reply.size()) + 2000 + 10);
    phone().AddFault(Fault::RawReply("AT+CSCA?", "\r\n+CSCA: \"+4478\""));
    EXPECT_EQ(Exchange(u"AT+CSCA?", 3.0f, &length), 3000u);

    // A pause that waits for no answer takes no time.
    const std::uint64_t before = clock().NowMs();
    link_.Wait(2.0f);
    EXPECT_EQ(clock().NowMs(), before);
}

// One conversation of every kind the program has: the commands it sent and what it found.
class SameConversation : public halvex::test::SessionTest {
protected:
    SameConversation() : SessionTest("default") {}
    void TearDown() override {
        CPhoneLink::SetExchangeMode(ExchangeMode::Timed);
        SessionTest::TearDown();
    }

    std::pair<std::vector<std::string>, std::vector<std::u16string>> Run(ExchangeMode mode) {
        CPhoneLink::SetExchangeMode(mode);
        UseProfile("default");
        // A new session: it asks a memory's size only once a run.
        delete g_pPhoneSession;
        g_pPhoneSession = new CPhoneSession;
        std::vector<std::u16string> found;
        Connect();
        session().LoadBook(CPhoneSession::MemoryPhone);
        CContactBook& book = *session().GetCurrentBook();
        for (int i = 0; i < book.GetSize(); ++i) {
            found.push_back(book.GetAt(i)->name + u"=" + book.GetAt(i)->mobile);
        }
        // A rename of a contact with several numbers, a delete.
        book.GetAt(0)->name = u"Ann T";
        book.GetAt(0)->marks |= CContactEntry::MarkName;
        found.push_back(session().SaveContact(0) ? u"saved" : u"not saved");
        found.push_back(session().DeleteContact(1) ? u"deleted" : u"not deleted");

        CSmsEngine engine;
        sms::LoadInbox(engine, session());
        for (const sms::MessageRow& row : sms::BuildRows(engine.GetInbox(), true)) {
            found.push_back(row.text);
        }
        ExpectBox(u"Message sent ok!", MB_OK);
        sms::CComposeSender(engine, session()).Send({u"+447700900555", u"Hi", false, false}, true);
        ui().Expect(u"Do you want to delete this message?", IDYES);
        const int deleted = sms::DeleteSelected(engine, session(), CSmsEngine::kInbox, {0}, 0);
        found.push_back(deleted == 1 ? u"deleted 1" : u"deleted 0");
        auto sentCommands = commands();
        session().Disconnect();
        return {sentCommands, found};
    }
};

TEST_F(SameConversation, FastSendsTheTimedCommandsInTheirOrderAndFindsTheSame) {
    const auto timed = Run(ExchangeMode::Timed);
    EXPECT_EQ(Run(ExchangeMode::Fast), timed);
}

}  // namespace
