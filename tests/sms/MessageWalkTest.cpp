// A seeded random walk through the real message pages, as a user works them: Get data on either
// page, select and delete rows, open a message, reply, forward, write a new one or open a stored
// one, type, press Enter, send or save and send while the phone is quick, slow, silent or
// refusing, close the dialog, disconnect and connect; every question answered Yes or No at random.
// After every step: the lists show what the phone stores, a delete removes from the phone exactly
// messages the user selected, a send told as sent was sent, and typed text never goes without a
// question. HALVEX_WALK_SEED repeats a run, HALVEX_WALK_STEPS makes it longer (300 by default).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/qt/PropertySheet.h"
#include "res/Resource.h"
#include "sms/ComposeSender.h"
#include "sms/InboxPage.h"
#include "sms/MessageBoxes.h"
#include "sms/OutboxPage.h"
#include "sms/SmsEngine.h"
#include "sms/codec/ShortMessage.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using halvex::test::Control;
using halvex::test::Settle;
using halvex::test::WhenModal;
using phonesim::Fault;

// Where a message lies on the phone: storage name and index.
using Key = std::pair<std::string, int>;
using Stored = std::map<Key, phonesim::SmsMessage>;

unsigned FromEnvironment(const char* name, unsigned fallback) {
    const char* given = std::getenv(name);
    return given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : fallback;
}

std::string Utf8(const std::u16string& text) {
    return platform::ToUtf8ForLog(text);
}

bool SameHex(const std::string& a, const std::u16string& b) {
    return sms::EqualsIgnoringCase(std::u16string(a.begin(), a.end()), b);
}

// Answers every question Yes or No at random and remembers every box.
class RandomAnswers : public UserInterface {
public:
    explicit RandomAnswers(std::mt19937& random) : random_(random) {}
    int MessageBox(HWND, const std::u16string& text, const std::u16string&, UINT type) override {
        const UINT buttons = type & 0x0F;
        const int answer = buttons == MB_YESNO         ? (random_() % 2 ? IDYES : IDNO)
                           : buttons == MB_RETRYCANCEL ? IDCANCEL
                                                       : IDOK;
        boxes.push_back({text, answer});
        return answer;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    struct Box {
        std::u16string text;
        int answer;
    };
    std::vector<Box> boxes;

private:
    std::mt19937& random_;
};

class MessageWalk : public halvex::test::WindowTest<halvex::test::SessionTest> {
protected:
    MessageWalk()
        : WindowTest("default"),
          seed_(FromEnvironment("HALVEX_WALK_SEED", 20261207u)),
          random_(seed_),
          answers_(random_),
          host_([this] {
              Host host = CurrentHost();
              host.ui = &answers_;
              return host;
          }()) {}

    void SetUp() override {
        WindowTest::SetUp();
        g_SmsEngine.ClearInbox();
        g_SmsEngine.ClearOutbox();
        inbox_ = std::make_unique<CInboxPage>();
        outbox_ = std::make_unique<COutboxPage>();
        sheet_ = new platform::qt::CPropertySheet(&window_);
        sheet_->AddPage(inbox_.get());
        sheet_->AddPage(outbox_.get());
        ASSERT_TRUE(sheet_->Create(&window_));
        window_.resize(400, 400);
        window_.show();
        QApplication::setActiveWindow(&window_);
        Connect();
        Settle();
    }
    void TearDown() override {
        delete sheet_;
        inbox_.reset();
        outbox_.reset();
        WindowTest::TearDown();
    }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    CMessagePage& Page(int box) {
        return box == CSmsEngine::kInbox ? static_cast<CMessagePage&>(*inbox_) : *outbox_;
    }
    static const sms::MessageList& List(int box) {
        return box == CSmsEngine::kInbox ? g_SmsEngine.GetInbox() : g_SmsEngine.GetOutbox();
    }
    static Key KeyOf(const sms::MessageList& list, int i) {
        return {Utf8(sms::StorageName(list.Storage(i))), CSmsEngine::DecimalValue(list.Index(i))};
    }
    Stored Phone() {
        Stored stored;
        for (const char* name : {"SM", "ME"}) {
            for (const auto& [index, message] : phone().Storage(name).messages) {
                stored[{name, index}] = message;
            }
        }
        return stored;
    }
    // Boxes shown from `from` on.
    std::vector<std::u16string> BoxesFrom(std::size_t from) const {
        std::vector<std::u16string> texts;
        for (std::size_t i = from; i < answers_.boxes.size(); ++i) {
            texts.push_back(answers_.boxes[i].text);
        }
        return texts;
    }
    bool Shown(std::size_t from, const std::u16string& text) const {
        const std::vector<std::u16string> texts = BoxesFrom(from);
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    // Every entry of both lists is a message the phone holds, of the box's statuses, and every
    // page's rows are its list's entries in order (the outbox page may not show yet what a send
    // from the inbox added at the end).
    void CheckListsShowThePhone() {
        const Stored stored = Phone();
        for (int box : {CSmsEngine::kInbox, CSmsEngine::kOutbox}) {
            const sms::MessageList& list = List(box);
            for (int i = 0; i < list.Count(); ++i) {
                const auto it = stored.find(KeyOf(list, i));
                ASSERT_NE(it, stored.end())
                    << "box " << box << " entry " << i << " is not on the phone";
                EXPECT_TRUE(SameHex(it->second.pdu, list.Pdu(i)))
                    << "box " << box << " entry " << i;
                const int status = it->second.status;
                EXPECT_TRUE(box == CSmsEngine::kInbox ? status <= 1 : status == 3) << status;
            }
            CMessagePage& page = Page(box);
            const int rows = page.GetList().GetItemCount();
            EXPECT_EQ(rows, static_cast<int>(page.GetRows().size()));
            ASSERT_LE(rows, list.Count()) << "box " << box;
            const int textColumn = box == CSmsEngine::kInbox ? 3 : 2;
            for (int i = 0; i < rows; ++i) {
                const sms::MessageRow row = sms::BuildRow(list, i, box == CSmsEngine::kInbox);
                if (row.decoded) {
                    EXPECT_EQ(page.GetList().GetItemText(i, textColumn), row.text) << i;
                }
            }
            if (box == CSmsEngine::kInbox) {
                EXPECT_EQ(rows, list.Count()) << "the inbox page lags its list";
            }
        }
    }

    // What a load must list: the box's statuses, SIM first, by index; the inbox once per text.
    static std::vector<Key> Expected(const Stored& stored, int box) {
        std::vector<Key> keys;
        std::vector<std::string> pdus;
        const std::vector<int> statuses =
            box == CSmsEngine::kInbox ? std::vector<int>{0, 1} : std::vector<int>{3};
        for (const char* name : {"SM", "ME"}) {
            for (int status : statuses) {
                for (const auto& [key, message] : stored) {
                    if (key.first != name || message.status != status) {
                        continue;
                    }
                    const bool twice = std::any_of(pdus.begin(), pdus.end(), [&](const auto& p) {
                        return SameHex(p, std::u16string(message.pdu.begin(), message.pdu.end()));
                    });
                    if (box == CSmsEngine::kInbox && twice) {
                        continue;
                    }
                    if (keys.size() < sms::MessageList::kCapacity) {
                        keys.push_back(key);
                        pdus.push_back(message.pdu);
                    }
                }
            }
        }
        return keys;
    }

    void Load(int box) {
        const Stored before = Phone();
        Page(box).LoadMessages();
        if (!session().IsConnected()) {
            return;
        }
        std::vector<Key> listed;
        for (int i = 0; i < List(box).Count(); ++i) {
            listed.push_back(KeyOf(List(box), i));
        }
        EXPECT_EQ(listed, Expected(before, box)) << "box " << box;
        EXPECT_EQ(Page(box).GetList().GetItemCount(), List(box).Count());
    }

    void Delete(int box) {
        CMessagePage& page = Page(box);
        const int rows = page.GetList().GetItemCount();
        std::set<int> chosen;
        for (int n = Pick(8) == 0 ? 0 : 1 + Pick(3); n > 0 && rows > 0; --n) {
            chosen.insert(Pick(rows));
        }
        page.GetList().GetWidget()->clearSelection();
        std::set<Key> selected;
        for (int row : chosen) {
            page.GetList().SelectItem(row);
            selected.insert(KeyOf(List(box), row));
        }
        const int fault = Pick(5);
        const Fault faults[] = {Fault::ErrorReply("AT+CMGD"), Fault::NoReply("AT+CMGD"),
                                Fault::PausedReply("AT+CMGD", 2000 + 1000 * Pick(20), 0)};
        if (fault < 3) {
            Fault f = faults[fault];
            f.skip = Pick(2);
            phone().AddFault(f);
        }
        SCOPED_TRACE("delete " + std::to_string(chosen.size()) + " rows, fault " +
                     std::to_string(fault));
        const Stored before = Phone();
        std::multiset<Key> listedBefore;
        for (int i = 0; i < List(box).Count(); ++i) {
            listedBefore.insert(KeyOf(List(box), i));
        }
        const std::size_t boxes = answers_.boxes.size();
        page.DeleteSelected();
        const Stored after = Phone();
        std::set<Key> gone;
        for (const auto& [key, message] : before) {
            if (after.count(key) == 0) {
                gone.insert(key);
            }
        }
        for (const Key& key : gone) {
            EXPECT_EQ(selected.count(key), 1u) << key.first << key.second << " was not selected";
        }
        std::multiset<Key> listedAfter;
        for (int i = 0; i < List(box).Count(); ++i) {
            listedAfter.insert(KeyOf(List(box), i));
        }
        std::set<Key> dropped;
        for (const Key& key : listedBefore) {
            if (listedAfter.count(key) < listedBefore.count(key)) {
                dropped.insert(key);
            }
        }
        EXPECT_EQ(dropped, gone) << "the list and the phone disagree on what went";
        const bool yes = answers_.boxes.size() > boxes && answers_.boxes[boxes].answer == IDYES;
        if (yes && fault >= 3 && session().IsConnected()) {
            EXPECT_EQ(gone, selected);
        }
        if (chosen.size() > 1 && answers_.boxes.size() > boxes) {
            EXPECT_EQ(answers_.boxes[boxes].text,
                      sms::DeleteQuestion(static_cast<int>(chosen.size())));
        }
        phone().ClearFaults();
        clock().Advance(30000);  // a late answer is over before the next step
    }

    // Sets a one-line or a text box to `text`, as typed.
    static void Type(QWidget* box, const QString& text) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->clear();
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
            edit->clear();
        }
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    // One Send or Save&Send with the phone in a random mood, and what the user was told checked
    // against what the phone did.
    void Send(QWidget* dialog) {
        const bool save = Pick(2) == 0;
        const int mood = Pick(9);
        auto* recipientBox = Control<QLineEdit>(dialog, res::IDC_RECIPIENT);
        if (recipientBox->text().isEmpty() && Pick(4) != 0) {
            Type(recipientBox, "+4477009001" + QString::number(10 + Pick(90)));
        }
        auto* textBox = Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE);
        if (textBox->toPlainText().isEmpty() && Pick(4) != 0) {
            Type(textBox, "Hello " + QString::number(Pick(100)));
        }
        const std::uint32_t late = mood == 2 ? 70000 : 1000 * (2 + Pick(50));
        switch (mood) {
            case 1:
            case 2:
                phone().AddFault([&] {
                    Fault f = Fault::PausedReply("AT+CMGS", late, 0);
                    f.pdu = true;
                    return f;
                }());
                break;
            case 3:
                phone().AddFault([] {
                    Fault f = Fault::NoReply("AT+CMGS");
                    f.pdu = true;
                    return f;
                }());
                break;
            case 4: {
                Fault f = Fault::ErrorReply("AT+CMGS");
                f.pdu = Pick(2) == 0;  // refused before the prompt, or after the text
                phone().AddFault(f);
                break;
            }
            case 5:
                phone().AddFault(Fault::ErrorReply("AT+CMGW"));
                break;
            case 6:  // the prompt itself comes late
                phone().SetCommandLatency("AT+CMGS", 1000 * (2 + Pick(5)));
                break;
            default:
                break;
        }
        const QString recipient = Control<QLineEdit>(dialog, res::IDC_RECIPIENT)->text();
        const QString text = Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE)->toPlainText();
        SCOPED_TRACE("send to \"" + recipient.toStdString() + "\" of \"" + text.toStdString() +
                     "\", save " + std::to_string(save) + ", mood " + std::to_string(mood));
        const std::size_t sentBefore = sent().size();
        const Stored before = Phone();
        const int outboxBefore = g_SmsEngine.GetOutbox().Count();
        const std::size_t boxes = answers_.boxes.size();
        Control<QAbstractButton>(dialog, save ? res::IDC_SAVE_SEND : res::IDC_SEND)->click();

        ASSERT_TRUE(dialog->isVisible()) << "a send closed the dialog";
        EXPECT_EQ(Control<QLineEdit>(dialog, res::IDC_RECIPIENT)->text(), recipient);
        EXPECT_EQ(Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE)->toPlainText(), text);
        std::vector<std::u16string> told = BoxesFrom(boxes);
        std::erase(told, u"Message full!");  // a stored copy the outbox list has no room for
        ASSERT_EQ(told.size(), 1u) << "one box for one send";
        const std::u16string& outcome = told[0];
        const bool went = outcome == u"Message sent ok!" || outcome == u"Phone storage full!!" ||
                          outcome == u"Message saved error!!!";
        if (went) {
            ASSERT_EQ(sent().size(), sentBefore + 1) << Utf8(outcome) << " but nothing went";
            const std::string& pdu = sent().back().pdu;
            const std::unique_ptr<CShortMessage> message =
                DecodeMessage(std::u16string(pdu.begin(), pdu.end()), false);
            ASSERT_NE(message, nullptr);
            EXPECT_EQ(QString::fromStdU16String(message->GetText()), text);
            QString digits = recipient;
            digits.remove(QLatin1Char(' ')).remove(QLatin1Char('+'));
            EXPECT_EQ(QString::fromStdU16String(message->GetAddress().number), digits);
            // What went is nothing to lose.
            shownRecipient_ = recipient;
            shownText_ = text;
        } else if (outcome != sms::CComposeSender::kUnconfirmedText) {
            EXPECT_EQ(sent().size(), sentBefore) << Utf8(outcome) << " but the message went";
        }
        if (outcome == sms::CComposeSender::kNotConnectedText) {
            EXPECT_FALSE(session().IsConnected());
        }
        if (!session().IsConnected()) {
            EXPECT_FALSE(went || outcome == sms::CComposeSender::kUnconfirmedText) << Utf8(outcome);
        }
        // Stored: one new stored-sent message on the phone, and at the end of the outbox list.
        if (save && outcome == u"Message sent ok!") {
            const Stored after = Phone();
            std::vector<Key> added;
            for (const auto& [key, message] : after) {
                if (before.count(key) == 0) {
                    added.push_back(key);
                    EXPECT_EQ(message.status, 3);
                }
            }
            ASSERT_EQ(added.size(), 1u);
            if (outboxBefore < sms::MessageList::kCapacity) {
                EXPECT_EQ(g_SmsEngine.GetOutbox().Count(), outboxBefore + 1);
                EXPECT_EQ(KeyOf(g_SmsEngine.GetOutbox(), outboxBefore), added[0]);
            }
        } else {
            EXPECT_EQ(g_SmsEngine.GetOutbox().Count(), outboxBefore);
        }
        phone().ClearFaults();
        phone().SetCommandLatency("AT+CMGS", phone().GetTiming().latencyMs);
        clock().Advance(80000);  // a late answer is over before the next step
    }

    // What the user does in a compose dialog, then closing it.
    void WorkCompose(QWidget* dialog) {
        QApplication::setActiveWindow(dialog);
        auto* recipientBox = Control<QLineEdit>(dialog, res::IDC_RECIPIENT);
        auto* textBox = Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE);
        // Typed text is what differs from what the dialog opened with or sent last.
        shownRecipient_ = recipientBox->text();
        shownText_ = textBox->toPlainText();
        for (int n = 1 + Pick(4); n > 0 && !HasFailure(); --n) {
            switch (Pick(5)) {
                case 0: {
                    const QString numbers[] = {"+447700900" + QString::number(100 + Pick(900)),
                                               "07700 900" + QString::number(100 + Pick(900)), "",
                                               "12ab"};
                    Type(recipientBox, numbers[Pick(4)]);
                    break;
                }
                case 1: {
                    const QString texts[] = {"Hi " + QString::number(Pick(1000)), "Reply MSG: STOP",
                                             QString(70, QLatin1Char('z')), "", "Two lines"};
                    Type(textBox, texts[Pick(5)]);
                    break;
                }
                case 2: {
                    const QString recipient = recipientBox->text();
                    const QString text = textBox->toPlainText();
                    recipientBox->setFocus();
                    QTest::keyClick(recipientBox, Qt::Key_Return);
                    ASSERT_TRUE(dialog->isVisible()) << "Enter in the recipient box closed it";
                    EXPECT_EQ(recipientBox->text() + "|" + textBox->toPlainText(),
                              recipient + "|" + text);
                    break;
                }
                default:
                    Send(dialog);
                    break;
            }
        }
        if (HasFailure()) {
            static_cast<QDialog*>(dialog)->done(0);
            return;
        }
        const QString recipient = recipientBox->text();
        const QString text = textBox->toPlainText();
        const bool losing = !(recipient.isEmpty() && text.isEmpty()) &&
                            (recipient != shownRecipient_ || text != shownText_);
        const std::size_t boxes = answers_.boxes.size();
        QTest::keyClick(dialog, Qt::Key_Escape);
        if (!dialog->isVisible() && losing) {
            EXPECT_TRUE(Shown(boxes, COutboxMessageDlg::kDiscardQuestion))
                << "typed text closed without a question";
        }
        if (dialog->isVisible()) {
            static_cast<QDialog*>(dialog)->done(0);
        }
    }

    void OpenInboxMessage() {
        const int rows = inbox_->GetList().GetItemCount();
        if (rows == 0) {
            return;
        }
        inbox_->GetList().GetWidget()->clearSelection();
        const int row = Pick(rows);
        inbox_->GetList().SelectItem(row);
        int choice = Pick(3);
        // A name cannot be answered (the view says so): forward it instead.
        if (choice == 0 && !inbox_->GetList().GetItemText(row, 2).starts_with(u"+")) {
            choice = 1;
        }
        bool shown = false;
        WhenModal([&](QWidget* view) {
            shown = true;
            if (choice < 2) {
                WhenModal([&](QWidget* compose) { WorkCompose(compose); });
                Control<QAbstractButton>(view, choice == 0 ? res::IDC_REPLY : res::IDC_FORWARD)
                    ->click();
                Settle();
            }
            static_cast<QDialog*>(view)->done(0);
        });
        emit inbox_->GetList().GetWidget()->listDoubleClicked();
        Settle();
        EXPECT_TRUE(shown);
    }

    void Compose() {
        const int rows = outbox_->GetList().GetItemCount();
        outbox_->GetList().GetWidget()->clearSelection();
        if (rows > 0 && Pick(2) == 0) {
            outbox_->GetList().SelectItem(Pick(rows));
        }
        bool shown = false;
        WhenModal([&](QWidget* compose) {
            shown = true;
            WorkCompose(compose);
        });
        emit outbox_->GetList().GetWidget()->listDoubleClicked();
        Settle();
        EXPECT_TRUE(shown);
    }

    void Run(int steps) {
        SCOPED_TRACE("HALVEX_WALK_SEED=" + std::to_string(seed_));
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            const int action = Pick(10);
            SCOPED_TRACE("step " + std::to_string(step) + ", action " + std::to_string(action));
            switch (action) {
                case 0:
                case 1:
                    Load(action);
                    break;
                case 2:
                case 3:
                    Delete(action - 2);
                    break;
                case 4:
                case 5:
                    OpenInboxMessage();
                    break;
                case 6:
                case 7:
                    Compose();
                    break;
                default:
                    if (session().IsConnected()) {
                        if (Pick(3) == 0) {
                            session().Disconnect();
                        }
                    } else {
                        session().Connect();
                        // The user acts a moment later: the answer to the connection's probe has
                        // arrived, and the next command's purge drops it.
                        clock().Advance(1000);
                    }
                    break;
            }
            Settle();
            CheckListsShowThePhone();
        }
    }

    QString shownRecipient_;
    QString shownText_;
    unsigned seed_;
    std::mt19937 random_;
    RandomAnswers answers_;
    ScopedHost host_;
    QWidget window_;
    platform::qt::CPropertySheet* sheet_ = nullptr;
    std::unique_ptr<CInboxPage> inbox_;
    std::unique_ptr<COutboxPage> outbox_;
};

TEST_F(MessageWalk, RandomUserStepsKeepWhatTheUserSeesTrue) {
    Run(static_cast<int>(FromEnvironment("HALVEX_WALK_STEPS", 300)));
}

}  // namespace
