// The window toolkit over Qt: posted messages and commands, and the waits for the phone. The
// dialog templates, list control, property sheet and message boxes are driven through the pages'
// tests (tests/phonebook, tests/sms, tests/app).

#include <gtest/gtest.h>

#include <QTimer>

#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Windows.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using namespace platform::qt;
using halvex::test::Settle;

class ToolkitTest : public halvex::test::WindowTest<halvex::test::PlatformTest> {};

TEST_F(ToolkitTest, PostedMessagesWaitForTheRunningCommandAndDieWithTheirWindow) {
    std::vector<int> ran;
    QObject window;
    auto gone = std::make_unique<QObject>();
    {
        CommandScope command;
        PostMessage(&window, [&] { ran.push_back(1); });
        PostMessage(gone.get(), [&] { ran.push_back(2); });
        PostMessage(&window, [&] { ran.push_back(3); });
        QApplication::processEvents();
        DispatchPostedMessages();
        EXPECT_TRUE(ran.empty()) << "handled in the middle of a command";
        gone.reset();
    }
    Settle();
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST_F(ToolkitTest, AWaitForThePhoneRepaintsButRunsNoMessageAndNoTimer) {
    PaintCounter window;
    window.resize(100, 100);
    window.show();
    Settle();
    bool posted = false, timer = false;
    CommandScope command;
    PostMessage(&window, [&] { posted = true; });
    // A timer that is due at once (a zero single shot would be a posted call, not a timer).
    QTimer due;
    due.callOnTimeout([&] { timer = true; });
    due.start(0);
    const int before = window.paints;
    window.update();
    platform::Sleep(1000);
    EXPECT_EQ(std::tuple(window.paints > before, posted, timer, clock().NowMs()),
              std::tuple(true, false, false, 1000u));
}

}  // namespace
