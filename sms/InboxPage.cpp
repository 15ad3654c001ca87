#include "sms/InboxPage.h"

#include "res/Resource.h"
#include "sms/SmsEngine.h"

CInboxPage::CInboxPage(sms::MessageWork work, QWidget* parent)
    : CMessagePage({res::IDD_INBOX, res::IDC_INBOX_LIST, res::IDC_INBOX_EXPORT,
                    res::IDC_INBOX_IMPORT, sms::Box::Inbox},
                   work, parent),
      m_view(work) {
    setObjectName(QStringLiteral("CInboxPage"));
}

void CInboxPage::OnDoubleClick() {
    // Taken before the first view opens: each rebuild clears the selection.
    for (int row : m_list.GetSelectedItems()) {
        if (row < 0 || row >= m_nRowCount) {
            continue;
        }
        const sms::MessageRow& shown = m_rows[static_cast<std::size_t>(row)];
        m_view.ShowMessage(shown, row, m_work.engine.GetInbox().Pdu(shown.parts.front()));
        m_view.DoModal();
        RefreshList();
    }
}
