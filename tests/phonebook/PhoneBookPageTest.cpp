// The phone book pages as the user works them: the real widgets on the simulated phone.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <memory>

#include "phonebook/PhoneBookDlg.h"
#include "phonebook/PhoneBookNokiaDlg.h"
#include "phonesim/Fault.h"
#include "platform/qt/PropertySheet.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using halvex::test::Control;
using halvex::test::Settle;
using platform::qt::ListView;
using Rows = std::vector<std::u16string>;
using Numbers = std::vector<QString>;

class PhoneBookPageTest : public halvex::test::WindowTest<halvex::test::SessionTest> {
protected:
    // The page in a sheet of its own, in a window, connected; read when `read`.
    void Open(bool nokia = false, bool read = true) {
        page_.reset(nokia ? new CPhoneBookNokiaDlg(books()) : new CPhoneBookDlg(books()));
        sheet_ = new platform::qt::CPropertySheet(&window_);
        sheet_->AddPage(page_.get());
        sheet_->AddPage(&other_);
        ASSERT_TRUE(sheet_->Create(&window_));
        window_.resize(400, 400);
        window_.show();
        QApplication::setActiveWindow(&window_);
        Connect();
        if (read) {
            page_->GetData();
            phone().ClearTranscript();
        }
        Settle();
    }
    // Ann: Home 1, Mobile 2. Ben: Work 3. Cat: Home 4. Opened as above.
    void OpenThree(bool read = true) {
        Put("ME", 1, "111", u"Ann/H");
        Put("ME", 2, "+447700900103", u"Ann/M");
        Put("ME", 3, "222", u"Ben/W");
        Put("ME", 4, "333", u"Cat/H");
        Open(false, read);
    }
    void TearDown() override {
        delete sheet_;
        page_.reset();
        WindowTest::TearDown();
    }

    CPhoneBookDlg& page() { return *page_; }
    ListView* list() { return Control<ListView>(page_.get(), res::IDC_CONTACT_LIST); }
    QLineEdit* box(int kind) { return page_->Box(kind); }
    QComboBox* memory() { return Control<QComboBox>(page_.get(), res::IDC_MEMORY); }

    Rows ListRows() {
        Rows rows;
        for (int i = 0; i < page_->GetList().GetItemCount(); ++i)
            rows.push_back(page_->GetList().GetItemText(i, 0));
        return rows;
    }
    Numbers Boxes() {
        Numbers texts;
        for (int kind = 1; kind <= 5; ++kind)
            texts.push_back(box(kind)->text());
        return texts;
    }
    // What the page shows: its rows, the highlighted ones and the number boxes.
    using Shown = std::tuple<Rows, std::vector<int>, Numbers>;
    Shown State() { return {ListRows(), page_->GetList().GetSelectedItems(), Boxes()}; }

    void ClickRow(int row) {
        const QRect cell = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
        Settle();
    }
    void Type(int kind, const QString& text) {
        box(kind)->setFocus();
        box(kind)->end(false);
        QTest::keyClicks(box(kind), text);
    }
    // Types a new name into the name editor, opened on the selected row with F2 unless it is
    // open already, and ends the edit with `end` (Key_unknown: leaves it open).
    void Rename(const QString& name, Qt::Key end = Qt::Key_Return) {
        if (!Editing()) {
            list()->setFocus();
            QTest::keyClick(list(), Qt::Key_F2);
        }
        auto* editor = list()->findChild<QLineEdit*>("labelEditor");
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, name);
        if (end != Qt::Key_unknown)
            QTest::keyClick(editor, end);
        Settle();
    }
    bool Editing() { return list()->EditingRow() >= 0; }

    // A box of the page: caption "Halvex", owned by it.
    void ExpectPageBox(const std::u16string& text, UINT type, int answer = IDOK) {
        ui().Expect({text, answer, type, u"Halvex", page_->GetSafeHwnd(), {}});
    }
    void ExpectSaveQuestion(int answer) {
        ExpectPageBox(u"Save the Data?", MB_YESNO | MB_ICONQUESTION, answer);
    }
    // Delete, answered Yes, and the notice of the phone's refusal when one is given.
    void Delete(const std::u16string& refusal = {}) {
        ExpectPageBox(u"Selected item will be deleted, Continue?",
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES);
        if (!refusal.empty())
            ExpectPageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
        page_->DeleteUser();
        Settle();
    }
    // Add User, its name editor then ended with `end` (Key_unknown: left open).
    void AddUser(Qt::Key end = Qt::Key_unknown) {
        page_->AddUser();
        Settle();
        if (end != Qt::Key_unknown)
            QTest::keyClick(list()->findChild<QLineEdit*>("labelEditor"), end);
        Settle();
    }
    phonesim::PhonebookEntry Entry(int index, const std::string& memory = "ME") {
        const auto& entries = phone().Phonebook(memory).entries;
        const auto it = entries.find(index);
        return it == entries.end() ? phonesim::PhonebookEntry{} : it->second;
    }

    QWidget window_;
    platform::qt::CPropertyPage other_{res::IDD_PHONEBOOK};  // a second tab to leave for
    platform::qt::CPropertySheet* sheet_ = nullptr;
    std::unique_ptr<CPhoneBookDlg> page_;
};

TEST_F(PhoneBookPageTest, GetDataListsTheMemoryAndShowsTheFirstContactAsThePhoneHasIt) {
    OpenThree(false);
    ExpectNotice(u"Please get phone data first.");
    page().AddUser();
    EXPECT_TRUE(ListRows().empty());

    page().GetData();
    Settle();
    // The "+" of an international number stays, and is no change of the user's.
    EXPECT_EQ(State(), Shown({u"Ann", u"Ben", u"Cat"}, {0}, {"111", "", "+447700900103", "", ""}));
}

// Leaving a changed contact saves it on Yes and reverts it on No, Add User, a new user's name,
// and switching memories: the phone book walk's invariants (tests/app) after every step.

TEST_F(PhoneBookPageTest, ARefusedNameSaysWhyAndOpensTheEditorAgain) {
    OpenThree();
    ExpectPageBox(u"Please Enter User Name", MB_OK | MB_ICONEXCLAMATION);
    Rename("");
    EXPECT_TRUE(Editing());
    ExpectPageBox(u"The name \"Ben\" you used already exists, Please use a different name.",
                  MB_OK | MB_ICONEXCLAMATION);
    Rename("Ben");
    EXPECT_TRUE(Editing());
    Rename("Benny", Qt::Key_Escape);
    EXPECT_FALSE(Editing());
    EXPECT_EQ(ListRows()[0], u"Ann");
    EXPECT_TRUE(commands().empty());
}

TEST_F(PhoneBookPageTest, AddUserOverADeclinedNewUserKeepsOneRowPerContact) {
    OpenThree();
    AddUser(Qt::Key_Escape);
    ExpectSaveQuestion(IDNO);
    AddUser();
    EXPECT_EQ(ListRows(), (Rows{u"Ann", u"Ben", u"Cat", u"New User"}));
    EXPECT_EQ(books().GetPhoneBook().GetSize(), 4);
}

TEST_F(PhoneBookPageTest, LeavingThePageEndsTheNameEditBeforeAskingAboutTheContact) {
    OpenThree();
    Rename("Anna", Qt::Key_unknown);
    ExpectSaveQuestion(IDYES);
    sheet_->SetActivePage(1);
    Settle();
    EXPECT_EQ(std::pair(Entry(1).name, Editing()), std::pair(std::u16string(u"Anna/H"), false));

    // The name left as it was: nothing asked, nothing refused.
    sheet_->SetActivePage(0);
    Rename("Anna", Qt::Key_unknown);
    sheet_->SetActivePage(1);
    Settle();
    EXPECT_EQ(ListRows()[0], u"Anna");
}

TEST_F(PhoneBookPageTest, DeleteTakesTheNextContactOrTheLastAndAFailedOneKeepsIt) {
    OpenThree();
    ClickRow(1);
    phone().AddFault(phonesim::Fault::ErrorReply("AT+CPBW=3"));
    Delete(u"The phone did not delete \"Ben\". The contact stays in the list.");
    EXPECT_EQ(State(), Shown({u"Ann", u"Ben", u"Cat"}, {1}, {"", "222", "", "", ""}));
    EXPECT_EQ(Entry(3).name, u"Ben/W");

    // Deleted: the next contact is edited, the last one when it was the last, none at the end.
    Delete();
    EXPECT_EQ(State(), Shown({u"Ann", u"Cat"}, {1}, {"333", "", "", "", ""}));
    EXPECT_EQ(Entry(3).name, u"");
    Delete();
    EXPECT_EQ(State(), Shown({u"Ann"}, {0}, {"111", "", "+447700900103", "", ""}));
    Delete();
    EXPECT_EQ(State(), Shown({}, {}, {"", "", "", "", ""}));
    EXPECT_EQ(page().GetCurrentPosition(), -1);
    page().DeleteUser();  // an empty list asks nothing
}

TEST_F(PhoneBookPageTest, NumberBoxesTakeDigitsAndParenthesesTypedOrPastedUpToTwenty) {
    Open();
    AddUser(Qt::Key_Escape);
    Type(1, "+4a(1) 2");
    EXPECT_EQ(box(1)->text(), "4(1)2");

    QApplication::clipboard()->setText("+44 (0)20-7946 0102 ext. 5555");
    box(2)->setFocus();
    QTest::keyClick(box(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(2)->text(), "44(0)20794601025555");
    Type(2, "78");
    EXPECT_EQ(box(2)->text(), "44(0)207946010255557");
}

TEST_F(PhoneBookPageTest, AFailedSaveSaysSoAndSaveDataSendsTheEditsAgain) {
    OpenThree();
    Type(1, "9");
    phone().AddFault(phonesim::Fault::NoReply("AT+CPBW="));
    ExpectSaveQuestion(IDYES);
    ExpectPageBox(
        u"The phone did not save \"Ann\". Your changes are kept, and Save data sends "
        u"them again.",
        MB_OK | MB_ICONEXCLAMATION);
    page().CommitCurrent(TRUE);
    EXPECT_EQ(Boxes()[0], "1119");
    EXPECT_EQ(Entry(1).number, "111");

    ExpectSaveQuestion(IDYES);
    page().CommitCurrent(TRUE);
    EXPECT_EQ(Entry(1).number, "1119");
    page().CommitCurrent(TRUE);  // nothing left to save: no question
}

TEST_F(PhoneBookPageTest, ANameWithTheEscapesThePhoneGaveCanBeSavedBack) {
    Put("ME", 1, "111", u"Al \"Bo\"/H");
    Open();
    ASSERT_EQ(ListRows(), Rows{u"Al \\22Bo\\22"});
    Type(1, "2");
    ExpectSaveQuestion(IDYES);
    page().CommitCurrent(TRUE);
    EXPECT_EQ(Entry(1).number, "1112");
    EXPECT_EQ(Entry(1).name, u"Al \"Bo\"/H");
}

TEST_F(PhoneBookPageTest, TheNokiaPageOpensOnlyTheGeneralNumberAndShowsTheOthers) {
    SetMemoryType(1);
    Put("ME", 1, "111", u"Pat");
    Put("ME", 2, "222", u"Pat/M");
    Open(true);
    const int labels[] = {res::IDC_HOME_LABEL, res::IDC_WORK_LABEL, res::IDC_MOBILE_LABEL,
                          res::IDC_FAX_LABEL, res::IDC_OTHER_LABEL};
    for (int kind = 1; kind <= 5; ++kind)
        EXPECT_EQ(std::pair(Control<QLabel>(&page(), labels[kind - 1])->isEnabled(),
                            box(kind)->isEnabled()),
                  std::pair(kind == 1, kind == 1))
            << kind;
    EXPECT_TRUE(list()->isEnabled() && memory()->isEnabled());
    EXPECT_EQ(Boxes(), (Numbers{"111", "", "222", "", ""}));

    Type(1, "9");
    ExpectSaveQuestion(IDYES);
    page().CommitCurrent(TRUE);
    EXPECT_EQ(commands(), std::vector<std::string>{R"(AT+CPBW=1,"1119",129 ,"Pat")"});
}

}  // namespace
