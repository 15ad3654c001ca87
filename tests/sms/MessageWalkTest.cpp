// A seeded random walk through the real message pages, as a user works them: Get data on either
// page, select and delete rows, open a message, reply, forward, write a new one or open a stored
// one, type, press Enter, send or save and send while the phone is quick, slow, silent or
// refusing, close the dialog, disconnect and connect; every question answered Yes or No at random.
// After every step: the lists show what the phone stores, a delete removes from the phone exactly
// messages the user selected, a send told as sent was sent, and typed text never goes without a
// question. HALVEX_WALK_SEED repeats a run, HALVEX_WALK_STEPS makes it longer (300 by default).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "res/Resource.h"
#include "sms/ComposeSender.h"
#include "sms/JoinedMessages.h"
#include "sms/MessageBoxes.h"
#include "sms/codec/ShortMessage.h"
#include "tests/sms/MessagePagesFixture.h"
#include "text/Ascii.h"

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

// Answers every question Yes or No at random and remembers every box.
class RandomAnswers : public UserInterface {
public:
    explicit RandomAnswers(std::mt19937& random) : random_(random) {}
    int MessageBox(HWND, const std::u16string& text, const std::u16string&, UINT type) override {
        const UINT buttons = type & 0x0F;
        texts.push_back(text);
        answers.push_back(buttons == MB_YESNO         ? (random_() % 2 ? IDYES : IDNO)
                          : buttons == MB_RETRYCANCEL ? IDCANCEL
                                                      : IDOK);
        return answers.back();
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    std::vector<std::u16string> texts;  // of every box shown, in order
    std::vector<int> answers;

private:
    std::mt19937& random_;
};

class MessageWalk : public halvex::test::MessagePagesTestBase {
protected:
    MessageWalk()
        : seed_(FromEnvironment("HALVEX_WALK_SEED", 20261207u)),
          random_(seed_),
          answers_(random_),
          host_([this] {
              Host host = CurrentHost();
              host.ui = &answers_;
              return host;
          }()) {}

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    // A box is the inbox (true) or the outbox (false).
    static const char* BoxName(bool inbox) { return inbox ? "inbox" : "outbox"; }
    CMessagePage& Page(bool inbox) {
        return inbox ? static_cast<CMessagePage&>(*inbox_) : *outbox_;
    }
    const sms::MessageList& List(bool inbox) {
        return inbox ? sms().GetInbox() : sms().GetOutbox();
    }
    static Key KeyOf(const sms::MessageList& list, int i) {
        return {ToUtf8ForLog(sms::StorageName(list.Storage(i))),
                CSmsEngine::DecimalValue(list.Index(i))};
    }
    Stored Phone() {
        Stored stored;
        for (const char* name : {"SM", "ME"})
            for (const auto& [index, message] : phone().Storage(name).messages)
                stored[{name, index}] = message;
        return stored;
    }
    // The keys of a box's list entries, in order.
    std::vector<Key> Listed(bool inbox) {
        std::vector<Key> keys;
        for (int i = 0; i < List(inbox).Count(); ++i)
            keys.push_back(KeyOf(List(inbox), i));
        return keys;
    }

    // The rows a box's list makes: the inbox joins the parts of long messages.
    std::vector<sms::MessageRow> Shown(bool inbox) {
        std::vector<sms::MessageRow> rows = sms::BuildRows(List(inbox), inbox);
        return inbox ? sms::JoinParts(std::move(rows)) : rows;
    }

    // Every entry of both lists is a message the phone holds, of the box's statuses, and every
    // page's rows are its list's entries in order (the outbox page may not show yet what a send
    // from the inbox added at the end).
    void CheckListsShowThePhone() {
        const Stored stored = Phone();
        for (bool inbox : {true, false}) {
            const sms::MessageList& list = List(inbox);
            for (int i = 0; i < list.Count(); ++i) {
                const auto it = stored.find(KeyOf(list, i));
                ASSERT_NE(it, stored.end()) << BoxName(inbox) << " entry " << i << " not on phone";
                const auto& [status, pdu] = it->second;
                EXPECT_TRUE(
                    text::EqualsIgnoringCase(std::u16string(pdu.begin(), pdu.end()), list.Pdu(i)) &&
                    (inbox ? status <= phonesim::kReceivedRead : status == phonesim::kStoredSent))
                    << BoxName(inbox) << " entry " << i << " status " << status;
            }
            CMessagePage& page = Page(inbox);
            const int rows = page.GetList().GetItemCount();
            EXPECT_EQ(rows, static_cast<int>(page.GetRows().size()));
            ASSERT_LE(rows, list.Count()) << BoxName(inbox);
            const std::vector<sms::MessageRow> shown = Shown(inbox);
            for (int i = 0; i < rows; ++i)
                if (const sms::MessageRow& row = shown[static_cast<std::size_t>(i)]; row.decoded) {
                    EXPECT_EQ(page.GetList().GetItemText(i, inbox ? 3 : 2), row.text) << i;
                }
            EXPECT_TRUE(!inbox || rows == static_cast<int>(shown.size())) << "inbox page lags";
        }
    }

    // What a load must list: the box's statuses, SIM first, by index; the inbox once per text.
    static std::vector<Key> Expected(const Stored& stored, bool inbox) {
        std::vector<Key> keys;
        for (const char* name : {"SM", "ME"})
            for (int status :
                 inbox ? std::vector<int>{phonesim::kReceivedUnread, phonesim::kReceivedRead}
                       : std::vector<int>{phonesim::kStoredSent})
                for (const auto& [key, message] : stored) {
                    const auto same = [&, &pdu = message.pdu](const Key& k) {
                        return text::EqualsIgnoringCase(stored.at(k).pdu, pdu);
                    };
                    if (key.first == name && message.status == status &&
                        keys.size() < sms::MessageList::kCapacity &&
                        !(inbox && std::ranges::any_of(keys, same)))
                        keys.push_back(key);
                }
        return keys;
    }

    void Load(bool inbox) {
        const Stored before = Phone();
        Page(inbox).LoadMessages();
        if (!session().IsConnected())
            return;
        EXPECT_EQ(Listed(inbox), Expected(before, inbox)) << BoxName(inbox);
        EXPECT_EQ(Page(inbox).GetList().GetItemCount(), static_cast<int>(Shown(inbox).size()));
    }

    void Delete(bool inbox) {
        CMessagePage& page = Page(inbox);
        const int rows = page.GetList().GetItemCount();
        std::set<int> chosen;
        for (int n = Pick(8) == 0 ? 0 : 1 + Pick(3); n > 0 && rows > 0; --n)
            chosen.insert(Pick(rows));
        Select(page, {chosen.begin(), chosen.end()});
        std::set<Key> selected;
        for (int row : chosen)
            for (int part : page.GetRows()[static_cast<std::size_t>(row)].parts)
                selected.insert(KeyOf(List(inbox), part));
        const int fault = Pick(5);
        Fault faults[] = {Fault::ErrorReply("AT+CMGD"), Fault::NoReply("AT+CMGD"),
                          Fault::PausedReply("AT+CMGD", 2000 + 1000 * Pick(20), 0)};
        if (fault < 3) {
            faults[fault].skip = Pick(2);
            phone().AddFault(faults[fault]);
        }
        SCOPED_TRACE(testing::Message() << "delete " << chosen.size() << " rows, fault " << fault);
        const Stored before = Phone();
        std::vector<Key> listedBefore = Listed(inbox), listedAfter;
        const std::size_t boxes = answers_.texts.size();
        page.DeleteSelected();
        std::set<Key> gone, dropped;  // dropped: fewer times listed than before
        for (const Stored after = Phone(); const auto& [key, message] : before)
            if (after.count(key) == 0)
                gone.insert(key);
        EXPECT_TRUE(std::ranges::includes(selected, gone)) << "a message not selected went";
        listedAfter = Listed(inbox);
        std::ranges::sort(listedBefore);
        std::ranges::sort(listedAfter);
        std::ranges::set_difference(listedBefore, listedAfter,
                                    std::inserter(dropped, dropped.end()));
        EXPECT_EQ(dropped, gone) << "the list and the phone disagree on what went";
        const bool asked = answers_.texts.size() > boxes;
        EXPECT_TRUE(!asked || answers_.answers[boxes] != IDYES || fault < 3 ||
                    !session().IsConnected() || gone == selected);
        EXPECT_TRUE(chosen.size() < 2 || !asked ||
                    answers_.texts[boxes] == sms::DeleteQuestion(static_cast<int>(chosen.size())));
        phone().ClearFaults();
        clock().Advance(30000);  // a late answer is over before the next step
    }

    // The compose dialog's recipient and text, as "recipient|text".
    static QString Fields(QWidget* dialog) {
        return Control<QLineEdit>(dialog, res::IDC_RECIPIENT)->text() + "|" +
               Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE)->toPlainText();
    }
    // Sets a one-line or a text box to `text`, as typed.
    static void Type(QWidget* box, const QString& text) {
        QMetaObject::invokeMethod(box, "clear");
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    // One Send or Save&Send with the phone in a random mood, and what the user was told checked
    // against what the phone did.
    void Send(QWidget* dialog) {
        const bool save = Pick(2) == 0;
        const int mood = Pick(9);
        auto* recipientBox = Control<QLineEdit>(dialog, res::IDC_RECIPIENT);
        if (recipientBox->text().isEmpty() && Pick(4) != 0)
            Type(recipientBox, "+4477009001" + QString::number(10 + Pick(90)));
        auto* textBox = Control<QPlainTextEdit>(dialog, res::IDC_MESSAGE);
        if (textBox->toPlainText().isEmpty() && Pick(4) != 0)
            Type(textBox, "Hello " + QString::number(Pick(100)));
        // 1, 2: the verdict comes late (2: after the minute); 3: never; 4: refused before the
        // prompt or after the text; 5: the store refused; 6: the prompt itself comes late.
        const int late = mood == 2 ? 70000 : 1000 * (2 + Pick(50));
        Fault fault = mood == 3   ? Fault::NoReply("AT+CMGS")
                      : mood == 4 ? Fault::ErrorReply("AT+CMGS")
                      : mood == 5 ? Fault::ErrorReply("AT+CMGW")
                                  : Fault::PausedReply("AT+CMGS", late, 0);
        fault.pdu = mood != 5 && (mood != 4 || Pick(2) == 0);
        if (mood >= 1 && mood <= 5)
            phone().AddFault(fault);
        else if (mood == 6)
            phone().SetCommandLatency("AT+CMGS", 1000 * (2 + Pick(5)));
        const QString recipient = recipientBox->text(), text = textBox->toPlainText();
        SCOPED_TRACE("send to \"" + recipient.toStdString() + "\" of \"" + text.toStdString() +
                     "\", save " + std::to_string(save) + ", mood " + std::to_string(mood));
        const std::size_t sentBefore = sent().size();
        const Stored before = Phone();
        const int outboxBefore = sms().GetOutbox().Count();
        const std::size_t boxes = answers_.texts.size();
        Control<QAbstractButton>(dialog, save ? res::IDC_SAVE_SEND : res::IDC_SEND)->click();

        ASSERT_TRUE(dialog->isVisible()) << "a send closed the dialog";
        EXPECT_EQ(Fields(dialog), recipient + "|" + text);
        std::vector<std::u16string> told(answers_.texts.begin() + boxes, answers_.texts.end());
        std::erase(told, u"Message full!");  // a stored copy the outbox list has no room for
        ASSERT_EQ(told.size(), 1u) << "one box for one send";
        const std::u16string& outcome = told[0];
        const bool went = outcome == u"Message sent ok!" || outcome == u"Phone storage full!!" ||
                          outcome == u"Message saved error!!!";
        if (went) {
            ASSERT_EQ(sent().size(), sentBefore + 1)
                << ToUtf8ForLog(outcome) << " but nothing went";
            const std::string& pdu = sent().back().pdu;
            const auto message = DecodeMessage(std::u16string(pdu.begin(), pdu.end()), false);
            ASSERT_NE(message, nullptr);
            EXPECT_EQ(QString::fromStdU16String(message->GetText()), text);
            EXPECT_EQ(QString::fromStdU16String(message->GetAddress().number),
                      QString(recipient).remove(QLatin1Char(' ')).remove(QLatin1Char('+')));
            shown_ = Fields(dialog);  // what went is nothing to lose
        } else if (outcome != sms::CComposeSender::kUnconfirmedText) {
            EXPECT_EQ(sent().size(), sentBefore) << ToUtf8ForLog(outcome) << " but it went";
        }
        const bool unsure = outcome == sms::CComposeSender::kUnconfirmedText;
        EXPECT_TRUE(outcome != sms::CComposeSender::kNotConnectedText || !session().IsConnected());
        EXPECT_TRUE(session().IsConnected() || !(went || unsure)) << ToUtf8ForLog(outcome);
        // Stored: one new stored-sent message on the phone, and at the end of the outbox list.
        Stored added = Phone();
        std::erase_if(added, [&](const auto& entry) { return before.count(entry.first) != 0; });
        const int listed = sms().GetOutbox().Count() - outboxBefore;
        if (save && outcome == u"Message sent ok!") {
            ASSERT_EQ(added.size(), 1u);
            EXPECT_EQ(added.begin()->second.status, phonesim::kStoredSent);
            if (outboxBefore < sms::MessageList::kCapacity) {
                ASSERT_EQ(listed, 1);
                EXPECT_EQ(KeyOf(sms().GetOutbox(), outboxBefore), added.begin()->first);
            }
        } else {
            EXPECT_EQ(listed, 0);
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
        shown_ = Fields(dialog);
        for (int n = 1 + Pick(4); n > 0 && !HasFailure(); --n) {
            if (const int what = Pick(5); what == 0) {
                const QString numbers[] = {"+447700900" + QString::number(100 + Pick(900)),
                                           "07700 900" + QString::number(100 + Pick(900)), "",
                                           "12ab"};
                Type(recipientBox, numbers[Pick(4)]);
            } else if (what == 1) {
                const QString texts[] = {"Hi " + QString::number(Pick(1000)), "Reply MSG: STOP",
                                         QString(70, QLatin1Char('z')), "", "Two lines"};
                Type(textBox, texts[Pick(5)]);
            } else if (what == 2) {
                const QString before = Fields(dialog);
                recipientBox->setFocus();
                QTest::keyClick(recipientBox, Qt::Key_Return);
                ASSERT_TRUE(dialog->isVisible()) << "Enter in the recipient box closed it";
                EXPECT_EQ(Fields(dialog), before);
            } else {
                Send(dialog);
            }
        }
        const bool losing = Fields(dialog) != "|" && Fields(dialog) != shown_;
        const std::size_t boxes = answers_.texts.size();
        if (!HasFailure()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            EXPECT_TRUE(dialog->isVisible() || !losing ||
                        std::count(answers_.texts.begin() + boxes, answers_.texts.end(),
                                   COutboxMessageDlg::kDiscardQuestion))
                << "typed text closed without a question";
        }
        if (dialog->isVisible())
            static_cast<QDialog*>(dialog)->done(0);
    }

    // Opens the selected inbox message (to reply, forward or only read it), or the compose
    // dialog from the outbox with or without a stored message selected.
    void Open(bool inbox) {
        CMessagePage& page = Page(inbox);
        const int rows = page.GetList().GetItemCount();
        if (inbox && rows == 0)
            return;
        const int row = rows > 0 && (inbox || Pick(2) == 0) ? Pick(rows) : -1;
        Select(page, row < 0 ? std::vector<int>{} : std::vector<int>{row});
        int choice = inbox ? Pick(3) : 2;
        // A name cannot be answered (the view says so): forward it instead.
        if (choice == 0 && !page.GetList().GetItemText(row, 2).starts_with(u"+"))
            choice = 1;
        bool shown = false;
        WhenModal([&](QWidget* dialog) {
            shown = true;
            if (!inbox)
                return WorkCompose(dialog);
            if (choice < 2) {
                WhenModal([&](QWidget* compose) { WorkCompose(compose); });
                Control<QAbstractButton>(dialog, choice == 0 ? res::IDC_REPLY : res::IDC_FORWARD)
                    ->click();
                Settle();
            }
            static_cast<QDialog*>(dialog)->done(0);
        });
        DoubleClick(page);
        EXPECT_TRUE(shown);
    }

    void Run(int steps) {
        SCOPED_TRACE("HALVEX_WALK_SEED=" + std::to_string(seed_));
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            const int action = Pick(10);
            SCOPED_TRACE("step " + std::to_string(step) + ", action " + std::to_string(action));
            if (action < 2) {
                Load(action == 0);
            } else if (action < 4) {
                Delete(action == 2);
            } else if (action < 8) {
                Open(action < 6);
            } else if (!session().IsConnected()) {
                // The user acts a moment later: the answer to the connection's probe has arrived,
                // and the next command's purge drops it.
                books().Connect();
                clock().Advance(1000);
            } else if (Pick(3) == 0) {
                session().Disconnect();
            }
            Settle();
            CheckListsShowThePhone();
        }
    }

    QString shown_;
    unsigned seed_;
    std::mt19937 random_;
    RandomAnswers answers_;
    ScopedHost host_;
};

TEST_F(MessageWalk, RandomUserStepsKeepWhatTheUserSeesTrue) {
    Run(static_cast<int>(FromEnvironment("HALVEX_WALK_STEPS", 300)));
}

}  // namespace
