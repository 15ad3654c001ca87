// The window toolkit over Qt: widgets from dialog templates, posted messages and commands, the
// waits for the phone and message boxes. The list control's label editing is driven through the
// phone book page's renames (tests/phonebook/PhoneBookPageTest.cpp), the property sheet through
// the page changes there and in tests/app/MainWindowTest.cpp.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/Windows.h"
#include "res/Resource.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using namespace platform::qt;
namespace s = res::style;
using halvex::test::Control;
using halvex::test::Settle;
using K = res::ControlKind;

class ToolkitTest : public halvex::test::WindowTest<halvex::test::PlatformTest> {};

constexpr res::ControlTemplate kControls[] = {
    {10, K::Static, u"&Name:", 0, 2, 2, 40, 8},
    {11, K::Edit, u"", s::Border, 44, 2, 60, 12},
    {-1, K::Static, u"Kind:", 0, 2, 20, 40, 8},
    {12, K::ComboBox, u"b\na", s::DropDownList, 44, 20, 60, 40},
    {13, K::Button, u"Save&&Send", s::Hidden | s::Disabled, 2, 40, 50, 14},
    {14, K::CheckBox, u"Report", s::NoTabStop, 60, 40, 50, 10},
    {15, K::Button, u"Below", 0, 2, 200, 50, 14},  // outside the 120-unit area
    {16, K::Button, u"OK", s::DefPushButton, 60, 60, 50, 14},
};
constexpr res::DialogTemplate kDialog = {900, u"Test", 120, 100, u"System", 8, kControls, {}};

TEST_F(ToolkitTest, TemplatesBecomeNamedPlacedReachableControls) {
    QWidget host;
    const BuiltDialog built = BuildDialog(&host, kDialog);
    const DialogUnits units(host.font());

    EXPECT_EQ(built.size, QSize(units.X(120), units.Y(100)));
    auto* edit = Control<QLineEdit>(&host, 11);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(units.X(44), units.Y(2), units.X(60), units.Y(12)));
    // Labels name the control after them; a literal "&&" stays one ampersand.
    EXPECT_EQ(edit->accessibleName(), "Name");
    EXPECT_EQ(Control<QComboBox>(&host, 12)->accessibleName(), "Kind");
    EXPECT_EQ(Control<QPushButton>(&host, 13)->accessibleName(), "Save&Send");
    EXPECT_EQ(Control<QComboBox>(&host, 12)->count(), 2);
    auto* hidden = Control<QPushButton>(&host, 13);
    EXPECT_EQ(std::tuple(hidden->isHidden(), hidden->isEnabled(),
                         Control<QPushButton>(&host, 16)->isDefault()),
              std::tuple(true, false, true));
    std::vector<Qt::FocusPolicy> focus;
    for (int id : {14, 15, 10})
        focus.push_back(Control<QWidget>(&host, id)->focusPolicy());
    EXPECT_EQ(focus, (std::vector{Qt::ClickFocus, Qt::NoFocus, Qt::NoFocus}));

    // Tab goes through the reachable controls in template order, and round again.
    host.show();
    QApplication::setActiveWindow(&host);
    edit->setFocus();
    std::vector<QString> order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(order, (std::vector<QString>{"12", "16", "11"}));
}

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

TEST_F(ToolkitTest, MessageBoxesHaveTheButtonsIconDefaultAndOwnerAsked) {
    using B = QMessageBox;
    const struct {
        UINT type;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::Icon icon;
        int escape;  // what Escape answers
    } cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, B::Ok, B::Ok, B::Warning, IDOK},
        {MB_OK, B::Ok, B::Ok, B::NoIcon, IDOK},
        {MB_YESNO | MB_ICONQUESTION, B::Yes | B::No, B::Yes, B::Question, IDNO},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, B::Yes | B::No, B::No, B::Question, IDNO},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION, B::Retry | B::Cancel, B::Retry, B::Warning,
         IDCANCEL}};
    QWidget owner;
    owner.show();
    const HWND handle = HandleOf(&owner);
    QtUi ui;
    for (const auto& c : cases) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), &owner);
            EXPECT_EQ(box->windowTitle() + " " + box->text(), "Halvex Text");
            EXPECT_EQ(box->standardButtons(), c.buttons) << c.type;
            EXPECT_EQ(box->icon(), c.icon) << c.type;
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton)) << c.type;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(ui.MessageBox(handle, u"Text", u"Halvex", c.type), c.escape) << c.type;
    }
    // A button pressed is its answer; a window gone leaves a box without owner.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ui.MessageBox(handle, u"Sure?", u"Halvex", MB_YESNO), IDYES);
    EXPECT_EQ(WidgetOf(987654), nullptr);
}

}  // namespace
