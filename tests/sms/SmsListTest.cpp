// The pages' loaders, choosing and querying the message storages, and listing and reading
// messages, end to end on the simulated phone in virtual time.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "sms/MessageBoxes.h"
#include "sms/codec/ShortMessage.h"
#include "tests/sms/SmsEngineFixture.h"
#include "text/Ascii.h"

namespace halvex::test {
namespace {

using phonesim::Fault;
using phonesim::kReceivedRead;
using phonesim::kReceivedUnread;
using phonesim::kStoredSent;

class SmsListTest : public SmsEngineTest {};

std::string ListLine(int index, const std::string& pdu) {
    return "+CMGL: " + std::to_string(index) + ",1,," + std::to_string(pdu.size() / 2 - 8) +
           "\r\n" + pdu + "\r\n";
}

// The inbox loader: unread, then read messages of the SIM, then of the phone memory, under the
// wait cursor. An unread message on the SIM is listed too. A duplicate keeps its first listing,
// whatever its case. (The outbox loader's storages and order are the delete tests' set-up.)
TEST_F(SmsListTest, InboxLoaderCommandsAndEntries) {
    const std::string sim = Deliver("+447700900001", u"On the SIM");
    Put("SM", 1, kReceivedRead, sim);
    Put("SM", 2, kReceivedUnread, Deliver("+447700900002", u"SIM, unread"));
    Put("ME", 1, kReceivedUnread, Deliver("+447700900003", u"New"));
    // The phone memory's read messages: one of its own, then the SIM's first in lower case.
    Fault fault =
        Fault::RawReply("AT+CMGL=1", "\r\n" + ListLine(2, Deliver("+447700900004", u"Old")) +
                                         ListLine(9, text::ToLowerAscii(sim)) + "\r\nOK\r\n");
    fault.skip = 1;
    phone().AddFault(fault);
    ASSERT_TRUE(sms::LoadInbox(engine, session()));
    EXPECT_EQ(commands(),
              (Strings{"AT+CPMS=\"SM\",\"SM\",\"ME\"", "AT+CPMS?", "AT+CMGL=0", "AT+CMGL=1",
                       "AT+CPMS=\"ME\",\"ME\",\"ME\"", "AT+CPMS?", "AT+CMGL=0", "AT+CMGL=1"}));
    EXPECT_EQ(ui().Log(), (Strings{"cursor on", "cursor off"}));
    EXPECT_EQ(Slots(engine.GetInbox()), (Strings{"2@SM", "1@SM", "1@ME", "2@ME"}));
}

// A listing adds what its reply holds whole: "ERROR" after message lines fails it and adds
// nothing; silence is no failure; a reply that breaks off keeps the messages before the break.
TEST_F(SmsListTest, AListingAddsOnlyWholeEntriesOfAReplyThatDidNotFail) {
    Put("ME", 3, kReceivedRead, Deliver("+447700900001", u"Kept"));
    ASSERT_EQ(engine.ListMessages(sms::Status::ReceivedRead, sms::Box::Inbox), 1);
    // Before any storage query the entry carries the storage the engine starts with: the SIM.
    EXPECT_EQ(Slots(engine.GetInbox()), Strings{"3@SM"});
    const std::string other = Deliver("+447700900002", u"Other");
    // Only OK, ERROR after a message, silence, broken off in the second message.
    const std::tuple<Fault, int, int> cases[] = {
        {Fault::RawReply("AT+CMGL", "\r\nOK\r\n"), 1, 0},
        {Fault::RawReply("AT+CMGL", "\r\n" + ListLine(4, other) + "\r\nERROR\r\n"), 0, 0},
        {Fault::NoReply("AT+CMGL"), 1, 0},
        {Fault::RawReply("AT+CMGL", "\r\n" + ListLine(4, other) + "+CMGL: 5,1,,24\r\n0791"), 1, 1}};
    for (const auto& [fault, result, added] : cases) {
        const int before = engine.GetInbox().Count();
        phone().AddFault(fault);
        EXPECT_EQ(engine.ListMessages(sms::Status::ReceivedRead, sms::Box::Inbox), result)
            << fault.bytes;
        EXPECT_EQ(engine.GetInbox().Count(), before + added) << fault.bytes;
    }
    EXPECT_EQ(engine.GetInbox().Pdu(1), U16(other));
}

// What the storage query keeps of each reply: the storages of the names it knows (in either
// case), the counts of the second storage; a failed or foreign reply changes nothing.
TEST_F(SmsListTest, StorageQueryKeepsWhatTheReplySays) {
    // Four storages: the first three count, and "MT" is not known. No reply at all is no
    // failure.
    const std::tuple<const char*, int, const char16_t*, const char16_t*> cases[] = {
        {"\r\n+CPMS: \"sm\",1,20,\"me\",5,150,\"me\",5,150\r\n\r\nOK\r\n", 1, u"SM ME ME",
         u"5/150"},
        {"\r\n+CPMS: \"MT\",1,2,\"TL\",3,4,\"SM\",5,6,\"ME\",7,8\r\nOK\r\n", 1, u"SM TL SM",
         u"3/4"},
        {"\r\nERROR\r\n", 0, u"SM SM ME", u"/"},
        {"", 1, u"SM SM ME", u"/"}};
    for (const auto& [reply, result, storages, counts] : cases) {
        SCOPED_TRACE(reply);
        CSmsEngine fresh(session().GetLink());
        phone().AddFault(*reply ? Fault::RawReply("AT+CPMS?", reply) : Fault::NoReply("AT+CPMS?"));
        EXPECT_EQ(fresh.QueryStorage(), result);
        EXPECT_EQ(sms::StorageName(fresh.GetFirstStorage()) + u" " +
                      sms::StorageName(fresh.GetSecondStorage()) + u" " +
                      sms::StorageName(fresh.GetThirdStorage()),
                  storages);
        EXPECT_EQ(fresh.GetStorageUsed() + u"/" + fresh.GetStorageTotal(), counts);
    }
}

TEST_F(SmsListTest, SelectStorageSaysWhetherThePhoneTookItAndRefusesQuotesInNames) {
    EXPECT_EQ(engine.SelectStorage(u"SM", u"SM", u"ME"), 1);
    EXPECT_EQ(engine.GetConfirmedStorage(), sms::Storage::Sim);
    phone().AddFault(Fault::ErrorReply("AT+CPMS="));
    EXPECT_EQ(engine.SelectStorage(u"XX", u"SM", u"ME"), 0);
    EXPECT_EQ(engine.GetConfirmedStorage(), sms::Storage::None);
    EXPECT_EQ(engine.SelectStorage(u"SM\",\"ME", u"SM", u"ME"), 0);
    EXPECT_EQ(engine.SelectStorage(u"SM", u"SM\r\nAT+CMGD=1", u"ME"), 0);
    EXPECT_EQ(commands(),
              (Strings{"AT+CPMS=\"SM\",\"SM\",\"ME\"", "AT+CPMS=\"XX\",\"SM\",\"ME\""}));
    EXPECT_EQ(phone().State().selectedStorages, (std::array<std::string, 3>{"SM", "SM", "ME"}));
}

// Each box holds 65 messages; the one that does not fit ends the listing with "Message full!",
// told once however many listings of the load meet the full box, and so does a message stored
// into a full outbox.
TEST_F(SmsListTest, BoxesHoldSixtyFiveMessages) {
    for (int i = 1; i <= 70; ++i) {
        Put("SM", i, kReceivedUnread, Deliver("+447700900001", u"SIM " + U16(std::to_string(i))));
        if (i <= 5)
            Put("ME", i, i % 2, Deliver("+447700900002", u"Phone " + U16(std::to_string(i))));
    }
    ExpectMessageFull();
    sms::LoadInbox(engine, session());
    ASSERT_EQ(engine.GetInbox().Count(), 65);
    EXPECT_EQ(Slots(engine.GetInbox())[64], "65@SM");

    // The outbox keeps no duplicate check: the same message 70 times fills it. A message stored
    // into the full list is on the phone: a success the user is told the list cannot show.
    const std::string same = Submit("+447700900123", u"Same everywhere");
    for (int i = 1; i <= 70; ++i)
        Put("ME", i, kStoredSent, same);
    ExpectMessageFull();
    EXPECT_EQ(engine.ListMessages(sms::Status::StoredSent, sms::Box::Outbox), 0);
    ExpectMessageFull();
    EXPECT_EQ(engine.StorePdu(sms::TpduLength(U16(same)), U16(same), sms::Status::StoredSent), 1);
    ASSERT_EQ(engine.GetOutbox().Count(), 65);
    EXPECT_EQ(engine.GetOutbox().Index(64), u"65");
    EXPECT_EQ(phone().Storage("ME").messages.count(71), 1u);
}

}  // namespace
}  // namespace halvex::test
