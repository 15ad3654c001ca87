#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"

using namespace platform;

TEST(ScriptedUi, AnswersExpectedBoxesInOrderThroughMessageBoxWAndRecordsThem) {
    ScriptedUi ui;
    int actions = 0;
    ui.Expect(u"First", IDOK);
    ui.Expect(ExpectedBox{u"Second", IDRETRY, MB_RETRYCANCEL | MB_ICONEXCLAMATION, u"Halvex", 0,
                          [&] { ++actions; }});
    {
        ScopedHost host(Host{nullptr, nullptr, nullptr, &ui});
        ui.BeginWaitCursor();
        EXPECT_EQ(MessageBoxW(0, u"First", u"Caption", MB_OK), IDOK);
        ui.EndWaitCursor();
        EXPECT_EQ(MessageBoxW(0, u"Second", u"Halvex", MB_RETRYCANCEL | MB_ICONEXCLAMATION),
                  IDRETRY);
    }
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(ui.Unexpected().empty());
    EXPECT_EQ(ui.Pending(), 0u);
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].cursorDepth, 1);
    EXPECT_EQ(ui.Boxes()[0].caption, u"Caption");
    EXPECT_EQ(ui.Log(),
              (std::vector<std::string>{"cursor on", "box: First", "cursor off", "box: Second"}));

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
