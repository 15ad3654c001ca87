#pragma once
// The inbox and outbox pages on a property sheet in a shown window, connected to the simulated
// phone's profile, as the message page tests and the message walk use them.

#include <QApplication>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/qt/PropertySheet.h"
#include "sms/InboxPage.h"
#include "sms/OutboxPage.h"
#include "sms/SmsEngine.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/WindowFixture.h"

namespace halvex::test {

class MessagePagesTestBase : public WindowTest<SessionTest> {
protected:
    MessagePagesTestBase() : WindowTest("default") {}

    void SetUp() override {
        WindowTest::SetUp();
        inbox_ = std::make_unique<CInboxPage>(Work());
        outbox_ = std::make_unique<COutboxPage>(Work());
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

    // What the program hands the pages: the session, the engine, the phone book's names.
    sms::MessageWork Work() {
        return {session(), sms(),
                [this](const std::u16string& number) { return books().NameOf(number); }};
    }

    static void Select(CMessagePage& page, const std::vector<int>& rows) {
        page.GetList().GetWidget()->clearSelection();
        for (int row : rows)
            page.GetList().SelectItem(row);
    }
    // The list's double click, with the rows selected as they are.
    static void DoubleClick(CMessagePage& page) {
        emit page.GetList().GetWidget()->listDoubleClicked();
        Settle();
    }

    QWidget window_;
    platform::qt::CPropertySheet* sheet_ = nullptr;
    std::unique_ptr<CInboxPage> inbox_;
    std::unique_ptr<COutboxPage> outbox_;
};

}  // namespace halvex::test
