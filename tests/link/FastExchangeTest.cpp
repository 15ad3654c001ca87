// The fast exchange on the simulated phone, in virtual time: a reply ends at its final result
// code or the prompt, silence ends one only after the caller's wait, and a whole conversation
// sends the same commands as the timed exchange and finds the same.

#include <gtest/gtest.h>

#include "link/PhoneLink.h"
#include "link/PhoneSession.h"
#include "phonesim/Fault.h"
#include "sms/ComposeSender.h"
#include "sms/MessageBoxes.h"
#include "sms/MessageRows.h"
#include "sms/SmsEngine.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/SessionFixture.h"

namespace {

using namespace platform;
using phonesim::Fault;

class FastExchange : public halvex::test::SessionTest {
protected:
    FastExchange() : SessionTest("default") {}
    CPhoneLink& link() { return session().GetLink(); }
    void Open() {
        link().SetExchangeMode(ExchangeMode::Fast);
        ASSERT_EQ(link().Open(), 1);
    }
    // Sends, waits, reads: the reply in `reply`, the virtual time it took as the result.
    std::uint64_t Exchange(std::u16string command, float wait) {
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(link().SendCommand(command), 1);
        link().Wait(wait);
        length_ = link().ReadResponse(reply);
        return clock().NowMs() - start;
    }
    // What the phone needs for `bytes` on the line: its latency and 10 bits a byte at 9600 baud.
    static std::uint64_t LineMs(std::size_t bytes) {
        return 50 + (bytes * 10 * 1000 + 9599) / 9600;
    }

    std::u16string reply;
    int length_ = 0;
};

TEST_F(FastExchange, AReplyEndsAtItsFinalResultOrThePromptItWaitsFor) {
    Open();
    const std::uint64_t read = Exchange(u"AT+CPBR=1,25", 0.5f);
    EXPECT_TRUE(reply.ends_with(u"\r\nOK\r\n") && reply.size() > 1000u);
    EXPECT_LE(read, LineMs(reply.size()) + 10);
    const std::uint64_t prompt = Exchange(u"AT+CMGS=20", 3.0f);
    EXPECT_TRUE(reply.ends_with(u"> "));
    EXPECT_LE(prompt, LineMs(reply.size()) + 10);
    Exchange(std::u16string(1, u'\x1B'), 3.0f);

    // An unsolicited result inside a reply is kept, and the reply goes on to its end.
    const std::string interleaved =
        "\r\n+CPBR: 26,\"1\",129,\"A/H\"\r\n\r\n+CMTI: \"SM\",3\r\n\r\nRING\r\n"
        "+CPBR: 27,\"2\",129,\"B/H\"\r\n\r\nOK\r\n";
    phone().AddFault(Fault::RawReply("AT+CPBR=26,", interleaved));
    Exchange(u"AT+CPBR=26,50", 0.5f);
    EXPECT_EQ(platform::ToUtf8ForLog(reply), "AT+CPBR=26,50\r" + interleaved);
}

// A reply that stops without a final line ends two seconds after its last byte, and never before
// the caller's wait is over.
TEST_F(FastExchange, SilenceEndsAReplyOnlyAfterTheCallersWaitAndAQuietSpell) {
    Open();
    phone().AddFault(Fault::NoReply("ATI"));
    EXPECT_EQ(Exchange(u"ATI", 0.1f), 100u);
    EXPECT_EQ(length_, 0);

    phone().AddFault(Fault::RawReply("AT+CSCA?", "\r\n+CSCA: \"+4478\""));
    const std::uint64_t cut = Exchange(u"AT+CSCA?", 0.5f);
    EXPECT_TRUE(reply.ends_with(u"\r\n+CSCA: \"+4478\""));
    EXPECT_GE(cut, 2000u);
    EXPECT_LE(cut, LineMs(reply.size()) + 2000 + 10);
}

// One conversation of every kind the program has: the commands it sent and what it found.
TEST_F(FastExchange, FastSendsTheTimedCommandsInTheirOrderAndFindsTheSame) {
    auto run = [&](ExchangeMode mode) {
        UseProfile("default");
        // A new session: it asks a memory's size only once a run.
        Renew();
        link().SetExchangeMode(mode);
        std::vector<std::u16string> found;
        Connect();
        books().LoadBook(phone::Memory::Phone);
        CContactBook& book = *books().GetCurrentBook();
        for (int i = 0; i < book.GetSize(); ++i)
            found.push_back(book.GetAt(i)->name + u"=" + book.GetAt(i)->mobile);
        // A rename of a contact with several numbers, a delete.
        book.GetAt(0)->name = u"Ann T";
        book.GetAt(0)->marks |= CContactEntry::MarkName;
        found.push_back(books().SaveContact(0) ? u"saved" : u"not saved");
        found.push_back(books().DeleteContact(1) ? u"deleted" : u"not deleted");

        CSmsEngine& engine = sms();
        sms::LoadInbox(engine, session());
        for (const sms::MessageRow& row : sms::BuildRows(engine.GetInbox(), true))
            found.push_back(row.text);
        ExpectBox(u"Message sent ok!", MB_OK);
        sms::CComposeSender(engine, session()).Send({u"+447700900555", u"Hi", false, false}, true);
        ui().Expect(u"Do you want to delete this message?", IDYES);
        const int deleted = sms::DeleteSelected(engine, session(), sms::Box::Inbox, {0}, 0);
        found.push_back(deleted == 1 ? u"deleted 1" : u"deleted 0");
        auto sentCommands = commands();
        session().Disconnect();
        return std::make_pair(sentCommands, found);
    };
    const auto timed = run(ExchangeMode::Timed);
    EXPECT_EQ(run(ExchangeMode::Fast), timed);
}

}  // namespace
