// The status bar while the phone book and the message boxes are read: what it says at each step
// of the read, and that it is empty again afterwards. (That a wait for the phone repaints what
// changed, the status bar included, the toolkit's tests prove.)

#include <gtest/gtest.h>

#include <QStatusBar>

#include "app/MainFrame.h"
#include "app/OrvGSMApp.h"
#include "app/PropPgFormView.h"
#include "platform/qt/StatusLine.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using halvex::test::Settle;

class ProgressTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    ProgressTest()
        : WindowTest("default"), statusLine_(ui()), host_([this] {
              platform::Host host = platform::CurrentHost();
              host.ui = &statusLine_;  // as the program wraps its message boxes
              return host;
          }()) {}
    void TearDown() override {
        app_.ExitInstance();
        WindowTest::TearDown();
    }

    platform::qt::StatusLineUi statusLine_;
    platform::ScopedHost host_;
    COrvGSMApp app_;
};

TEST_F(ProgressTest, TheStatusBarFollowsTheReadsOfTheBookAndTheInboxThenGoesQuiet) {
    FreshDesktop();
    ASSERT_TRUE(app_.InitInstance());
    Settle();
    auto* bar = app_.GetMainFrame()->findChild<QStatusBar*>(QStringLiteral("statusBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    std::vector<QString> said;
    QObject::connect(bar, &QStatusBar::messageChanged,
                     [&said](const QString& text) { said.push_back(text); });
    for (int page : {CPropPgFormView::kPhoneBookPage, CPropPgFormView::kInboxPage}) {
        app_.GetView()->GetSheet().SetActivePage(page);
        app_.GetMainFrame()->GetAction(res::ID_GET_DATA)->trigger();
        Settle();
    }
    // Indices read of the memory's 250, after each command: three blocks of 25 from each end,
    // then the middle.
    std::vector<QString> expected;
    for (int done : {0, 25, 50, 75, 100, 125, 150, 250})
        expected.push_back(QStringLiteral("Reading contacts %1 of 250").arg(done));
    expected.insert(expected.end(), {"", "Reading messages: SIM", "Reading messages: phone", ""});
    EXPECT_EQ(said, expected);
}

}  // namespace
