#pragma once
// What the inbox and outbox pages share: a list that fills the page, one row per entry of the
// SMS engine's list in the same order (row = position, which deleting relies on), loading from
// both storages, deleting the selected messages, and the hidden Export and Import buttons.

#include <vector>

#include "platform/qt/ListCtrl.h"
#include "platform/qt/PropertyPage.h"
#include "sms/MessageRows.h"
#include "sms/MessageWork.h"

class CMessagePage : public platform::qt::CPropertyPage {
    Q_OBJECT
public:
    // Get data: reads the messages of the page's box from the phone and rebuilds the rows.
    // Nothing happens while the phone is not connected.
    void LoadMessages();
    // Delete: every selected message after one question that names how many.
    void DeleteSelected();
    // The rows again from the engine's list.
    void RefreshList();

    platform::qt::CListCtrl& GetList() { return m_list; }
    const std::vector<sms::MessageRow>& GetRows() const { return m_rows; }
    // The session's connected state as the page last asked it.
    platform::BOOL GetConnectedFlag() const { return m_bConnected; }

protected:
    struct Layout {
        int templateId;
        int listId;
        int exportId;
        int importId;
        sms::Box box;
    };
    CMessagePage(const Layout& layout, sms::MessageWork work, QWidget* parent);

    platform::BOOL OnInitDialog() override;
    // Every column as wide as its widest cell; the message text takes the rest of the list.
    void FitColumnsToContent();
    // The Number column is never narrower than a whole international number: a contact's name
    // beside a number is what gives way on a narrow page, and the text keeps its share.
    void SizeColumns();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The hidden Export button: what it did on the device.
    virtual void OnExport();
    // A double click on the list, anywhere.
    virtual void OnDoubleClick() = 0;

    bool IsInbox() const;
    // The row's message, null when its PDU could not be decoded.
    const CShortMessage* RowMessage(int row) const;

    platform::qt::CListCtrl m_list;
    std::vector<sms::MessageRow> m_rows;
    int m_nRowCount = 0;
    platform::BOOL m_bConnected = platform::FALSE;
    sms::MessageWork m_work;

private:
    Layout m_layout;
};
