#include "sms/InboxPage.h"

#include "res/Resource.h"
#include "sms/SmsEngine.h"

CInboxPage::CInboxPage(QWidget* parent)
    : CMessagePage({res::IDD_INBOX, res::IDC_INBOX_LIST, res::IDC_INBOX_EXPORT,
                    res::IDC_INBOX_IMPORT, CSmsEngine::kInbox},
                   parent) {
    setObjectName(QStringLiteral("CInboxPage"));
}

void CInboxPage::OnDoubleClick() {
    // Taken before the first view opens: each rebuild clears the selection.
    for (int row : m_list.GetSelectedItems()) {
        m_view.ShowMessage(RowMessage(row), row, g_SmsEngine.GetInbox().Pdu(row));
        m_view.DoModal();
        RefreshList();
    }
}
