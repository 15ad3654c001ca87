#include <gtest/gtest.h>

#include <tuple>

#include "phonesim/Fault.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;

class PhoneBookRead : public SessionTest {};

// The order of a memory's ranges after the selection, the size query and the character set, and
// the waits of each, are the README's transcript of halvex-cli phonebook list (run as written
// by tests/dist).

// Suffix-less lines (a Nokia) are the parser's table; the page reads them end to end.
TEST_F(PhoneBookRead, EntriesMergeIntoContactsAcrossReplies) {
    Put("ME", 25, "111", u"Ann/H");
    Put("ME", 26, "222", u"Ann/W");
    // A second entry of a kind takes the contact's number: on a phone without suffixes every
    // entry is Home.
    Put("ME", 27, "333", u"Ann/H");
    Put("ME", 201, "555", u"Ann/F");
    Put("ME", 202, "666", u"ERROR/O");  // only a result line means failure
    Connect();
    books().LoadBook(phone::Memory::Phone);

    const CContactBook& book = books().GetPhoneBook();
    ASSERT_EQ(book.GetSize(), 2);
    const CContactEntry& ann = *book.GetAt(0);
    EXPECT_EQ(std::tuple(ann.name, ann.home, ann.homeIndex, ann.work, ann.workIndex, ann.fax,
                         ann.faxIndex),
              std::tuple(u"Ann", u"333", 27, u"222", 26, u"555", 201));
    EXPECT_EQ(book.GetAt(1)->otherIndex, 202);
}

// Refused, cut off, silent, not ended with OK, or with bytes that are not UTF-8 (a name or a
// marker may be broken): the book is not taken as read, and the session disconnects.
TEST_F(PhoneBookRead, ARangeThePhoneDoesNotEndWithOkEndsTheReadWithADisconnect) {
    for (const phonesim::Fault& fault :
         {phonesim::Fault::ErrorReply("AT+CPBR=26,"), phonesim::Fault::DropOn("AT+CPBR=26,"),
          phonesim::Fault::NoReply("AT+CPBR=26,"), phonesim::Fault::CorruptReply("AT+CPBR=26,"),
          phonesim::Fault::RawReply("AT+CPBR=26,", "\r\n+CPBR: 30,\"130\",129,\"Zed/M\"\r\n")}) {
        SCOPED_TRACE(static_cast<int>(fault.action));
        UseProfile("empty");
        Renew();
        Put("ME", 3, "111", u"Ann/H");
        Put("ME", 30, "130", u"Zed/M");
        phone().AddFault(fault);
        Connect();
        if (fault.action == phonesim::Fault::Action::Drop)
            ExpectNotice(u"Read port error");
        ExpectNotice(u"Connection lost, Please Connect again");
        books().LoadBook(phone::Memory::Phone);

        const Lines sent = commands();
        EXPECT_EQ(Lines(sent.begin() + 3, sent.end()), (Lines{"AT+CPBR=1,25", "AT+CPBR=26,50"}));
        EXPECT_EQ(std::tuple(session().IsConnected(), session().IsPhoneRead(), PortOpen(),
                             session().GetSelectedStorage()),
                  std::tuple(false, false, false, CPhoneSession::StorageCode(phone::Memory::Sim)));
        // What was merged before the failure stays until the next read or connect.
        ASSERT_EQ(books().GetPhoneBook().GetSize(), 1);
        EXPECT_EQ(books().GetPhoneBook().GetAt(0)->name, u"Ann");
    }
}

TEST_F(PhoneBookRead, ReconnectClearsReadFlagsKeepsRangesAndSelectsUtf8Again) {
    phone().Phonebook("SM").capacity = 20;
    Put("SM", 20, "222", u"Zoë/H");  // the last place
    Connect();
    books().LoadBook(phone::Memory::Phone);
    books().LoadBook(phone::Memory::Sim);
    session().Disconnect();

    EXPECT_EQ(std::tuple(session().IsPhoneRead(), session().IsSimRead(),
                         session().GetPhoneMaxIndex(), session().GetSimMaxIndex()),
              std::tuple(false, false, 250, 20));
    ExpectNotice(u"Please get SIM Data first");
    EXPECT_FALSE(books().CheckDataRead());

    // The phone went back to its default character set while it was away.
    phone().State().charset = "IRA";
    Connect();
    EXPECT_TRUE(books().GetSimBook().IsEmpty());
    books().LoadBook(phone::Memory::Sim);
    EXPECT_EQ(commands(), (Lines{R"(AT+CPBS="SM")", R"(AT+CSCS="UTF-8")", "AT+CPBR=1,20"}));
    ASSERT_EQ(books().GetSimBook().GetSize(), 1);
    EXPECT_EQ(books().GetSimBook().GetAt(0)->homeIndex, 20);
    EXPECT_TRUE(books().CheckDataRead());
    // The other memory in the same connection: neither the query nor the character set.
    phone().ClearTranscript();
    books().LoadBook(phone::Memory::Phone);
    EXPECT_EQ(commands().at(1), "AT+CPBR=1,25");
}

}  // namespace
