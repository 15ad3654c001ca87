#include "sms/OutboxPage.h"

#include "res/Resource.h"
#include "sms/SmsEngine.h"

COutboxPage::COutboxPage(sms::MessageWork work, QWidget* parent)
    : CMessagePage({res::IDD_OUTBOX, res::IDC_OUTBOX_LIST, res::IDC_OUTBOX_EXPORT,
                    res::IDC_OUTBOX_IMPORT, sms::Box::Outbox},
                   work, parent),
      m_compose(work) {
    setObjectName(QStringLiteral("COutboxPage"));
}

void COutboxPage::ComposeNew() {
    m_compose.LoadFromMessage(nullptr, -1);
    m_compose.DoModal();
    // Save&Send may have added a stored message.
    RefreshList();
}

void COutboxPage::OnDoubleClick() {
    const std::vector<int> rows = m_list.GetSelectedItems();
    if (rows.empty()) {
        ComposeNew();
        return;
    }
    for (int row : rows) {
        m_compose.LoadFromMessage(RowMessage(row), row);
        m_compose.DoModal();
        RefreshList();
    }
}
