#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"

using namespace platform;

TEST(ScriptedUi, AnswersExpectedBoxesInOrderAndRecordsThem) {
    ScriptedUi ui;
    int actions = 0;
    ui.Expect(u"First", IDOK);
    ui.Expect(ExpectedBox{u"Second", IDRETRY, MB_RETRYCANCEL | MB_ICONEXCLAMATION, u"Halvex", 0,
                          [&] { ++actions; }});
    ui.BeginWaitCursor();
    EXPECT_EQ(ui.MessageBox(0, u"First", u"Halvex", MB_OK), IDOK);
    ui.EndWaitCursor();
    EXPECT_EQ(ui.MessageBox(0, u"Second", u"Halvex", MB_RETRYCANCEL | MB_ICONEXCLAMATION), IDRETRY);
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(ui.Unexpected().empty());
    EXPECT_EQ(ui.Pending(), 0u);
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].cursorDepth, 1);
    EXPECT_EQ(ui.Boxes()[1].cursorDepth, 0);
    EXPECT_EQ(ui.Log(),
              (std::vector<std::string>{"cursor on", "box: First", "cursor off", "box: Second"}));
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

TEST(ScriptedUi, MessageBoxWReachesTheInstalledUiAndFailsWithoutOne) {
    ScriptedUi ui;
    {
        ScopedHost host(Host{nullptr, nullptr, nullptr, &ui});
        ui.Expect(u"Open port error");
        EXPECT_EQ(MessageBoxW(0, u"Open port error", u"Halvex", MB_OK | MB_ICONEXCLAMATION), IDOK);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].caption, u"Halvex");
        EXPECT_EQ(ui.Boxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
    }
    ScopedHost none(Host{});
    EXPECT_EQ(MessageBoxW(0, u"x", u"y", MB_OK), 0);
}
