#include "sms/OutboxMessageDlg.h"

#include <utility>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"
#include "sms/ComposeSender.h"
#include "sms/MessageRows.h"
#include "sms/SmsEngine.h"
#include "sms/codec/SmsSubmit.h"

using namespace platform;
using platform::qt::FromQString;
using platform::qt::ToQString;

namespace {

std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// The title font, made once for the whole run.
const QFont& TitleFont() {
    static const QFont font = platform::qt::CreateFont({-15, 700, QStringLiteral("Arial")});
    return font;
}

constexpr const char* kFilling = "halvexFilling";

// Keeps what the user types or pastes into a multi-line edit to `max` characters, a line break
// counting as one: what comes in beyond that is cut from its end. Text the dialog puts there
// itself is shown whole.
void LimitText(QPlainTextEdit* edit, int max) {
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                     [edit, max](int position, int, int added) {
                         if (edit->property(kFilling).toBool()) {
                             return;
                         }
                         const QString text = edit->toPlainText();
                         int excess = static_cast<int>(text.size()) - max;
                         if (excess <= 0 || added <= 0) {
                             return;
                         }
                         int end = std::min(position + added, static_cast<int>(text.size()));
                         int start = std::max(position, end - excess);
                         // Never half a surrogate pair.
                         if (start > 0 && text[start].isLowSurrogate()) {
                             --start;
                         }
                         QTextCursor cursor(edit->document());
                         cursor.setPosition(start);
                         cursor.setPosition(end, QTextCursor::KeepAnchor);
                         cursor.removeSelectedText();
                     });
}

}  // namespace

COutboxMessageDlg::COutboxMessageDlg(sms::MessageWork work, QWidget* parent)
    : CDialog(res::IDD_OUTBOX_MESSAGE, parent), m_work(std::move(work)) {
    setObjectName(QStringLiteral("COutboxMessageDlg"));
}

void COutboxMessageDlg::SetMessageFields(const std::u16string& recipient,
                                         const std::u16string& text, int index) {
    m_nSourceIndex = index;
    if (index < 0) {
        return;
    }
    m_strRecipient = recipient;
    m_strMessage = text;
}

void COutboxMessageDlg::LoadFromMessage(const CShortMessage* message, int index) {
    m_nSourceIndex = index;
    if (index < 0 || message == nullptr) {
        // A new message (or one whose PDU could not be read): nothing carried over.
        m_nDeliverReport = 0;
        m_nReplyPath = 0;
        m_strMessage.clear();
        m_strDay.clear();
        m_strMonth.clear();
        m_strYear.clear();
        m_strValidity.clear();
        m_strRecipient.clear();
        return;
    }
    const auto* submit = dynamic_cast<const CSmsSubmit*>(message);
    const SmsValidity validity = submit != nullptr ? submit->GetValidity() : SmsValidity{};
    m_nValidity = validity.format == kValidityRelative ? 0 : 1;
    m_strMessage = sms::ShownText(message->GetText());
    m_strRecipient = sms::DialBackNumber(message->GetAddress());
    m_nReplyPath = submit != nullptr && submit->GetReplyPath() ? 1 : 0;
    m_nDeliverReport = submit != nullptr && submit->GetStatusReportRequest() ? 1 : 0;
    m_strValidity = sms::RelativeValidityText(validity.relative);
    m_strMonth = Number(validity.absolute.month);
    m_strDay = Number(validity.absolute.day);
    m_strYear = Number(validity.absolute.year);
}

BOOL COutboxMessageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(res::IDC_TITLE)->setFont(TitleFont());
    auto* combo = GetItem<QComboBox>(res::IDC_VALIDITY);
    combo->clear();
    QStringList choices = {QStringLiteral("1 Hour"), QStringLiteral("12 Hours"),
                           QStringLiteral("1 Day"),  QStringLiteral("3 Days"),
                           QStringLiteral("1 Week"), QStringLiteral("Maximum")};
    choices.sort(Qt::CaseInsensitive);
    combo->addItems(choices);
    EnableValidityControls();
    const QFont bold =
        platform::qt::CreateFont({0, 800, QStringLiteral("Lucida Sans Unicode")}, font());
    GetDlgItem(res::IDC_RECIPIENT)->setFont(bold);
    GetDlgItem(res::IDC_MESSAGE)->setFont(bold);
    if (!m_bConnected) {
        m_bConnected = true;
        auto* message = GetItem<QPlainTextEdit>(res::IDC_MESSAGE);
        message->setAccessibleName(QStringLiteral("Message"));
        LimitText(message, kMaxText);
        using platform::qt::AsCommand;
        connect(GetItem<QAbstractButton>(res::IDC_SEND), &QAbstractButton::clicked, this,
                AsCommand([this] { OnSend(false); }));
        connect(GetItem<QAbstractButton>(res::IDC_SAVE_SEND), &QAbstractButton::clicked, this,
                AsCommand([this] { OnSend(true); }));
        connect(GetItem<QAbstractButton>(res::IDC_COMPOSE_EXIT), &QAbstractButton::clicked, this,
                AsCommand([this] { OnOK(); }));
        connect(GetItem<QAbstractButton>(res::IDC_RELATIVE), &QAbstractButton::clicked, this,
                AsCommand([this] { OnValidityChoice(0); }));
        connect(GetItem<QAbstractButton>(res::IDC_ABSOLUTE), &QAbstractButton::clicked, this,
                AsCommand([this] { OnValidityChoice(1); }));
    }
    DoDataExchange(false);
    KeepAsShown();
    GetDlgItem(res::IDC_RECIPIENT)->setFocus();
    return TRUE;
}

void COutboxMessageDlg::KeepAsShown() {
    m_strShownRecipient = FromQString(GetItem<QLineEdit>(res::IDC_RECIPIENT)->text());
    m_strShownMessage = FromQString(GetItem<QPlainTextEdit>(res::IDC_MESSAGE)->toPlainText());
}

bool COutboxMessageDlg::HasUnsentText() {
    const std::u16string recipient = FromQString(GetItem<QLineEdit>(res::IDC_RECIPIENT)->text());
    const std::u16string message =
        FromQString(GetItem<QPlainTextEdit>(res::IDC_MESSAGE)->toPlainText());
    if (recipient.empty() && message.empty()) {
        return false;
    }
    return recipient != m_strShownRecipient || message != m_strShownMessage;
}

bool COutboxMessageDlg::MayClose() {
    return !HasUnsentText() || MessageBoxW(GetSafeHwnd(), kDiscardQuestion, u"Halvex",
                                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void COutboxMessageDlg::OnOK() {
    if (MayClose()) {
        CDialog::OnOK();
    }
}

void COutboxMessageDlg::OnCancel() {
    if (MayClose()) {
        CDialog::OnCancel();
    }
}

void COutboxMessageDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (qobject_cast<QLineEdit*>(focusWidget()) != nullptr ||
                  qobject_cast<QComboBox*>(focusWidget()) != nullptr)) {
        focusNextChild();
        return;
    }
    CDialog::keyPressEvent(event);
}

void COutboxMessageDlg::EnableValidityControls() {
    GetDlgItem(res::IDC_VALIDITY)->setEnabled(m_nValidity == 0);
    for (int id : {res::IDC_MONTH, res::IDC_DAY, res::IDC_YEAR}) {
        GetDlgItem(id)->setEnabled(m_nValidity == 1);
    }
}

void COutboxMessageDlg::OnValidityChoice(int choice) {
    m_nValidity = choice;
    EnableValidityControls();
    // The whole state goes into the controls again, as the dialog always did.
    DoDataExchange(false);
}

void COutboxMessageDlg::DoDataExchange(bool save) {
    auto* relative = GetItem<QRadioButton>(res::IDC_RELATIVE);
    auto* absolute = GetItem<QRadioButton>(res::IDC_ABSOLUTE);
    auto* report = GetItem<QCheckBox>(res::IDC_DELIVER_REPORT);
    auto* replyPath = GetItem<QCheckBox>(res::IDC_REPLY_PATH);
    auto* message = GetItem<QPlainTextEdit>(res::IDC_MESSAGE);
    auto* day = GetItem<QLineEdit>(res::IDC_DAY);
    auto* month = GetItem<QLineEdit>(res::IDC_MONTH);
    auto* year = GetItem<QLineEdit>(res::IDC_YEAR);
    auto* validity = GetItem<QComboBox>(res::IDC_VALIDITY);
    auto* recipient = GetItem<QLineEdit>(res::IDC_RECIPIENT);
    if (save) {
        m_nValidity = relative->isChecked() ? 0 : absolute->isChecked() ? 1 : -1;
        m_nDeliverReport = report->isChecked() ? 1 : 0;
        m_nReplyPath = replyPath->isChecked() ? 1 : 0;
        m_strMessage = FromQString(message->toPlainText());
        m_strDay = FromQString(day->text());
        m_strMonth = FromQString(month->text());
        m_strYear = FromQString(year->text());
        m_strValidity = FromQString(validity->currentText());
        m_strRecipient = FromQString(recipient->text());
        return;
    }
    // Neither radio button is checked for the choice -1.
    relative->setAutoExclusive(false);
    absolute->setAutoExclusive(false);
    relative->setChecked(m_nValidity == 0);
    absolute->setChecked(m_nValidity == 1);
    relative->setAutoExclusive(true);
    absolute->setAutoExclusive(true);
    report->setChecked(m_nDeliverReport == 1);
    replyPath->setChecked(m_nReplyPath == 1);
    message->setProperty(kFilling, true);
    message->setPlainText(ToQString(m_strMessage));
    message->setProperty(kFilling, false);
    day->setMaxLength(2);
    month->setMaxLength(2);
    year->setMaxLength(4);
    day->setText(ToQString(m_strDay));
    month->setText(ToQString(m_strMonth));
    year->setText(ToQString(m_strYear));
    validity->setEditText(ToQString(m_strValidity));
    recipient->setText(ToQString(m_strRecipient));
}

void COutboxMessageDlg::OnSend(bool save) {
    DoDataExchange(true);
    sms::CComposeSender sender(m_work.engine, m_work.session);
    sender.SetOwner(GetSafeHwnd());
    const sms::SendOutcome outcome =
        sender.Send({m_strRecipient, m_strMessage, m_nDeliverReport == 1, m_nReplyPath == 1}, save);
    switch (outcome) {
        case sms::SendOutcome::NotConnected:
            MessageBoxW(GetSafeHwnd(), sms::CComposeSender::kNotConnectedText, u"Halvex",
                        MB_OK | MB_ICONEXCLAMATION);
            break;
        case sms::SendOutcome::Sent:
        case sms::SendOutcome::StorageFull:
        case sms::SendOutcome::SaveError:
            // The message went: closing loses nothing.
            KeepAsShown();
            break;
        default:
            break;
    }
}
