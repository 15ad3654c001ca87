#include "platform/qt/ListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "platform/qt/Commands.h"
#include "platform/qt/Text.h"
#include "platform/qt/Windows.h"

namespace platform::qt {

ListView::ListView(QWidget* parent) : QTableWidget(parent) {
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FitRowsToFont();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                for (const QModelIndex& index : selected.indexes()) {
                    if (index.column() == 0) {
                        emit rowSelected(index.row());
                    }
                }
            });
}

void ListView::FitRowsToFont() {
    // A row holds a line of the list's font and a small icon as tall as the line (drawings,
    // sharp at any size), never smaller than the desktop's small icons.
    const int small = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int icon = std::max(small, fontMetrics().height() - 2);
    setIconSize(QSize(icon, icon));
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), icon) + 4);
}

void ListView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState) {
        event->accept();
        emit listDoubleClicked();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void ListView::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    if (!hasFocus() || state() == QAbstractItemView::EditingState) {
        return;
    }
    QPainter painter(viewport());
    const int width = 2;
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(viewport()->rect().adjusted(width / 2, width / 2, -width / 2, -width / 2));
}

void ListView::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    viewport()->update();
}

void ListView::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

void ListView::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitRowsToFont();
    }
}

void ListView::SetLabelEditing(bool on) {
    labelEditing_ = on;
    setEditTriggers(on ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

bool ListView::EditLabel(int row) {
    QTableWidgetItem* label = item(row, 0);
    if (label == nullptr) {
        return false;
    }
    setFocus(Qt::OtherFocusReason);
    return edit(indexFromItem(label), QAbstractItemView::AllEditTriggers, nullptr);
}

bool ListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the label is edited, and only where the list allows it (or the program asks).
    if (trigger != QAbstractItemView::AllEditTriggers && (!labelEditing_ || index.column() != 0)) {
        return false;
    }
    const QModelIndex label = index.sibling(index.row(), 0);
    if (!QTableWidget::edit(label, trigger, event)) {
        return false;
    }
    editingRow_ = label.row();
    committed_.reset();
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(label))) {
        editor->setObjectName(QStringLiteral("labelEditor"));
        editor->selectAll();
    }
    return true;
}

std::optional<std::pair<int, QString>> ListView::TakeLabelEdit() {
    const int row = std::exchange(editingRow_, -1);  // closing it now notifies nobody
    committed_.reset();
    auto* editor =
        row >= 0 ? qobject_cast<QLineEdit*>(indexWidget(model()->index(row, 0))) : nullptr;
    if (editor == nullptr) {
        return std::nullopt;
    }
    const QString text = editor->text();
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    return std::pair(row, text);
}

void ListView::commitData(QWidget* editor) {
    // The text goes to the page, which decides whether the row takes it.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        committed_ = line->text();
    }
}

void ListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const int row = editingRow_;
    std::optional<QString> text =
        hint == QAbstractItemDelegate::RevertModelCache ? std::nullopt : committed_;
    editingRow_ = -1;
    committed_.reset();
    QTableWidget::closeEditor(editor, hint);
    if (row >= 0) {
        emit labelEditEnded(row, text);
    }
}

void ListView::mousePressEvent(QMouseEvent* event) {
    // A click below the rows leaves nothing selected, as the device's list control does.
    if (!indexAt(event->position().toPoint()).isValid() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
        clearSelection();
    }
    QTableWidget::mousePressEvent(event);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    emit listDoubleClicked();
}

void CListCtrl::Attach(QWidget* widget) {
    list_ = qobject_cast<ListView*>(widget);
}

HWND CListCtrl::GetSafeHwnd() const {
    return HandleOf(list_);
}

int CListCtrl::InsertColumn(int column, const std::u16string& heading, int format, int width) {
    if (list_ == nullptr || column < 0) {
        return -1;
    }
    column = std::min(column, list_->columnCount());
    list_->insertColumn(column);
    auto* header = new QTableWidgetItem(ToQString(heading));
    const Qt::Alignment align = format == LVCFMT_RIGHT    ? Qt::AlignRight
                                : format == LVCFMT_CENTER ? Qt::AlignHCenter
                                                          : Qt::AlignLeft;
    header->setTextAlignment(align | Qt::AlignVCenter);
    list_->setHorizontalHeaderItem(column, header);
    if (width >= 0) {
        list_->setColumnWidth(column, width);
    }
    return column;
}

int CListCtrl::InsertItem(int item, const std::u16string& text, int image) {
    if (list_ == nullptr || item < 0) {
        return -1;
    }
    item = std::min(item, list_->rowCount());
    list_->insertRow(item);
    for (int column = 0; column < std::max(1, list_->columnCount()); ++column) {
        auto* cell = new QTableWidgetItem;
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (column == 0) {
            flags |= Qt::ItemIsEditable;
            cell->setText(ToQString(text));
            if (image >= 0 && static_cast<std::size_t>(image) < images_.size()) {
                cell->setIcon(images_[static_cast<std::size_t>(image)]);
            }
        }
        cell->setFlags(flags);
        list_->setItem(item, column, cell);
    }
    return item;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const std::u16string& text) {
    QTableWidgetItem* cell = list_ != nullptr ? list_->item(item, subItem) : nullptr;
    if (cell == nullptr) {
        return FALSE;
    }
    cell->setText(ToQString(text));
    return TRUE;
}

BOOL CListCtrl::SetItemToolTip(int item, const std::u16string& text) {
    if (list_ == nullptr || item < 0 || item >= list_->rowCount()) {
        return FALSE;
    }
    for (int column = 0; column < list_->columnCount(); ++column) {
        if (QTableWidgetItem* cell = list_->item(item, column)) {
            cell->setToolTip(ToQString(text));
        }
    }
    return TRUE;
}

std::u16string CListCtrl::GetItemToolTip(int item, int subItem) const {
    const QTableWidgetItem* cell = list_ != nullptr ? list_->item(item, subItem) : nullptr;
    return cell != nullptr ? FromQString(cell->toolTip()) : std::u16string();
}

std::u16string CListCtrl::GetItemText(int item, int subItem) const {
    const QTableWidgetItem* cell = list_ != nullptr ? list_->item(item, subItem) : nullptr;
    return cell != nullptr ? FromQString(cell->text()) : std::u16string();
}

BOOL CListCtrl::DeleteItem(int item) {
    if (list_ == nullptr || item < 0 || item >= list_->rowCount()) {
        return FALSE;
    }
    list_->removeRow(item);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    if (list_ == nullptr) {
        return FALSE;
    }
    list_->setRowCount(0);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    return list_ != nullptr ? list_->rowCount() : 0;
}

std::vector<int> CListCtrl::GetSelectedItems() const {
    std::vector<int> rows;
    if (list_ == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool CListCtrl::IsSelected(int item) const {
    return list_ != nullptr && list_->selectionModel()->isRowSelected(item, QModelIndex());
}

BOOL CListCtrl::SelectItem(int item) {
    if (list_ == nullptr || item < 0 || item >= list_->rowCount()) {
        return FALSE;
    }
    const QModelIndex index = list_->model()->index(item, 0);
    QItemSelectionModel* selection = list_->selectionModel();
    const auto flags = list_->selectionMode() == QAbstractItemView::SingleSelection
                           ? QItemSelectionModel::ClearAndSelect
                           : QItemSelectionModel::Select;
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selection->select(index, flags | QItemSelectionModel::Rows);
    return TRUE;
}

BOOL CListCtrl::EditLabel(int item) {
    return list_ != nullptr && list_->EditLabel(item) ? TRUE : FALSE;
}

std::optional<std::pair<int, std::u16string>> CListCtrl::TakeLabelEdit() {
    const auto edit = list_ != nullptr ? list_->TakeLabelEdit() : std::nullopt;
    if (!edit) {
        return std::nullopt;
    }
    return std::pair(edit->first, FromQString(edit->second));
}

BOOL CListCtrl::EnsureVisible(int item, BOOL) {
    QTableWidgetItem* cell = list_ != nullptr ? list_->item(item, 0) : nullptr;
    if (cell == nullptr) {
        return FALSE;
    }
    list_->scrollToItem(cell, QAbstractItemView::EnsureVisible);
    return TRUE;
}

void CListCtrl::SetFocus() {
    if (list_ != nullptr) {
        list_->setFocus(Qt::OtherFocusReason);
    }
}

void CListCtrl::SetExtendedStyle(DWORD style) {
    extendedStyle_ = style;
    if (list_ == nullptr) {
        return;
    }
    list_->setShowGrid((style & LVS_EX_GRIDLINES) != 0);
    // Without full-row select a click selects the row all the same; only the label is
    // highlighted on the device, a difference the user does not act on.
}

void CListCtrl::SetLabelEditing(bool on) {
    if (list_ != nullptr) {
        list_->SetLabelEditing(on);
    }
}

void CListCtrl::SetImageList(std::vector<QIcon> images) {
    images_ = std::move(images);
}

void CListCtrl::SetFont(const QFont& font) {
    if (list_ != nullptr) {
        list_->setFont(font);
    }
}

int CListCtrl::GetWidth() const {
    return list_ != nullptr ? list_->width() : 0;
}

void CListCtrl::OnRowSelected(QObject* receiver, std::function<void(int)> handler) {
    QObject::connect(list_, &ListView::rowSelected, receiver, [receiver, handler](int row) {
        PostMessage(receiver, [handler, row] { handler(row); });
    });
}

void CListCtrl::OnLabelEditEnded(QObject* receiver,
                                 std::function<void(int, std::optional<std::u16string>)> handler) {
    QObject::connect(list_, &ListView::labelEditEnded, receiver,
                     [receiver, handler](int row, std::optional<QString> text) {
                         std::optional<std::u16string> edited;
                         if (text) {
                             edited = FromQString(*text);
                         }
                         PostMessage(receiver, [handler, row, edited] { handler(row, edited); });
                     });
}

void CListCtrl::OnDoubleClick(QObject* receiver, std::function<void()> handler) {
    QObject::connect(list_, &ListView::listDoubleClicked, receiver,
                     [receiver, handler] { PostMessage(receiver, handler); });
}

}  // namespace platform::qt
