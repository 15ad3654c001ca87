// The inbox and outbox pages, the message view and the compose dialog as the user works them:
// the real widgets on the simulated phone's default profile.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "phonesim/PduBuilder.h"
#include "res/Resource.h"
#include "sms/ComposeSender.h"
#include "tests/sms/MessagePagesFixture.h"

namespace {

using namespace platform;
using halvex::test::Control;
using halvex::test::Settle;
using halvex::test::WhenModal;
using Texts = std::vector<std::u16string>;

void Click(QWidget* dialog, int id) {
    Control<QAbstractButton>(dialog, id)->click();
}

// A label's, a line's or a text box's text.
QString Text(QWidget* dialog, int id) {
    auto* box = Control<QPlainTextEdit>(dialog, id);
    return box ? box->toPlainText() : Control<QWidget>(dialog, id)->property("text").toString();
}

// Ends a dialog whatever it would ask, so that a test that fails cannot leave it open.
void Finish(QWidget* dialog) {
    static_cast<QDialog*>(dialog)->done(0);
}

// What the compose dialog holds: the recipient and the text.
QStringList Composed(QWidget* compose) {
    return {Text(compose, res::IDC_RECIPIENT), Text(compose, res::IDC_MESSAGE)};
}

class MessagePagesTest : public halvex::test::MessagePagesTestBase {
protected:
    CInboxPage& inbox() { return *inbox_; }
    COutboxPage& outbox() { return *outbox_; }
    Texts Column(CMessagePage& page, int column) {
        Texts texts;
        for (int i = 0; i < page.GetList().GetItemCount(); ++i)
            texts.push_back(page.GetList().GetItemText(i, column));
        return texts;
    }
    // WhenModal for a dialog the test must see: one that never shows fails it.
    void Expect(std::function<void(QWidget*)> step) {
        ++expected_;
        WhenModal([this, step](QWidget* dialog) { ++shown_, step(dialog); });
    }
    void TearDown() override {
        EXPECT_EQ(shown_, expected_) << "a dialog was not shown";
        MessagePagesTestBase::TearDown();
    }
    int expected_ = 0, shown_ = 0;
    // A box of `owner` captioned "Halvex", answered with `answer`.
    void ExpectOwned(HWND owner, const std::u16string& text, UINT type, int answer = IDOK) {
        ui().Expect({text, answer, type, u"Halvex", owner, {}});
    }
    static constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
};

// Enter does not close the view; Reply opens the compose dialog to the sender's international
// number, "+" and all, Forward with the text whole. (A sent message listed as received, without a
// date and answered to its recipient, is the stored-message tests'.)
TEST_F(MessagePagesTest, TheViewShowsAMessageAndReplyAndForwardOpenTheComposeDialog) {
    inbox().LoadMessages();
    Select(inbox(), {1});
    const QString text = "Morning! Are we still on for lunch today?";
    std::vector<QStringList> composed;
    Expect([&](QWidget* view) {
        EXPECT_EQ((QStringList{Text(view, res::IDC_VIEW_NUMBER), Text(view, res::IDC_VIEW_DATE),
                               Text(view, res::IDC_VIEW_TEXT), Text(view, res::IDC_VIEW_SENDER)}),
                  (QStringList{"447700900103", "03/01/24 09:15:02", text, "Unknown"}));
        EXPECT_TRUE(Control<QWidget>(view, res::IDC_VIEW_SENDER)->isHidden());
        QTest::keyClick(view, Qt::Key_Return);
        for (int button : {res::IDC_REPLY, res::IDC_FORWARD}) {
            WhenModal([&](QWidget* compose) {
                composed.push_back(Composed(compose));
                compose->close();
            });
            Click(view, button);
        }
        EXPECT_TRUE(view->isVisible());
        view->close();
    });
    DoubleClick(inbox());
    EXPECT_EQ(composed, (std::vector<QStringList>{{"+447700900103", ""}, {"", text}}));
}

// One question names how many; every selected message goes (each from its own storage: the delete
// tests).
TEST_F(MessagePagesTest, DeleteTakesEverySelectedMessageAfterOneQuestion) {
    inbox().LoadMessages();
    phone().ClearTranscript();
    Select(inbox(), {6, 3, 1});
    const std::u16string kDeleteThree = u"Do you want to delete these 3 messages?";
    ExpectOwned(inbox().GetSafeHwnd(), kDeleteThree, kQuestion, IDNO);
    inbox().DeleteSelected();
    EXPECT_TRUE(commands().empty());
    ExpectOwned(inbox().GetSafeHwnd(), kDeleteThree, kQuestion, IDYES);
    inbox().DeleteSelected();
    const Texts left = Column(inbox(), 2);
    ASSERT_EQ(left.size(), 11u);
    EXPECT_EQ((Texts{left[0], left[1], left[2]}),
              (Texts{u"+30690000431", u"BANK", u"+8613800000451"}));
}

// A long message is one row in part order wherever its parts lie, with the name of its sender's
// contact; the view shows all of it and who wrote it. (Its delete, every part and a refused one,
// is the message walk's.)
TEST_F(MessagePagesTest, ALongMessageIsOneRowAndTheViewShowsItWholeWithItsSender) {
    books().LoadBook(phone::Memory::Phone);
    auto part = [](int sequence, const char16_t* text) {
        return phonesim::BuildDeliver({.from = "+447700900999",
                                       .time = {24, 3, 11, 12, 0, 0, 0},
                                       .text = text,
                                       .part = phonesim::PartOf{9, 2, sequence}})
            .value();
    };
    phone().Storage("ME").messages[30] = {1, part(2, u"1pm, room 4B")};
    phone().Storage("ME").messages[31] = {1, part(1, u"FM: Alice Smith MSG: Lunch moved to ")};
    inbox().LoadMessages();
    ASSERT_EQ(inbox().GetList().GetItemCount(), 15);
    const std::u16string lunch = u"Lunch moved to 1pm, room 4B";
    const std::u16string from = u"From: Alice Smith <+447700900999>";
    EXPECT_EQ((Texts{Column(inbox(), 0)[13], Column(inbox(), 2)[13], Column(inbox(), 3)[14],
                     inbox().GetList().GetItemToolTip(14, 3)}),
              (Texts{u"15,14", u"+447700900161 (Fiona Reid)", lunch, from}));
    Select(inbox(), {14});
    Expect([&](QWidget* view) {
        EXPECT_EQ((QStringList{Text(view, res::IDC_VIEW_TEXT), Text(view, res::IDC_VIEW_SENDER)}),
                  (QStringList{QString::fromStdU16String(lunch), QString::fromStdU16String(from)}));
        EXPECT_TRUE(Control<QWidget>(view, res::IDC_VIEW_SENDER)->isVisible());
        view->close();
    });
    DoubleClick(inbox());
}

// (A double click with no row selected, and Save&Send's row at the end of the list, are the
// message walk's.)
TEST_F(MessagePagesTest, AStoredMessageOpensInTheComposeDialog) {
    outbox().LoadMessages();
    Select(outbox(), {0});
    Expect([&](QWidget* compose) {
        EXPECT_EQ(Composed(compose), (QStringList{"+447700900231", "On my way"}));
        compose->close();
    });
    DoubleClick(outbox());
    // The stored message's relative validity 0xAA: 4 days.
    EXPECT_EQ(outbox().GetComposeDialog().GetValidityText(), u"4 Day(s)");
}

TEST_F(MessagePagesTest,
       TheComposeDialogTakesSeventyCharactersAndKeepsItsHiddenControlsOutOfReach) {
    Expect([&](QWidget* dialog) {
        auto* message = Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE);
        message->setFocus();
        QTest::keyClicks(message, QString(68, QLatin1Char('a')));
        QTest::keyClick(message, Qt::Key_Return);  // a line break counts as one character
        QTest::keyClicks(message, "bc");
        EXPECT_EQ(message->toPlainText(), QString(68, QLatin1Char('a')) + "\nb");
        message->clear();
        QApplication::clipboard()->setText(QString(80, QLatin1Char('p')));
        message->paste();
        EXPECT_EQ(message->toPlainText().size(), 70);

        // Tab goes round the recipient, the text and the two buttons only.
        QApplication::setActiveWindow(dialog);
        Control<QLineEdit>(dialog, res::IDC_RECIPIENT)->setFocus();
        std::vector<QString> order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(QApplication::focusWidget()->objectName());
        }
        using platform::qt::ControlName;
        EXPECT_EQ(order, (std::vector<QString>{
                             ControlName(res::IDC_MESSAGE), ControlName(res::IDC_SEND),
                             ControlName(res::IDC_SAVE_SEND), ControlName(res::IDC_RECIPIENT)}));
        EXPECT_FALSE(dialog->rect().intersects(
            Control<QWidget>(dialog, res::IDC_DELIVER_REPORT)->geometry()));
        Finish(dialog);
    });
    outbox().ComposeNew();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(outbox().GetComposeDialog().GetSourceIndex(), -1);
}

// Enter in the recipient box moves on to the text; closing over typed text asks first (No keeps
// the dialog), and closing after the text went does not. Sending while the phone is not
// connected says so and keeps the text.
TEST_F(MessagePagesTest, TypedTextIsNeverLostWithoutAQuestion) {
    Expect([&](QWidget* dialog) {
        QApplication::setActiveWindow(dialog);
        auto* recipient = Control<QLineEdit>(dialog, res::IDC_RECIPIENT);
        recipient->setFocus();
        QTest::keyClicks(recipient, "+447700900555");
        QTest::keyClick(recipient, Qt::Key_Return);
        ASSERT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(dialog, res::IDC_MESSAGE));
        QTest::keyClicks(QApplication::focusWidget(), "Typed");

        const HWND owner = outbox().GetComposeDialog().GetSafeHwnd();
        ExpectOwned(owner, COutboxMessageDlg::kDiscardQuestion, kQuestion, IDNO);
        QTest::keyClick(dialog, Qt::Key_Escape);
        ASSERT_TRUE(dialog->isVisible());

        session().Disconnect();
        ExpectOwned(owner, sms::CComposeSender::kNotConnectedText, MB_OK | MB_ICONEXCLAMATION);
        Click(dialog, res::IDC_SEND);
        EXPECT_EQ(Composed(dialog), (QStringList{"+447700900555", "Typed"}));

        Connect();
        ExpectOwned(owner, u"Message sent ok!", MB_OK);
        Click(dialog, res::IDC_SEND);
        dialog->close();
        EXPECT_FALSE(dialog->isVisible()) << "closing after the send did not close";
        if (dialog->isVisible())
            Finish(dialog);
    });
    outbox().ComposeNew();
    EXPECT_EQ(sent().size(), 1u);
}

}  // namespace
