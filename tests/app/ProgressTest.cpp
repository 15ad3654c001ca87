// The status bar while the phone book and the message boxes are read: what it says at each step
// of the read, that the waits for the phone repaint it, and that it is empty again afterwards.

#include <gtest/gtest.h>

#include <QEvent>
#include <QStatusBar>
#include <filesystem>

#include "app/MainFrame.h"
#include "app/OrvGSMApp.h"
#include "app/PropPgFormView.h"
#include "platform/qt/StatusLine.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/Process.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using halvex::test::Settle;
using Texts = std::vector<QString>;

// Keeps the bar's text each time the bar is painted, once per change.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QStatusBar* bar) : bar_(bar) { bar->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            (texts.empty() || texts.back() != bar_->currentMessage()))
            texts.push_back(bar_->currentMessage());
        return false;
    }
    Texts texts;

private:
    QStatusBar* bar_;
};

class ProgressTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    ProgressTest()
        : WindowTest("default"), statusLine_(ui()), host_([this] {
              platform::Host host = platform::CurrentHost();
              host.ui = &statusLine_;  // as the program wraps its message boxes
              return host;
          }()) {}

    void SetUp() override {
        WindowTest::SetUp();
        FreshDesktop();
    }
    void TearDown() override {
        app_.ExitInstance();
        WindowTest::TearDown();
    }

    platform::qt::StatusLineUi statusLine_;
    platform::ScopedHost host_;
    COrvGSMApp app_;
};

TEST_F(ProgressTest, TheStatusBarFollowsTheReadsOfTheBookAndTheInboxThenGoesQuiet) {
    ASSERT_TRUE(app_.InitInstance());
    Settle();
    auto* bar = app_.GetMainFrame()->findChild<QStatusBar*>(QStringLiteral("statusBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    Texts said;
    QObject::connect(bar, &QStatusBar::messageChanged,
                     [&said](const QString& text) { said.push_back(text); });
    PaintedTexts painted(bar);

    CViewPropertySheet& sheet = app_.GetView()->GetSheet();
    for (int page : {CPropPgFormView::kPhoneBookPage, CPropPgFormView::kInboxPage}) {
        sheet.SetActivePage(page);
        app_.GetMainFrame()->GetAction(res::ID_GET_DATA)->trigger();
        Settle();
    }

    // Indices read of the memory's 250, after each command: three blocks of 25 from each end,
    // then the middle.
    Texts book;
    for (int done : {0, 25, 50, 75, 100, 125, 150, 250})
        book.push_back(QStringLiteral("Reading contacts %1 of 250").arg(done));
    Texts expected = book;
    expected.insert(expected.end(), {"", "Reading messages: SIM", "Reading messages: phone", ""});
    EXPECT_EQ(said, expected);
    // The waits for the phone painted every text but the last count, cleared at once.
    expected.erase(expected.begin() + static_cast<long>(book.size()) - 1);
    EXPECT_EQ(painted.texts, expected);
    EXPECT_TRUE(bar->currentMessage().isEmpty());
}

}  // namespace
