#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"

using namespace platform;

// The cursor and the boxes it records are read by the link's tests.
TEST(ScriptedUi, AnswersExpectedBoxesInOrderThroughMessageBoxW) {
    ScriptedUi ui;
    int actions = 0;
    ui.Expect(u"First", IDOK);
    ui.Expect(ExpectedBox{u"Second", IDRETRY, MB_RETRYCANCEL | MB_ICONEXCLAMATION, u"Halvex", 0,
                          [&] { ++actions; }});
    {
        ScopedHost host(Host{nullptr, nullptr, nullptr, &ui});
        EXPECT_EQ(MessageBoxW(0, u"First", u"Caption", MB_OK), IDOK);
        EXPECT_EQ(MessageBoxW(0, u"Second", u"Halvex", MB_RETRYCANCEL | MB_ICONEXCLAMATION),
                  IDRETRY);
    }
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(ui.Unexpected().empty());
    EXPECT_EQ(ui.Pending(), 0u);
    // Without a user interface there is no answer.
    ScopedHost none(Host{});
    EXPECT_EQ(MessageBoxW(0, u"x", u"y", MB_OK), 0);
}

TEST(ScriptedUi, AnUnexpectedOrMismatchedBoxGetsTheSafestAnswerAndIsReported) {
    ScriptedUi ui;
    EXPECT_EQ(ui.MessageBox(0, u"Retry?", u"Halvex", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(ui.MessageBox(0, u"Exit?", u"Halvex", MB_YESNO), IDNO);
    ui.Expect(ExpectedBox{u"Same text", IDRETRY, MB_RETRYCANCEL, {}, {}, {}});
    // Right text, wrong buttons: not the box the script meant.
    EXPECT_EQ(ui.MessageBox(0, u"Same text", u"Halvex", MB_OK), IDOK);
    EXPECT_EQ(ui.Unexpected().size(), 3u);
    EXPECT_EQ(ui.Pending(), 1u);
}
