#include "sms/MessagePage.h"

#include <utility>

#include <algorithm>
#include <vector>

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QStyle>

#include "platform/qt/Commands.h"
#include "platform/qt/Fonts.h"
#include "sms/JoinedMessages.h"
#include "sms/MessageBoxes.h"
#include "sms/SenderNames.h"
#include "sms/SmsEngine.h"

using namespace platform;
using namespace platform::qt;

namespace {

// What a row whose PDU could not be decoded shows in its text column.
constexpr const char16_t* kUnreadable = u"(message cannot be read)";

}  // namespace

CMessagePage::CMessagePage(const Layout& layout, sms::MessageWork work, QWidget* parent)
    : CPropertyPage(layout.templateId, parent), m_work(std::move(work)), m_layout(layout) {}

bool CMessagePage::IsInbox() const {
    return m_layout.box == sms::Box::Inbox;
}

BOOL CMessagePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_list.Attach(GetDlgItem(m_layout.listId));
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    int column = 0;
    m_list.InsertColumn(column++, u"Id", LVCFMT_LEFT, 25);
    if (IsInbox()) {
        m_list.InsertColumn(column++, u"Date", LVCFMT_LEFT, 80);
    }
    m_list.InsertColumn(column++, u"Number", LVCFMT_LEFT, 80);
    m_list.InsertColumn(column++, u"Message", LVCFMT_LEFT, 200);
    m_list.SetFont(
        CreateFont({0, 800, QStringLiteral("Lucida Sans Unicode")}, m_list.GetWidget()->font()));
    FitColumnsToContent();
    m_list.GetWidget()->setAccessibleName(IsInbox() ? QStringLiteral("Received messages")
                                                    : QStringLiteral("Sent messages"));
    m_list.OnDoubleClick(this, [this] { OnDoubleClick(); });
    connect(GetItem<QAbstractButton>(m_layout.exportId), &QAbstractButton::clicked, this,
            AsCommand([this] { OnExport(); }));
    connect(GetItem<QAbstractButton>(m_layout.importId), &QAbstractButton::clicked, this,
            AsCommand([this] { LoadMessages(); }));
    return TRUE;
}

void CMessagePage::FitColumnsToContent() {
    ListView* list = m_list.GetWidget();
    QHeaderView* header = list->horizontalHeader();
    const int last = list->columnCount() - 1;
    for (int column = 0; column < last; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    }
    // The text takes whatever the other columns leave; on a narrow page it may shrink to a few
    // characters (it opens whole).
    header->setSectionResizeMode(last, QHeaderView::Stretch);
    header->setMinimumSectionSize(QFontMetrics(list->font()).averageCharWidth() * 4);
    // The columns follow the list's own size, whenever it changes.
    list->viewport()->installEventFilter(this);
    SizeColumns();
}

void CMessagePage::SizeColumns() {
    ListView* list = m_list.GetWidget();
    QHeaderView* header = list->horizontalHeader();
    const int number = list->columnCount() - 2;
    if (number < 0) {
        return;
    }
    const QFontMetrics metrics(list->font());
    const int margins =
        2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) +
        metrics.averageCharWidth();
    // Every column before the text as wide as its heading and its cells, measured at once (a
    // column that fits itself to its content only does so later, when the list is next laid out).
    std::vector<int> widths(static_cast<std::size_t>(number + 1), 0);
    for (int column = 0; column <= number; ++column) {
        int& width = widths[static_cast<std::size_t>(column)];
        width = header->sectionSizeHint(column);
        for (int row = 0; row < list->rowCount(); ++row) {
            if (const QTableWidgetItem* cell = list->item(row, column)) {
                width = std::max(width, metrics.horizontalAdvance(cell->text()) + margins);
            }
        }
    }
    // The Number column never narrower than a whole international number; a contact's name
    // beside a number gives way where the text would keep less than a quarter of the list.
    const int room = metrics.horizontalAdvance(QStringLiteral("+447700900999999")) + margins;
    int others = 0;
    for (int column = 0; column < number; ++column) {
        others += widths[static_cast<std::size_t>(column)];
        list->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    const int viewport = list->viewport()->width();
    const int available = viewport - others - viewport / 4;
    list->setColumnWidth(number, std::max(room, std::min(widths.back(), available)));
}

bool CMessagePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_list.GetWidget()->viewport()) {
        SizeColumns();
    }
    return CPropertyPage::eventFilter(watched, event);
}

void CMessagePage::OnExport() {
    m_bConnected = m_work.session.IsConnected();
}

void CMessagePage::LoadMessages() {
    m_bConnected = m_work.session.IsConnected();
    const bool loaded = IsInbox() ? sms::LoadInbox(m_work.engine, m_work.session)
                                  : sms::LoadOutbox(m_work.engine, m_work.session);
    if (loaded) {
        RefreshList();
    }
}

void CMessagePage::DeleteSelected() {
    // A row of a long message deletes every stored part of it.
    std::vector<std::vector<int>> selected;
    for (int row : m_list.GetSelectedItems()) {
        if (row >= 0 && row < m_nRowCount) {
            selected.push_back(m_rows[static_cast<std::size_t>(row)].parts);
        }
    }
    const int deleted = sms::DeleteSelectedParts(m_work.engine, m_work.session, m_layout.box,
                                                 selected, GetSafeHwnd());
    m_bConnected = m_work.session.IsConnected();
    if (deleted > 0) {
        RefreshList();
    }
}

void CMessagePage::RefreshList() {
    const sms::MessageList& list = IsInbox() ? m_work.engine.GetInbox() : m_work.engine.GetOutbox();
    m_rows = sms::BuildRows(list, IsInbox());
    if (IsInbox()) {
        m_rows = sms::JoinParts(std::move(m_rows));
    }
    m_nRowCount = static_cast<int>(m_rows.size());
    m_list.DeleteAllItems();
    for (int i = 0; i < m_nRowCount; ++i) {
        const sms::MessageRow& row = m_rows[static_cast<std::size_t>(i)];
        m_list.InsertItem(i, row.idText);
        int column = 1;
        if (IsInbox()) {
            m_list.SetItemText(i, column++, row.date);
        }
        std::u16string number = row.number;
        if (IsInbox() && row.decoded) {
            // A sender in the phone book read since connecting: the contact's name beside it.
            const std::u16string contact =
                sms::ContactName(m_work.names, row.message->GetAddress());
            if (!contact.empty()) {
                number += u" (" + contact + u")";
            }
        }
        m_list.SetItemText(i, column++, number);
        m_list.SetItemText(i, column, row.decoded ? row.text : kUnreadable);
        m_list.SetItemToolTip(i, sms::FromLine(row));
    }
    SizeColumns();
}

const CShortMessage* CMessagePage::RowMessage(int row) const {
    return row >= 0 && row < m_nRowCount ? m_rows[static_cast<std::size_t>(row)].message.get()
                                         : nullptr;
}
