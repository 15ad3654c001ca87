// The window toolkit over Qt: widgets from dialog templates, posted messages and commands, the
// waits for the phone, message boxes and the property sheet. The list control's label editing
// is driven through the phone book page's renames (tests/phonebook/PhoneBookPageTest.cpp).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"
#include "platform/qt/PropertyPage.h"
#include "platform/qt/PropertySheet.h"
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
constexpr res::DialogTemplate kDialog = {900, u"Test", 120, 100, u"System", 8, kControls};

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

    EXPECT_TRUE(Control<QPushButton>(&host, 13)->isHidden());
    EXPECT_FALSE(Control<QPushButton>(&host, 13)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(&host, 16)->isDefault());
    EXPECT_EQ(Control<QCheckBox>(&host, 14)->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(Control<QPushButton>(&host, 15)->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Control<QLabel>(&host, 10)->focusPolicy(), Qt::NoFocus);

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

TEST_F(ToolkitTest, DialogUnitsFollowTheFont) {
    QFont small;
    small.setPixelSize(10);
    QFont large;
    large.setPixelSize(20);
    const DialogUnits a(small);
    const DialogUnits b(large);
    EXPECT_EQ(a.X(4), a.BaseX());
    EXPECT_EQ(a.Y(8), a.BaseY());
    EXPECT_GT(b.X(100), a.X(100) * 3 / 2);
    EXPECT_GT(b.Y(100), a.Y(100) * 3 / 2);
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
    bool posted = false;
    bool timer = false;
    CommandScope command;
    PostMessage(&window, [&] { posted = true; });
    // A timer that is due at once (a zero single shot would be a posted call, not a timer).
    QTimer due;
    due.setSingleShot(true);
    due.setInterval(0);
    QObject::connect(&due, &QTimer::timeout, [&] { timer = true; });
    due.start();
    const int before = window.paints;
    window.update();

    platform::Sleep(1000);

    EXPECT_GT(window.paints, before);
    EXPECT_FALSE(posted);
    EXPECT_FALSE(timer);
    EXPECT_EQ(clock().NowMs(), 1000u);
}

struct BoxCase {
    UINT type;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton;  // NoButton: none chosen
    QMessageBox::Icon icon;
    int escape;  // what Escape answers
};

TEST_F(ToolkitTest, MessageBoxesHaveTheButtonsIconDefaultAndOwnerAsked) {
    using B = QMessageBox;
    const BoxCase cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, {B::Ok}, B::Ok, B::Warning, IDOK},
        {MB_OK, {B::Ok}, B::Ok, B::NoIcon, IDOK},
        {MB_YESNO | MB_ICONQUESTION, {B::Yes, B::No}, B::Yes, B::Question, IDNO},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {B::Yes, B::No}, B::No, B::Question, IDNO},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION,
         {B::Retry, B::Cancel},
         B::Retry,
         B::Warning,
         IDCANCEL},
    };
    QWidget owner;
    owner.show();
    const HWND handle = HandleOf(&owner);
    QtUi ui;
    for (const BoxCase& c : cases) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->parentWidget(), &owner);
            EXPECT_EQ(box->windowTitle(), "Halvex");
            EXPECT_EQ(box->text(), "Text");
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->buttons().size(), static_cast<qsizetype>(c.buttons.size()));
            for (QMessageBox::StandardButton b : c.buttons) {
                EXPECT_NE(box->button(b), nullptr) << c.type;
            }
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton)) << c.type;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(ui.MessageBox(handle, u"Text", u"Halvex", c.type), c.escape) << c.type;
        EXPECT_TRUE(seen);
    }
    // A button pressed is its answer; a window gone leaves a box without owner.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ui.MessageBox(handle, u"Sure?", u"Halvex", MB_YESNO), IDYES);
    EXPECT_EQ(WidgetOf(987654), nullptr);
}

class Page : public CPropertyPage {
public:
    Page(std::vector<std::string>& log, std::string name)
        : CPropertyPage(res::IDD_PHONEBOOK), log_(log), name_(std::move(name)) {}
    BOOL keep = FALSE;

    BOOL OnInitDialog() override {
        log_.push_back(name_ + " init");
        return TRUE;
    }
    BOOL OnSetActive() override {
        log_.push_back(name_ + " set");
        return TRUE;
    }
    BOOL OnKillActive() override {
        log_.push_back(name_ + " kill");
        return keep ? FALSE : TRUE;
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

TEST_F(ToolkitTest, TheSheetAsksThePageInFrontBeforeShowingTheNext) {
    std::vector<std::string> log;
    Page a(log, "a");
    Page b(log, "b");
    QWidget window;
    {
        CPropertySheet sheet;
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        ASSERT_TRUE(sheet.Create(&window));
        sheet.SetTabLabel(1, u"Second");
        EXPECT_EQ(sheet.GetTabLabel(1), u"Second");
        EXPECT_EQ(log, (std::vector<std::string>{"a init", "b init", "a set"}));

        log.clear();
        sheet.GetTabControl()->setCurrentIndex(1);
        EXPECT_EQ(log, (std::vector<std::string>{"a kill", "b set"}));
        EXPECT_EQ(sheet.GetActiveIndex(), 1);

        log.clear();
        b.keep = TRUE;
        EXPECT_FALSE(sheet.SetActivePage(0));
        EXPECT_EQ(log, (std::vector<std::string>{"b kill"}));
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(sheet.GetTabControl()->currentIndex(), 1);
    }
    // The pages outlive the sheet: they belong to whoever added them.
    EXPECT_EQ(a.parent(), nullptr);
    EXPECT_NE(a.GetDlgItem(res::IDC_HOME), nullptr);
}

}  // namespace
