#pragma once
// The "Phone Book" page for phones that are not Nokias: the contact names on the left, the five
// numbers of the selected contact on the right, and the memory (phone or SIM) under the names.
// Nothing is written while the user types: leaving a changed contact asks "Save the Data?" and
// writes it on Yes. The page is the window of the phone book editor (phonebook/PhoneBookEditor),
// which holds what the user typed and does the phone work.

#include <QLineEdit>
#include <array>
#include <optional>
#include <string>

#include "phonebook/ContactListCtrl.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBooks.h"
#include "platform/qt/PropertyPage.h"

class QComboBox;

class CPhoneBookDlg : public platform::qt::CPropertyPage {
    Q_OBJECT
public:
    explicit CPhoneBookDlg(CPhoneBooks& books, QWidget* parent = nullptr);
    ~CPhoneBookDlg() override;

    // The main view's commands.
    // After connecting: an empty list and boxes, and no contacts in the memory in use. After a
    // failed attempt (which emptied the books) the list and boxes are emptied all the same.
    void ResetForConnect();
    // Before disconnecting: offers to save the contact being edited.
    void SaveBeforeDisconnect();
    // Get data: reads the selected memory from the phone and shows it.
    void GetData();
    // Save data (reload 1), Exit and the sheet's OK: the contact being edited is saved, or on No
    // reverted (a new one dropped); with `reload` the boxes show its stored numbers again.
    void CommitCurrent(platform::BOOL reload);
    // Add User: a new contact named "New User..." with its name open for editing.
    void AddUser();
    // Delete: the contact being edited, after a question.
    void DeleteUser();

    // Set when a name edit ended while the input panel was up; the sheet shows the panel again
    // and clears it. One flag per kind of page.
    virtual platform::BOOL& InputPanelFlag();

    // What the page shows.
    int GetCurrentPosition() const { return m_editor.GetCurrent(); }
    int GetMemoryIndex() const { return m_nMemoryIndex; }
    CContactListCtrl& GetList() { return m_list; }
    // The number box of a kind (1 Home ... 5 Other).
    QLineEdit* Box(int kind) const;

protected:
    CPhoneBookDlg(int templateId, bool nokia, CPhoneBooks& books, QWidget* parent);

    platform::BOOL OnInitDialog() override;
    void OnOK() override;
    platform::BOOL OnSetActive() override;
    platform::BOOL OnKillActive() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnItemChanged(int item);
    void OnEndLabelEdit(int item, const std::optional<std::u16string>& text);
    void OnMemoryChange();
    void OnSettingChange();

    // Combo item 0 is the phone's memory, item 1 the SIM; stores the selection.
    phone::Memory GetSelectedMemory();
    // Ends an open name edit as Enter would, except that an unchanged name is taken without a
    // check and a refused one is not offered for editing again (the user is going elsewhere).
    void EndLabelEdit();
    // The list's label of the contact being edited and the boxes' texts, into the editor, after
    // ending an open name edit.
    void PullEdits();
    // The editor's numbers into the boxes.
    void ShowNumbers();
    // Focus on the list, nothing edited, empty boxes.
    void ClearEdits();
    // Runs an editor operation that may first settle the contact being edited, and brings the
    // list in line: a dropped new contact loses its row, a kept one shows its stored name.
    template <typename Operation>
    void Settle(Operation operation);
    QComboBox* MemoryBox() const;

    static platform::BOOL s_bInputPanel;

    int m_nMemoryIndex = 0;
    CContactListCtrl m_list;
    CPhoneBooks& m_books;
    CPhoneBookEditor m_editor;
    int m_nRememberedPosition = 0;
    platform::BOOL m_bLowerBox = platform::FALSE;
    // The page's place before it moved up out of the input panel's way.
    std::optional<QRect> m_restingGeometry;
};
