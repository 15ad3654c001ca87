// The program's window: start-up, the commands of the menu and the tool bar on every page,
// connecting and disconnecting, exit, and the outside notice over the real local socket.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <future>
#include <map>
#include <set>

#include "app/GsmAbout.h"
#include "app/MainFrame.h"
#include "app/Notices.h"
#include "app/OrvGSMApp.h"
#include "app/PortChooserDlg.h"
#include "app/PropPgFormView.h"
#include "link/RegSettings.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/StatusLine.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using namespace res;
using halvex::test::Settle;
using halvex::test::WhenModal;
using Lines = std::vector<std::string>;

class MainWindowTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    MainWindowTest() : WindowTest("default") {}

    void SetUp() override {
        WindowTest::SetUp();
        FreshDesktop();
    }
    void TearDown() override {
        CPortChooserDlg::SetSurvey(nullptr, nullptr);
        app_.ExitInstance();
        WindowTest::TearDown();
    }
    // Start-up as the program does it, up to the command the view posts to itself.
    void Start() {
        ASSERT_TRUE(app_.InitInstance());
        Settle();
    }
    CMainFrame& frame() { return *app_.GetMainFrame(); }
    CPhoneSession& session() { return *app_.GetSession(); }
    CPhoneBooks& books() { return *app_.GetBooks(); }
    CMyFormView& view() { return *app_.GetView(); }
    CViewPropertySheet& sheet() { return view().GetSheet(); }
    void Command(int id) {
        frame().GetAction(id)->trigger();
        Settle();
    }
    bool Enabled(int id) {
        frame().UpdateCommandUI();
        return frame().GetAction(id)->isEnabled();
    }
    std::optional<DWORD> MemoryType() {
        DWORD value = 0;
        return settings::ReadMemoryType(value) ? std::optional(value) : std::nullopt;
    }
    void NoPort() { registry().DeleteValue(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port"); }
    void ExpectViewQuestion(const std::u16string& text, int answer) {
        const UINT type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
        ui().Expect(ExpectedBox{text, answer, type, {}, qt::HandleOf(&view()), {}});
    }
    void ExpectWarning(const std::u16string& text) {
        ui().Expect(ExpectedBox{text, IDOK, MB_OK | MB_ICONEXCLAMATION, {}, {}, {}});
    }
    // Cancels the next dialog shown; `shown` tells whether it was the port chooser.
    void ThenCancel(bool* shown) {
        WhenModal([shown](QWidget* dialog) {
            *shown = dialog->objectName() == QString::number(IDD_PORT_CHOOSER);
            static_cast<QDialog*>(dialog)->reject();
        });
    }
    // Sends a notice the way "halvex --notify" does, from another thread, letting the window
    // take it and settle; whether it was delivered.
    bool Notify(std::uint32_t value) {
        std::string error;
        auto sent =
            std::async(std::launch::async, app::SendNotice, app::NoticeSocketPath(error), value);
        for (int turn = 0;
             turn < 20000 && sent.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
             ++turn)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        Settle();
        return sent.get() == app::NoticeResult::Delivered;
    }

    COrvGSMApp app_;
};

TEST_F(MainWindowTest, StartUpOnAnOrdinaryPhoneShowsFourPagesAndAcknowledgesTheConnection) {
    ASSERT_TRUE(app_.InitInstance());
    EXPECT_TRUE(view().IsStartup());
    Settle();
    EXPECT_FALSE(view().IsStartup()) << "the posted Connect/Disconnect acknowledged the connection";
    EXPECT_EQ(frame().GetAction(ID_TB_CONNECT)->toolTip(), "Disconnect");
    EXPECT_EQ(commands(), (Lines{"AT+CGMI=?", "ATI"}));
    EXPECT_EQ(MemoryType(), 0u);
    ASSERT_EQ(sheet().GetPageCount(), 4);
    EXPECT_EQ(sheet().GetPage(0), &view().GetPhoneBookPage());
    // The menu "Phone" and its items, in order.
    std::vector<int> items;
    for (QAction* action : frame().GetPhoneMenu()->actions())
        items.push_back(action->isSeparator() ? 0 : action->objectName().toInt());
    // "Choose phone..." follows Disconnect; the others keep their places.
    EXPECT_EQ(items, (std::vector<int>{ID_DELETE, ID_SEND_MESSAGE, ID_ADD_USER, 0, ID_GET_DATA,
                                       ID_SAVE_DATA, 0, ID_CONNECT, ID_DISCONNECT, ID_CHOOSE_PHONE,
                                       0, ID_APP_EXIT}));
    EXPECT_EQ(frame().GetAction(ID_APP_EXIT)->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST_F(MainWindowTest, EachCommandIsOpenOnThePagesItsRuleNames) {
    Start();
    // Enabled ('1') or not on pages 0..3 while connected.
    const std::map<int, std::string> rules = {
        {ID_CONNECT, "0000"},      {ID_DISCONNECT, "1111"},  {ID_TB_CONNECT, "1111"},
        {ID_GET_DATA, "1110"},     {ID_TB_GET_DATA, "1110"}, {ID_SAVE_DATA, "1000"},
        {ID_TB_SAVE_DATA, "1000"}, {ID_ADD_USER, "1000"},    {ID_TB_ADD_USER, "1010"},
        {ID_DELETE, "1000"},       {ID_TB_DELETE, "1110"},   {ID_SEND_MESSAGE, "0010"},
        {ID_APP_EXIT, "1111"},     {ID_CHOOSE_PHONE, "0000"}};
    std::map<int, std::string> seen;
    for (int page = 0; page < 4; ++page) {
        sheet().SetActivePage(page);
        for (const auto& [id, pages] : rules)
            seen[id] += Enabled(id) ? '1' : '0';
    }
    EXPECT_EQ(seen, rules);
    // Disconnected, only connecting and leaving.
    session().Disconnect();
    for (const auto& [id, pages] : rules)
        EXPECT_EQ(
            Enabled(id),
            (std::set{ID_CONNECT, ID_TB_CONNECT, ID_APP_EXIT, ID_CHOOSE_PHONE}.count(id) == 1))
            << id;
}

TEST_F(MainWindowTest, ExitAsksAndSettlesThePhoneBookPageBeforeQuitting) {
    Start();
    view().OnCommand(ID_GET_DATA);
    view().GetPhoneBookPage().Box(1)->setText("999");
    ExpectViewQuestion(u"Do You want to Exit?", IDNO);
    Command(ID_APP_EXIT);
    EXPECT_EQ(shell().QuitsPosted(), 0);

    // Closing the window is the same command.
    ExpectViewQuestion(u"Do You want to Exit?", IDYES);
    ui().Expect(u"Save the Data?", IDNO);
    frame().close();
    Settle();
    EXPECT_EQ(shell().QuitsPosted(), 1);
    EXPECT_TRUE(frame().isVisible());
}

TEST_F(MainWindowTest, OutsideNoticesDisableTheWindowAndEndAConnectionTheRestartBroke) {
    Start();
    // Going down while connected, then back: the connection is gone, the user is told.
    ASSERT_TRUE(Notify(0xFFFFFFFFu));
    EXPECT_FALSE(frame().isEnabled());
    EXPECT_EQ(ui().CursorDepth(), 1);
    EXPECT_TRUE(frame().IsConnectionLost());
    ui().Expect(ExpectedBox{u"Please Reconnect !", IDOK, MB_OK, {}, qt::HandleOf(&frame()), {}});
    ASSERT_TRUE(Notify(0));
    EXPECT_TRUE(frame().isEnabled());
    EXPECT_EQ(ui().CursorDepth(), 0);
    EXPECT_FALSE(session().IsConnected());
    EXPECT_EQ(frame().GetToolTips()[1], u"Connect");

    // Down and up again while disconnected: nothing to tell.
    ASSERT_TRUE(Notify(0xFFFFFFFFu));
    EXPECT_FALSE(frame().isEnabled());
    ASSERT_TRUE(Notify(0));
    EXPECT_TRUE(frame().isEnabled());

    // A notice waits for the command in progress.
    view().OnCommand(ID_CONNECT);
    {
        platform::qt::CommandScope command;
        ASSERT_TRUE(Notify(0xFFFFFFFFu));
        EXPECT_TRUE(frame().isEnabled());
    }
    Settle();
    EXPECT_FALSE(frame().isEnabled());
}

// A fresh start without a port: no message at all, the chooser comes up; cancelled, the sheet
// stays empty until a connection succeeds. The keyboard alone then reaches the phone through the
// chooser: arrow to the port, Enter. Every control is named for tools and screen readers.
TEST_F(MainWindowTest, WithoutAPhoneTheSheetWaitsForTheChooserToLeadToOneByKeyboard) {
    NoPort();
    SerialPortInfo held, sim;
    held.path = held.device = "/dev/ttyUSB0";
    sim.path = sim.device = "sim0";
    held.exists = held.serial = held.mayOpen = sim.exists = sim.serial = sim.mayOpen = true;
    held.holders = {{712, "ModemManager", false}};
    CPortChooserDlg::SetSurvey([=] { return std::vector{held, sim}; }, nullptr);
    bool offered = false;
    ThenCancel(&offered);
    Start();
    EXPECT_TRUE(offered);
    EXPECT_EQ(sheet().GetPageCount(), 0);
    EXPECT_EQ(MemoryType(), 0xFFFFFFFFu);
    EXPECT_TRUE(Enabled(ID_CONNECT));
    EXPECT_FALSE(Enabled(ID_GET_DATA));

    // The first phone connected is a Nokia: its phone book page.
    UseProfile("nokia");
    std::vector<QString> unnamed;
    QString state;
    WhenModal([&](QWidget* dialog) {
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if (w->focusPolicy() != Qt::NoFocus && w->isVisible() &&
                (w->objectName().isEmpty() || w->accessibleName().isEmpty()))
                unnamed.push_back(w->metaObject()->className());
        auto* chooser = static_cast<CPortChooserDlg*>(dialog);
        state = chooser->List()->item(0, 2)->text();
        QTest::keyClick(chooser->List(), Qt::Key_Down);
        QTest::keyClick(chooser->List(), Qt::Key_Return);
    });
    Command(ID_CONNECT);
    EXPECT_EQ(unnamed, std::vector<QString>{});
    EXPECT_EQ(state, "held by ModemManager (process 712)");
    std::u16string port;
    registry().GetString(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", port);
    EXPECT_EQ(std::tuple(port, bool(session().IsConnected()), sheet().GetPageCount()),
              std::tuple(std::u16string(u"sim0"), true, 4));
    EXPECT_EQ(sheet().GetPage(0), &view().GetNokiaPage());
    EXPECT_EQ(MemoryType(), 1u);
    // That connection is the one made: the button asks before disconnecting, and switches its
    // tip back once it has.
    ExpectViewQuestion(u"Do You want to Disconnect?", IDNO);
    Command(ID_TB_CONNECT);
    EXPECT_TRUE(session().IsConnected());
    ExpectViewQuestion(u"Do You want to Disconnect?", IDYES);
    Command(ID_TB_CONNECT);
    EXPECT_EQ(std::tuple(session().IsConnected(), PortOpen(), frame().GetToolTips()[1]),
              std::tuple(false, false, std::u16string(u"Connect")));
}

TEST_F(MainWindowTest, AConnectionThatFailsEmptiesThePhoneBookListWithTheBooks) {
    Start();
    Command(ID_GET_DATA);
    Command(ID_DISCONNECT);
    SetPortName(u"ttyUSB9");
    ExpectWarning(u"Open port error\n\nttyUSB9 does not exist. Ports there are: sim0");
    bool offered = false;
    ThenCancel(&offered);
    Command(ID_CONNECT);
    EXPECT_TRUE(offered);
    EXPECT_EQ(view().GetPhoneBookPage().GetList().GetItemCount(), 0);
    EXPECT_TRUE(books().GetPhoneBook().IsEmpty());
}

TEST_F(MainWindowTest, ADeviceThatCannotComeBackShowsBothRealBoxesInOrderThenEndsWithZero) {
    Start();
    qt::QtUi boxes;
    qt::QtShell realShell;
    Host host = CurrentHost();
    host.ui = &boxes;
    host.shell = &realShell;
    ScopedHost real(host);
    std::vector<QString> shown;
    // Each box is read and answered a turn of its loop later, as a user would: a box whose loop
    // was ended under it is never answered.
    std::function<void(QWidget*)> answer = [&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        QTimer::singleShot(0, box, [&, box] {
            shown.push_back(box->text());
            if (shown.size() < 2)
                WhenModal(answer);
            box->button(QMessageBox::Ok)->click();
        });
    };
    WhenModal(answer);
    frame().OnBluetoothNotify(0xFFFFFFFFu);
    qt::PostMessage(&frame(), [&] { frame().OnBluetoothNotify(5); });
    QTimer guard;  // a quit that never comes fails the test instead of hanging it
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    const int status = QApplication::exec();
    EXPECT_EQ(shown, (std::vector<QString>{"Can not restart bluetooth device, please restart the "
                                           "program and try again!",
                                           "Please Reconnect !"}));
    EXPECT_EQ(status, 0);
}

// A port that will not open says why once at start-up, and the next Connect offers the chooser
// rather than the same message again; a bad typed name is refused there and never opened.
TEST_F(MainWindowTest, AFailedStartUpSaysWhyOnceThenOffersTheChooser) {
    SetPortName(u"ttyUSB9");
    CPortChooserDlg::SetSurvey([] { return std::vector<SerialPortInfo>{}; }, nullptr);
    ExpectWarning(u"Open port error\n\nttyUSB9 does not exist. Ports there are: sim0");
    ExpectWarning(u"\"../sda\" is not a port name: it holds \"..\".");
    WhenModal([&](QWidget* dialog) {
        auto* chooser = static_cast<CPortChooserDlg*>(dialog);
        chooser->PathBox()->setText("../sda");
        chooser->accept();
        EXPECT_TRUE(chooser->isVisible());
        chooser->PathBox()->setText("sim0");
        chooser->accept();
    });
    Start();
    EXPECT_TRUE(session().IsConnected());
    EXPECT_EQ(ports().OpenLog(), (std::vector<std::u16string>{u"ttyUSB9", u"sim0"}));
}

TEST_F(MainWindowTest, TheAboutPageShowsTitleAndVersionInOneSharedFont) {
    Start();
    for (int page : {CPropPgFormView::kAboutPage, 0, CPropPgFormView::kAboutPage})
        sheet().SetActivePage(page);
    CGSM_About& about = view().GetAboutPage();
    auto* title = halvex::test::Control<QWidget>(&about, IDC_ABOUT_TITLE);
    // Bold, and larger than the desktop's font as 15 pixels were beside the device's 11.
    EXPECT_EQ(title->font().weight(), QFont::Bold);
    EXPECT_NEAR(title->font().pointSizeF() / QApplication::font().pointSizeF(), 15.0 / 11, 0.01);
    const std::string state = "window state " + std::to_string(about.GetSafeHwnd()) + " 2";
    EXPECT_NE(std::find(shell().Log().begin(), shell().Log().end(), state), shell().Log().end());
}

// The status bar while the book and the inbox are read, with the boxes wrapped as the program
// wraps them: indices read of the memory's 250, three blocks of 25 from each end, then the middle.
TEST_F(MainWindowTest, TheStatusBarFollowsTheReadsOfTheBookAndTheInboxThenGoesQuiet) {
    qt::StatusLineUi statusLine(ui());
    Host host = CurrentHost();
    host.ui = &statusLine;
    ScopedHost wrapped(host);
    Start();
    auto* bar = frame().findChild<QStatusBar*>(QStringLiteral("statusBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    std::vector<QString> said;
    QObject::connect(bar, &QStatusBar::messageChanged,
                     [&said](const QString& text) { said.push_back(text); });
    for (int page : {CPropPgFormView::kPhoneBookPage, CPropPgFormView::kInboxPage}) {
        sheet().SetActivePage(page);
        Command(ID_GET_DATA);
    }
    std::vector<QString> expected;
    for (int done : {0, 25, 50, 75, 100, 125, 150, 250})
        expected.push_back(QStringLiteral("Reading contacts %1 of 250").arg(done));
    expected.insert(expected.end(), {"", "Reading messages: SIM", "Reading messages: phone", ""});
    EXPECT_EQ(said, expected);
    app_.ExitInstance();  // while the wrapped boxes are in place
}

}  // namespace

// Delete on a focused list is the Delete command of its page, question and all; in an edit it
// stays a key that deletes a character.
TEST_F(MainWindowTest, TheDeleteKeyOnAListAsksAndDeletesAsTheDeleteCommand) {
    Start();
    const std::u16string message = u"Do you want to delete this message?";
    const std::pair<int, std::u16string> lists[] = {
        {IDC_CONTACT_LIST, u"Selected item will be deleted, Continue?"},
        {IDC_INBOX_LIST, message},
        {IDC_OUTBOX_LIST, message}};
    // As the desktop sends it: with the character DEL as its text.
    const auto pressDelete = [](QWidget* target) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        QApplication::sendEvent(target, &press);
        Settle();
    };
    for (int page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        sheet().SetActivePage(page);
        Command(ID_GET_DATA);
        const auto& [id, question] = lists[page];
        auto* list = halvex::test::Control<QTableWidget>(sheet().GetPage(page), id);
        const int rows = list->rowCount();
        ASSERT_GT(rows, 1);
        list->selectRow(1);
        list->setFocus();
        phone().ClearTranscript();
        ui().Expect(question, IDNO);
        pressDelete(list);
        EXPECT_TRUE(commands().empty());
        ui().Expect(question, IDYES);
        pressDelete(list);
        EXPECT_EQ(list->rowCount(), rows - 1);
    }
    sheet().SetActivePage(0);
    QLineEdit* box = view().GetPhoneBookPage().Box(1);
    box->setFocus();
    box->setText("0123");
    box->setCursorPosition(0);
    pressDelete(box);
    EXPECT_EQ(box->text(), "123");
}
