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
    EXPECT_EQ(Book().GetAt(0)->marks, CContactEntry::MarkOther | CContactEntry::MarkName);
    EXPECT_EQ(Book().GetAt(0)->name, u"Anna");
    EXPECT_EQ(Book().GetAt(0)->other, u"");

    Book().GetAt(0)->marks = 0;
    editor().SetNumber(1, u"1");
    editor().SetNumber(2, u"2");
    editor().SetNumber(3, u"3");
    EXPECT_EQ(editor().StoreEdits(),
              CContactEntry::MarkHome | CContactEntry::MarkWork | CContactEntry::MarkMobile);
}

// The page's and the command line's refusals (empty, another contact's name, a quote or CR) are
// proved end to end; here the rest of the check.
TEST_F(PhoneBookEditorTest, NameCheckRefusesEmptyTakenAndUnstorableNames) {
    ReadTwoContacts();
    editor().Select(0);
    const std::u16string unsafe = u"A name cannot hold double quotes or control characters.";
    const std::pair<std::u16string, std::u16string> refused[] = {
        {u"", u"Please Enter User Name"},
        // The contact's own name counts as taken.
        {u"Ann", u"The name \"Ann\" you used already exists, Please use a different name."},
        {u"A\"B", unsafe},
        {u"A\rAT+CPBW=1\r", unsafe},
        {u"A\x1A", unsafe},
        {std::u16string(224, u'x'), u"The name is too long, Please use at most 223 characters."},
    };
    for (const auto& [name, says] : refused) {
        ExpectNotice(says);
        EXPECT_FALSE(editor().CheckName(name)) << testing::PrintToString(name);
    }
    // A quote as the phone gives it in a name must be writable as it was read.
    for (const std::u16string& name :
         {std::u16string(u"ann"), std::u16string(223, u'x'), std::u16string(u"Łukasz, Jr."),
          std::u16string(u"The \\22Boss\\22")}) {
        EXPECT_TRUE(editor().CheckName(name)) << testing::PrintToString(name);
    }
    // Checking changes nothing: the label follows only when the page sets it.
    EXPECT_EQ(editor().GetLabel(), u"Ann");
    EXPECT_TRUE(commands().empty());
}

// Its stored name is empty, so a new contact counts as changed from the start: leaving it asks,
// and declining drops it.
TEST_F(PhoneBookEditorTest, DecliningToSaveANewContactDropsIt) {
    ReadTwoContacts();
    ASSERT_EQ(editor().AddUser(), 2);
    EXPECT_TRUE(editor().IsCurrentModified());
    ExpectSaveQuestion(IDNO);
    editor().CommitCurrent(false);
    EXPECT_EQ(Book().GetSize(), 2);
    EXPECT_EQ(editor().GetCurrent(), -1);
    EXPECT_TRUE(commands().empty());
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

}  // namespace
