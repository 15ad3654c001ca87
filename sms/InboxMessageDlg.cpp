#include "sms/InboxMessageDlg.h"

#include <utility>

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"
#include "sms/MessageRows.h"
#include "sms/OutboxMessageDlg.h"
#include "sms/SenderNames.h"
#include "sms/codec/SmsDeliver.h"

using namespace platform;
using platform::qt::ToQString;

CInboxMessageDlg::CInboxMessageDlg(sms::MessageWork work, QWidget* parent)
    : CDialog(res::IDD_INBOX_MESSAGE, parent), m_work(std::move(work)) {
    setObjectName(QStringLiteral("CInboxMessageDlg"));
}

void CInboxMessageDlg::ShowMessage(const CShortMessage* message, int row, std::u16string_view pdu) {
    m_nPosition = row;
    if (row < 0) {
        return;
    }
    if (message == nullptr) {
        // Nothing could be read from it but the PDU itself.
        m_strDate.clear();
        m_strNumber.clear();
        m_strSender.clear();
        m_strFrom.clear();
        m_strMessage = pdu;
        m_bMoreMessages = m_bReplyPath = m_bFromName = false;
        m_strReplyTo.clear();
        return;
    }
    const SmsAddress address = message->GetAddress();
    const SmsDateTime stamp = message->GetTimeStamp();
    const std::u16string text = message->GetText();
    m_strMessage = sms::ShownText(text);
    m_strSender = sms::ShownSender(text);
    const auto* deliver = dynamic_cast<const CSmsDeliver*>(message);
    m_bMoreMessages = deliver != nullptr && deliver->GetMoreMessages() != 0;
    m_bReplyPath = deliver != nullptr && deliver->GetReplyPath() != 0;
    m_strNumber = address.number;
    // A sent message kept among the received ones has no time stamp to show.
    constexpr std::int32_t kSubmit = 1;
    m_strDate = message->GetMessageType() == kSubmit
                    ? u""
                    : sms::DateText(stamp) + u" " + sms::TimeText(stamp);
    m_bFromName = address.IsAlphanumeric();
    m_strReplyTo = sms::DialBackNumber(address);
    m_strFrom.clear();
    if (m_strSender != u"Unknown") {
        const std::u16string number = m_bFromName ? address.number : u"+" + address.number;
        m_strFrom = u"From: " + m_strSender + u" <" + number + u">";
    }
}

void CInboxMessageDlg::ShowMessage(const sms::MessageRow& message, int row,
                                   std::u16string_view pdu) {
    ShowMessage(message.message.get(), row, pdu);
    if (row >= 0 && message.decoded) {
        m_strMessage = sms::ShownText(message.fullText);
        m_strSender = message.sender;
        m_strFrom = sms::FromLine(message);
    }
}

BOOL CInboxMessageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const QFont bold =
        platform::qt::CreateFont({0, 800, QStringLiteral("Lucida Sans Unicode")}, font());
    for (int id : {res::IDC_VIEW_NUMBER, res::IDC_VIEW_DATE, res::IDC_VIEW_TEXT}) {
        GetDlgItem(id)->setFont(bold);
    }
    if (!m_bConnected) {
        m_bConnected = true;
        GetDlgItem(res::IDC_VIEW_TEXT)->setAccessibleName(QStringLiteral("Message"));
        GetDlgItem(res::IDC_VIEW_SENDER)->setAccessibleName(QStringLiteral("From"));
        using platform::qt::AsCommand;
        connect(GetItem<QAbstractButton>(res::IDC_REPLY), &QAbstractButton::clicked, this,
                AsCommand([this] { OnReply(); }));
        connect(GetItem<QAbstractButton>(res::IDC_FORWARD), &QAbstractButton::clicked, this,
                AsCommand([this] { OnForward(); }));
        connect(GetItem<QAbstractButton>(res::IDC_VIEW_EXIT), &QAbstractButton::clicked, this,
                AsCommand([this] { OnOK(); }));
    }
    DoDataExchange();
    return TRUE;
}

void CInboxMessageDlg::DoDataExchange() {
    GetItem<QLabel>(res::IDC_VIEW_DATE)->setText(ToQString(m_strDate));
    GetItem<QCheckBox>(res::IDC_VIEW_MORE)->setChecked(m_bMoreMessages);
    // The sender's line shows when the text names one; the control keeps the name otherwise.
    auto* sender = GetItem<QLabel>(res::IDC_VIEW_SENDER);
    sender->setText(ToQString(m_strFrom.empty() ? m_strSender : m_strFrom));
    sender->setVisible(!m_strFrom.empty());
    GetItem<QLabel>(res::IDC_VIEW_NUMBER)->setText(ToQString(m_strNumber));
    GetItem<QCheckBox>(res::IDC_VIEW_REPLY_PATH)->setChecked(m_bReplyPath);
    GetItem<QPlainTextEdit>(res::IDC_VIEW_TEXT)->setPlainText(ToQString(m_strMessage));
}

void CInboxMessageDlg::keyPressEvent(QKeyEvent* event) {
    // Enter never closes the view.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return;
    }
    CDialog::keyPressEvent(event);
}

void CInboxMessageDlg::OnReply() {
    if (m_bFromName) {
        // A name such as "BANK" cannot be dialled; a reply would go to some other number.
        const std::u16string text = u"This message came from \"" + m_strNumber +
                                    u"\", a name and not a number: it cannot be answered.";
        MessageBoxW(GetSafeHwnd(), text.c_str(), u"Halvex", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    COutboxMessageDlg compose(m_work, this);
    compose.SetMessageFields(m_strReplyTo, u"", m_nPosition);
    compose.DoModal();
}

void CInboxMessageDlg::OnForward() {
    COutboxMessageDlg compose(m_work, this);
    compose.SetMessageFields(u"", m_strMessage, m_nPosition);
    compose.DoModal();
}
