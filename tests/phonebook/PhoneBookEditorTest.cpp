// The phone book page's logic without its window, on the simulated phone. What the page and the
// command line drive through it (marking and saving edits, adding and dropping a new contact,
// deleting, the Nokia layout) their own tests prove.

#include <gtest/gtest.h>

#include <optional>

#include "phonebook/PhoneBookEditor.h"
#include "platform/Win32Types.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using namespace platform;

class PhoneBookEditorTest : public SessionTest {
protected:
    // Ann: Home 10. Ben: Mobile 13. Then connected and read.
    void ReadTwoContacts() {
        Put("ME", 10, "111", u"Ann/H");
        Put("ME", 13, "333", u"Ben/M");
        ConnectAndRead();
    }

    void SetUp() override {
        SessionTest::SetUp();
        editor_.emplace(books(), false);
    }
    CPhoneBookEditor& editor() { return *editor_; }

private:
    std::optional<CPhoneBookEditor> editor_;
};

// The page's and the command line's refusals (empty, another contact's name, a quote or CR) are
// proved end to end; here the rest of the check.
TEST_F(PhoneBookEditorTest, NameCheckRefusesEmptyTakenAndUnstorableNames) {
    ReadTwoContacts();
    editor().Select(0);
    const std::u16string unsafe = u"A name cannot hold double quotes or control characters.";
    const std::pair<std::u16string, std::u16string> refused[] = {
        // The contact's own name counts as taken.
        {u"Ann", u"The name \"Ann\" you used already exists, Please use a different name."},
        {u"A\"B", unsafe},
        {u"A\rAT+CPBW=1\r", unsafe},
        {std::u16string(224, u'x'), u"The name is too long, Please use at most 223 characters."},
    };
    for (const auto& [name, says] : refused)
        EXPECT_FALSE((ExpectNotice(says), editor().CheckName(name)))
            << testing::PrintToString(name);
    // A quote as the phone gives it in a name must be writable as it was read.
    for (const std::u16string& name :
         {std::u16string(u"ann"), std::u16string(223, u'x'), std::u16string(u"Łukasz, Jr."),
          std::u16string(u"The \\22Boss\\22")})
        EXPECT_TRUE(editor().CheckName(name)) << testing::PrintToString(name);
    // Checking changes nothing: the label follows only when the page sets it.
    EXPECT_EQ(editor().GetLabel(), u"Ann");
    EXPECT_TRUE(commands().empty());
}

// Left set after the delete, the new contact's mark would make declining to save the contact
// that moves into its place drop that one from the book.
TEST_F(PhoneBookEditorTest, DeletingANewContactForgetsItsMark) {
    ReadTwoContacts();
    ASSERT_EQ(editor().AddUser(), 2);
    ExpectBox(u"Selected item will be deleted, Continue?",
              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES);
    EXPECT_TRUE(editor().DeleteUser());
    EXPECT_EQ(std::pair(editor().IsNewContact(), editor().GetCurrent()), std::pair(false, 1));

    // Declining to save Ben now reverts him; he is not dropped as the new contact was.
    editor().SetLabel(u"Benjamin");
    ExpectBox(u"Save the Data?", MB_YESNO | MB_ICONQUESTION, IDNO);
    editor().CommitCurrent(false);
    EXPECT_EQ(books().GetCurrentBook()->GetSize(), 2);
    EXPECT_EQ(editor().GetLabel(), u"Ben");
}

}  // namespace
