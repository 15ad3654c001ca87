#pragma once
// The "SMS Outbox" page: the sent messages the phone stored, on the SIM card and in the phone,
// and the place where new messages are written: the page's one compose dialog opens empty, or
// on each selected stored message in turn.

#include "sms/MessagePage.h"
#include "sms/OutboxMessageDlg.h"

class COutboxPage : public CMessagePage {
    Q_OBJECT
public:
    explicit COutboxPage(sms::MessageWork work, QWidget* parent = nullptr);

    // Send message: the compose dialog, empty.
    void ComposeNew();
    COutboxMessageDlg& GetComposeDialog() { return m_compose; }

protected:
    void OnDoubleClick() override;

private:
    COutboxMessageDlg m_compose;
};
