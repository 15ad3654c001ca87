#pragma once
// The report-style list control: rows of items with sub-items in columns, small icons, one or
// many selected rows, and the first column's text ("label") edited in place.
//
// ListView is the widget a template's list view becomes; CListCtrl is what a page binds to it and
// calls, with the list control's operations. Notifications (a row selected, a label edit ended, a
// double click) reach the page as posted messages, after the user's action has been handled, as
// commands of their own.

#include <QIcon>
#include <QTableWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Win32Types.h"

namespace platform::qt {

class ListView : public QTableWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Lets the user edit the first column in place (a click on the selected row, or F2).
    void SetLabelEditing(bool on);
    bool LabelEditing() const { return labelEditing_; }
    // Opens the editor on a row's label; false when there is no such row.
    bool EditLabel(int row);
    // The row being edited, -1 when none.
    int EditingRow() const { return editingRow_; }
    // Closes the label editor at once, without a notification, for a caller that must know now
    // what the user typed: the row and the editor's text, or nothing when no editor was open.
    std::optional<std::pair<int, QString>> TakeLabelEdit();

signals:
    // A row became selected (by the user or by the program).
    void rowSelected(int row);
    // The label editor closed: with the text the user confirmed, or without (Escape).
    void labelEditEnded(int row, std::optional<QString> text);
    // A double click anywhere on the list, on a row or not; also Enter, so that what a double
    // click opens can be reached from the keyboard.
    void listDoubleClicked();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A list with the keyboard's focus says so with a frame in the selection's colour: the
    // focused row alone is hard to see when nothing or everything is selected.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void FitRowsToFont();

    bool labelEditing_ = false;
    int editingRow_ = -1;
    std::optional<QString> committed_;
};

// Extended styles and column formats.
inline constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

class CListCtrl {
public:
    CListCtrl() = default;
    virtual ~CListCtrl() = default;
    CListCtrl(const CListCtrl&) = delete;
    CListCtrl& operator=(const CListCtrl&) = delete;

    // Binds the object to a template's list view (a ListView).
    void Attach(QWidget* widget);
    ListView* GetWidget() const { return list_; }
    HWND GetSafeHwnd() const;

    int InsertColumn(int column, const std::u16string& heading, int format = LVCFMT_LEFT,
                     int width = -1);
    // Inserts a row at `item` (at most the count); its position, or -1.
    int InsertItem(int item, const std::u16string& text, int image = -1);
    BOOL SetItemText(int item, int subItem, const std::u16string& text);
    std::u16string GetItemText(int item, int subItem) const;
    // The tool tip of every cell of a row (set after its sub-items); empty removes it.
    BOOL SetItemToolTip(int item, const std::u16string& text);
    std::u16string GetItemToolTip(int item, int subItem) const;
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const;

    // Selected rows in ascending order.
    std::vector<int> GetSelectedItems() const;
    bool IsSelected(int item) const;
    // Selects the row and makes it the focused one (the only selected row in a single-selection
    // list).
    BOOL SelectItem(int item);
    // Opens the label editor on the row.
    BOOL EditLabel(int item);
    // Closes an open label editor without a notification: the row and the text it held.
    std::optional<std::pair<int, std::u16string>> TakeLabelEdit();
    // Scrolls the row into view.
    BOOL EnsureVisible(int item, BOOL partialOk);
    void SetFocus();

    DWORD GetExtendedStyle() const { return extendedStyle_; }
    void SetExtendedStyle(DWORD style);
    void SetLabelEditing(bool on);
    // The small icons, image 0 first.
    void SetImageList(std::vector<QIcon> images);
    void SetFont(const QFont& font);
    int GetWidth() const;

    // Each handler runs as a posted message of `receiver`.
    void OnRowSelected(QObject* receiver, std::function<void(int row)> handler);
    void OnLabelEditEnded(QObject* receiver,
                          std::function<void(int row, std::optional<std::u16string> text)> handler);
    void OnDoubleClick(QObject* receiver, std::function<void()> handler);

private:
    ListView* list_ = nullptr;
    DWORD extendedStyle_ = 0;
    std::vector<QIcon> images_;
};

}  // namespace platform::qt
