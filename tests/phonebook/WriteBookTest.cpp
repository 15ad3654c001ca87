#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "phonesim/Fault.h"
#include "platform/Win32Types.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;
using Stored = std::map<int, std::u16string>;

class PhoneBookWrite : public SessionTest {
protected:
    CContactEntry& Contact(int position) {
        CContactEntry* contact = books().GetCurrentBook()->GetAt(position);
        EXPECT_NE(contact, nullptr);
        return *contact;
    }
    // A new contact with a Home number, marked for saving.
    CContactEntry* AddWithHome(const std::u16string& name, const std::u16string& home) {
        CContactEntry* contact = books().GetCurrentBook()->Add(name);
        contact->home = home;
        contact->marks = CContactEntry::MarkHome;
        return contact;
    }
    // The phone memory: "number name" by index.
    Stored Memory() {
        Stored stored;
        for (const auto& [index, entry] : phone().Phonebook("ME").entries)
            stored[index] =
                std::u16string(entry.number.begin(), entry.number.end()) + u" " + entry.name;
        return stored;
    }
};

// A rename writing every entry over at its index and deleting a cleared number is the command
// line's edit test; the marks a good save clears, the refused write test's.
TEST_F(PhoneBookWrite, FullMemoryRefusesANewNumberWithOutOfEntryNumber) {
    UseProfile("full");
    ConnectAndRead();
    CContactEntry* zed = AddWithHome(u"Zed", u"5551234");
    const int last = books().GetCurrentBook()->GetSize() - 1;

    ExpectBox(u"Out of Entry Number", platform::MB_OK, platform::IDOK, u"Error");
    books().SaveContact(last);
    EXPECT_EQ(zed->homeIndex, -1);
    // Nothing is sent for that number at later saves either, and no question is asked again.
    zed->marks = CContactEntry::MarkHome;
    books().SaveContact(last);
    EXPECT_TRUE(commands().empty());
}

TEST_F(PhoneBookWrite, DeleteRemovesEveryEntryInItsOrderUnderTheWaitCursor) {
    for (const auto& [index, kind] :
         {std::pair{1, u"/H"}, {2, u"/W"}, {3, u"/M"}, {4, u"/O"}, {5, u"/F"}})
        Put("ME", index, std::to_string(index), u"Ann" + std::u16string(kind));
    ConnectAndRead();
    Contact(0).marks = CContactEntry::MarkHome;
    ui().Clear();

    EXPECT_TRUE(books().DeleteContact(0));

    EXPECT_EQ(commands(), (Lines{"AT+CPBW=5", "AT+CPBW=1", "AT+CPBW=3", "AT+CPBW=4", "AT+CPBW=2"}));
    EXPECT_TRUE(phone().Phonebook("ME").entries.empty());
    // The page removes the contact itself.
    EXPECT_EQ(std::pair(Contact(0).marks, Contact(0).faxIndex), std::pair(0u, 5));
    EXPECT_EQ(ui().Log(), (std::vector<std::string>{"cursor on", "cursor off"}));
}

// A Nokia (1) writes names without a suffix, the page's Nokia test shows; any other value with,
// as every other test shows. Without a readable setting the name's form is unknown: the save
// fails and stays marked.
TEST_F(PhoneBookWrite, AnUnreadableMemoryTypeWritesNothing) {
    Put("ME", 250, "1", u"Ann/M");
    ConnectAndRead();
    CContactEntry& ann = Contact(0);
    std::tie(ann.mobile, ann.marks) = std::tuple(u"5551234", CContactEntry::MarkMobile);
    const std::uint8_t eight[8] = {1};
    registry().SetValue(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType",
                        platform::REG_BINARY, eight, sizeof(eight));
    session().RecallPhoneKind();
    EXPECT_FALSE(books().SaveContact(0));
    registry().DeleteKey(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType");
    session().RecallPhoneKind();
    EXPECT_FALSE(books().SaveContact(0));
    EXPECT_EQ(ann.marks, CContactEntry::MarkMobile);
    EXPECT_TRUE(commands().empty());
}

TEST_F(PhoneBookWrite, IndicesTheLastReadSawInUseAreNotHandedOut) {
    Put("ME", 250, "1", u"Bob/X");
    Put("ME", 248, "2", u"Eve/H");
    Put("ME", 249, "3", u"Eve/H");  // read after 248, so Eve's Home number is this one
    ConnectAndRead();
    CContactBook& book = *books().GetCurrentBook();
    ASSERT_EQ(book.GetAt(0)->homeIndex, 249);

    AddWithHome(u"Zed", u"777");
    EXPECT_TRUE(books().SaveContact(2));
    EXPECT_EQ(
        Memory(),
        (Stored{{247, u"777 Zed/H"}, {248, u"2 Eve/H"}, {249, u"3 Eve/H"}, {250, u"1 Bob/X"}}));

    // Deleting Eve frees her index; the older entry at 248 is still there.
    books().DeleteContact(0);
    book.RemoveAt(0);
    phone().ClearTranscript();
    AddWithHome(u"Amy", u"888");
    EXPECT_TRUE(books().SaveContact(2));
    EXPECT_EQ(commands(), (Lines{R"(AT+CPBW=249,"888",129 ,"Amy/H")"}));
}

TEST_F(PhoneBookWrite, RefusedWriteKeepsItsMarkAndIsSentAgainAtTheNextSave) {
    Put("ME", 250, "1", u"Ann/H");
    Put("ME", 249, "2", u"Ann/W");
    ConnectAndRead();
    CContactEntry& ann = Contact(0);
    std::tie(ann.home, ann.work, ann.marks) =
        std::tuple(u"111", u"222", CContactEntry::MarkHome | CContactEntry::MarkWork);
    phone().AddFault(phonesim::Fault::ErrorReply("AT+CPBW=250,"));

    EXPECT_FALSE(books().SaveContact(0));
    EXPECT_EQ(ann.marks, CContactEntry::MarkHome);
    EXPECT_EQ(Memory(), (Stored{{249, u"222 Ann/W"}, {250, u"1 Ann/H"}}));

    phone().ClearTranscript();
    EXPECT_TRUE(books().SaveContact(0));
    EXPECT_EQ(commands(), (Lines{R"(AT+CPBW=250,"111",129 ,"Ann/H")"}));
    EXPECT_EQ(ann.marks, 0u);
    EXPECT_EQ(Memory(), (Stored{{249, u"222 Ann/W"}, {250, u"111 Ann/H"}}));
    // The echo of a name holding the word is no error (worded errors: the reply reader's table).
    std::tie(ann.name, ann.marks) = std::tuple(u"ERROR", CContactEntry::MarkHome);
    EXPECT_TRUE(books().SaveContact(0));
}

// A write the phone answers too late is no success, and its retry leaves one entry: the fault
// scenarios' late answer (tests/faults), done again.

TEST_F(PhoneBookWrite, AnUnconfirmedDeleteKeepsItsIndexTakenAndMarksWhatIsGone) {
    Put("ME", 250, "1", u"Ann/H");
    Put("ME", 249, "2", u"Ann/M");
    ConnectAndRead();
    CContactEntry& ann = Contact(0);
    phone().AddFault(phonesim::Fault::NoReply("AT+CPBW=249"));

    EXPECT_FALSE(books().DeleteContact(0));
    EXPECT_EQ(Memory(), (Stored{{249, u"2 Ann/M"}}));
    // Home is gone from the phone, so the contact differs from it there; Mobile is still there.
    EXPECT_EQ(std::pair(ann.marks, ann.mobileIndex), std::pair(CContactEntry::MarkHome, 249));

    // A cleared number whose deletion is refused keeps its entry, index and mark.
    std::tie(ann.mobile, ann.marks) = std::tuple(u"", CContactEntry::MarkMobile);
    phone().AddFault(phonesim::Fault::ErrorReply("AT+CPBW=249"));
    EXPECT_FALSE(books().SaveContact(0));
    EXPECT_EQ(std::pair(ann.marks, ann.mobileIndex), std::pair(CContactEntry::MarkMobile, 249));

    // Neither index still in doubt is handed to a new number.
    CContactEntry* zed = AddWithHome(u"Zed", u"777");
    EXPECT_TRUE(books().SaveContact(1));
    EXPECT_EQ(zed->homeIndex, 248);
    EXPECT_EQ(Memory(), (Stored{{248, u"777 Zed/H"}, {249, u"2 Ann/M"}}));
}

TEST_F(PhoneBookWrite, TextThatCouldBreakTheCommandLineNeverReachesThePort) {
    Put("ME", 1, "1", u"Victim/H");
    Put("ME", 250, "2", u"Ann/H");
    ConnectAndRead();
    const Stored before = Memory();
    CContactEntry& ann = Contact(1);
    ASSERT_EQ(ann.name, u"Ann");
    const std::u16string attack = u"\"\rAT+CPBW=1\r";
    // As the name or as the number; and the other characters that end or break a line.
    for (const auto& [name, home] : {std::pair<std::u16string, std::u16string>{attack, u"2"},
                                     {u"Ann", attack},
                                     {u"A\x1A", u"5"},
                                     {u"A\x1B", u"5"},
                                     {u"A\n", u"5"}}) {
        std::tie(ann.name, ann.home, ann.marks) = std::tuple(name, home, CContactEntry::MarkHome);
        EXPECT_FALSE(books().SaveContact(1)) << testing::PrintToString(name);
        EXPECT_EQ(ann.marks, CContactEntry::MarkHome);
    }
    EXPECT_EQ(std::pair(commands().empty(), Memory()), std::pair(true, before));
}

}  // namespace
