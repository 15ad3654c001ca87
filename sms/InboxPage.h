#pragma once
// The "SMS Inbox" page: the received messages on the SIM card and in the phone, with date,
// number and text; a double click opens each selected message in the message view.

#include "sms/InboxMessageDlg.h"
#include "sms/MessagePage.h"

class CInboxPage : public CMessagePage {
    Q_OBJECT
public:
    explicit CInboxPage(sms::MessageWork work, QWidget* parent = nullptr);

    CInboxMessageDlg& GetView() { return m_view; }

protected:
    void OnDoubleClick() override;

private:
    CInboxMessageDlg m_view;
};
