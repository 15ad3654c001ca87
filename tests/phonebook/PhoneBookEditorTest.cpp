// The phone book page's logic without its window, on the simulated phone.

#include <gtest/gtest.h>

#include <optional>

#include "phonebook/PhoneBookEditor.h"
#include "platform/Win32Types.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;
using namespace platform;

class PhoneBookEditorTest : public SessionTest {
protected:
    // Ann: Home 10, Fax 11, Other 12. Ben: Mobile 13. Then connected and read.
    void ReadTwoContacts() {
        Put("ME", 10, "111", u"Ann/H");
        Put("ME", 11, "444", u"Ann/F");
        Put("ME", 12, "555", u"Ann/O");
        Put("ME", 13, "333", u"Ben/M");
        ConnectAndRead();
    }
    CContactBook& Book() { return *session().GetCurrentBook(); }
    void ExpectSaveQuestion(int answer) {
        ExpectBox(u"Save the Data?", MB_YESNO | MB_ICONQUESTION, answer);
    }
    void ExpectDeleteQuestion(int answer) {
        ExpectBox(u"Selected item will be deleted, Continue?",
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, answer);
    }

    void SetUp() override {
        SessionTest::SetUp();
        editor_.emplace(session(), false);
    }
    CPhoneBookEditor& editor() { return *editor_; }

private:
    std::optional<CPhoneBookEditor> editor_;
};

TEST_F(PhoneBookEditorTest, StoreEditsMarksExactlyWhatChanged) {
    ReadTwoContacts();
    ASSERT_TRUE(editor().Select(0));
    EXPECT_FALSE(editor().IsCurrentModified());
    EXPECT_EQ(editor().StoreEdits(), 0u);

    // Fax and Other share the bit 0x10: either change makes the writer process both.
    editor().SetNumber(4, u"4444");
    EXPECT_TRUE(editor().IsCurrentModified());
    EXPECT_EQ(editor().StoreEdits(), CContactEntry::MarkFax);
    EXPECT_EQ(Book().GetAt(0)->fax, u"4444");
    EXPECT_EQ(editor().StoreEdits(), 0u) << "the stored text is the new reference";

    Book().GetAt(0)->marks = 0;
    editor().SetNumber(5, u"");
    editor().SetLabel(u"Anna");
    EXPECT_EQ(editor().StoreEdits(), CContactEntry::MarkOther | CContactEntry::MarkName);
    EXPECT_EQ(Book().GetAt(0)->marks, 0x54u);
    EXPECT_EQ(Book().GetAt(0)->name, u"Anna");
    EXPECT_EQ(Book().GetAt(0)->other, u"");

    Book().GetAt(0)->marks = 0;
    editor().SetNumber(1, u"1");
    editor().SetNumber(2, u"2");
    editor().SetNumber(3, u"3");
    EXPECT_EQ(editor().StoreEdits(), 0x0Bu);
}

TEST_F(PhoneBookEditorTest, NameCheckRefusesEmptyTakenAndUnstorableNames) {
    ReadTwoContacts();
    editor().Select(0);
    ExpectNotice(u"Please Enter User Name");
    EXPECT_FALSE(editor().CheckName(u""));
    // The contact's own name counts as taken.
    ExpectNotice(u"The name \"Ann\" you used already exists, Please use a different name.");
    EXPECT_FALSE(editor().CheckName(u"Ann"));
    ExpectNotice(u"The name \"Ben\" you used already exists, Please use a different name.");
    EXPECT_FALSE(editor().CheckName(u"Ben"));
    for (const std::u16string& unsafe :
         {std::u16string(u"A\"B"), std::u16string(u"A\rAT+CPBW=1\r"), std::u16string(u"A\x1A")}) {
        ExpectNotice(u"A name cannot hold double quotes or control characters.");
        EXPECT_FALSE(editor().CheckName(unsafe));
    }
    ExpectNotice(u"The name is too long, Please use at most 223 characters.");
    EXPECT_FALSE(editor().CheckName(std::u16string(224, u'x')));

    EXPECT_TRUE(editor().CheckName(u"ann"));
    EXPECT_TRUE(editor().CheckName(std::u16string(223, u'x')));
    EXPECT_TRUE(editor().CheckName(u"Łukasz, Jr."));
    // A quote as the phone gives it in a name, which must be writable as it was read.
    EXPECT_TRUE(editor().CheckName(u"The \\22Boss\\22"));
    // Checking changes nothing: the label follows only when the page sets it.
    EXPECT_EQ(editor().GetLabel(), u"Ann");
    EXPECT_TRUE(commands().empty());
}

TEST_F(PhoneBookEditorTest, AddUserNeedsTheMemoryReadAndTakesTheNextFreeNewUserName) {
    Connect();
    ExpectNotice(u"Please get phone data first.");
    EXPECT_EQ(editor().AddUser(), -1);

    Put("ME", 250, "111", u"New User/H");
    session().LoadBook(CPhoneSession::MemoryPhone);
    EXPECT_EQ(editor().AddUser(), 1);
    EXPECT_EQ(editor().GetLabel(), u"New User1");
    EXPECT_TRUE(editor().IsNewContact());
    // Its stored name is empty, so it counts as changed from the start.
    EXPECT_TRUE(editor().IsCurrentModified());
    EXPECT_EQ(Book().GetAt(1)->name, u"");
    for (int kind = 1; kind <= 5; ++kind) {
        EXPECT_EQ(editor().GetNumber(kind), u"");
    }
}

TEST_F(PhoneBookEditorTest, DecliningToSaveDropsANewContactAndRevertsAnOldOne) {
    ReadTwoContacts();
    editor().Select(1);
    editor().SetLabel(u"Benjamin");
    editor().SetNumber(3, u"999");
    ExpectSaveQuestion(IDNO);
    editor().CommitCurrent(true);
    EXPECT_EQ(editor().GetLabel(), u"Ben");
    EXPECT_EQ(editor().GetNumber(3), u"333");
    EXPECT_FALSE(editor().IsCurrentModified());

    ASSERT_EQ(editor().AddUser(), 2);
    ExpectSaveQuestion(IDNO);
    editor().CommitCurrent(false);
    EXPECT_EQ(Book().GetSize(), 2);
    EXPECT_EQ(editor().GetCurrent(), -1);
    EXPECT_TRUE(commands().empty());
}

// The first new number goes to the highest index, the next one below it.
TEST_F(PhoneBookEditorTest, SavingANewContactWritesItsNumbersFromTheTopUnderItsName) {
    ReadTwoContacts();
    ASSERT_EQ(editor().AddUser(), 2);
    ASSERT_TRUE(editor().CheckName(u"Cleo"));
    editor().SetLabel(u"Cleo");
    editor().SetNumber(2, u"777");
    editor().SetNumber(3, u"888");
    ExpectSaveQuestion(IDYES);
    EXPECT_TRUE(editor().AskAndSave());
    EXPECT_FALSE(editor().IsNewContact());
    EXPECT_FALSE(editor().IsCurrentModified());
    EXPECT_EQ(commands(),
              (Lines{R"(AT+CPBW=250,"777",129 ,"Cleo/W")", R"(AT+CPBW=249,"888",129 ,"Cleo/M")"}));
    EXPECT_EQ(Book().GetAt(2)->workIndex, 250);
    EXPECT_EQ(Book().GetAt(2)->mobileIndex, 249);
    EXPECT_EQ(Book().GetAt(2)->marks, 0u);
    EXPECT_EQ(phone().Phonebook("ME").entries.at(249).name, u"Cleo/M");
}

TEST_F(PhoneBookEditorTest, DeleteAsksThenDeletesAndMovesToTheNextContact) {
    ReadTwoContacts();
    editor().Select(1);
    ExpectDeleteQuestion(IDNO);
    EXPECT_FALSE(editor().DeleteUser());
    EXPECT_EQ(Book().GetSize(), 2);
    EXPECT_TRUE(commands().empty());

    // The last contact: the new last one is edited next.
    ExpectDeleteQuestion(IDYES);
    EXPECT_TRUE(editor().DeleteUser());
    EXPECT_EQ(commands(), Lines{"AT+CPBW=13"});
    EXPECT_EQ(Book().GetSize(), 1);
    EXPECT_EQ(editor().GetCurrent(), 0);
    EXPECT_EQ(editor().GetLabel(), u"Ann");
    EXPECT_EQ(editor().GetNumber(1), u"111");

    // The only contact: nothing is left to edit.
    ExpectDeleteQuestion(IDYES);
    EXPECT_TRUE(editor().DeleteUser());
    EXPECT_EQ(editor().GetCurrent(), -1);
    EXPECT_EQ(editor().GetNumber(1), u"");
    EXPECT_FALSE(editor().DeleteUser()) << "an empty list asks nothing";
}

TEST_F(PhoneBookEditorTest, DeletingANewContactForgetsItsMark) {
    ReadTwoContacts();
    ASSERT_EQ(editor().AddUser(), 2);
    ExpectDeleteQuestion(IDYES);
    EXPECT_TRUE(editor().DeleteUser());
    EXPECT_FALSE(editor().IsNewContact());
    EXPECT_EQ(editor().GetCurrent(), 1);

    // Declining to save Ben now reverts him; he is not dropped as the new contact was.
    editor().SetLabel(u"Benjamin");
    ExpectSaveQuestion(IDNO);
    editor().CommitCurrent(false);
    EXPECT_EQ(Book().GetSize(), 2);
    EXPECT_EQ(editor().GetLabel(), u"Ben");
}

TEST_F(PhoneBookEditorTest, TheNokiaLayoutTakesOnlyTheFirstNumber) {
    ReadTwoContacts();
    CPhoneBookEditor nokia(session(), true);
    nokia.Select(0);
    EXPECT_TRUE(nokia.TakesKind(1));
    for (int kind = 2; kind <= 5; ++kind) {
        EXPECT_FALSE(nokia.TakesKind(kind));
        EXPECT_FALSE(nokia.SetNumber(kind, u"1"));
    }
    // The other numbers still show, unchanged.
    EXPECT_EQ(nokia.GetNumber(4), u"444");
    EXPECT_FALSE(nokia.IsCurrentModified());
    EXPECT_TRUE(nokia.SetNumber(1, u"1"));
    EXPECT_EQ(nokia.StoreEdits(), CContactEntry::MarkHome);
}

}  // namespace
