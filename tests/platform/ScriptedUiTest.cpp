#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"

using namespace platform;

// Answering expected boxes in order is what every test that expects one relies on; what a box
// nobody expected gets is not.
TEST(ScriptedUi, AnUnexpectedOrMismatchedBoxGetsTheSafestAnswerAndIsReported) {
    ScriptedUi ui;
    EXPECT_EQ(ui.MessageBox(0, u"Retry?", u"Halvex", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(ui.MessageBox(0, u"Exit?", u"Halvex", MB_YESNO), IDNO);
    ui.Expect(ExpectedBox{u"Same text", IDRETRY, MB_RETRYCANCEL, {}, {}, {}});
    // Right text, wrong buttons: not the box the script meant.
    EXPECT_EQ(ui.MessageBox(0, u"Same text", u"Halvex", MB_OK), IDOK);
    EXPECT_EQ(ui.Unexpected().size(), 3u);
    EXPECT_EQ(ui.Pending(), 1u);
    // Without a user interface there is no answer.
    ScopedHost none(Host{});
    EXPECT_EQ(MessageBoxW(0, u"x", u"y", MB_OK), 0);
}
