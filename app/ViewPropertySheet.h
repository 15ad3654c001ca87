#pragma once
// The page sheet inside the main view: the four pages as tabs labelled by the sheet, Enter kept
// from acting on it, the input panel brought back for the phone book page when the sheet is
// shown or resized, and the end of the program when the sheet goes.

#include "link/PhoneSession.h"
#include "platform/qt/PropertySheet.h"

class CPhoneBookDlg;

class CViewPropertySheet : public platform::qt::CPropertySheet {
    Q_OBJECT
public:
    // The session tells which phone book page the sheet holds.
    explicit CViewPropertySheet(CPhoneSession& session, QWidget* parent = nullptr);
    ~CViewPropertySheet() override;

    // The phone book pages of both kinds, whichever the sheet holds: the one of the session's
    // kind of phone gets the input panel back.
    void SetPhoneBookPages(CPhoneBookDlg* ordinary, CPhoneBookDlg* nokia);

    // Creates the pages and sets the four tab labels.
    platform::BOOL Create(QWidget* parent) override;
    // "Phone Book", "SMS Inbox", "SMS Outbox", "About", by index.
    void SetTabLabels();
    // The OK command: the phone book page in front settles the contact being edited.
    void OnOK();
    // Shows the input panel when a phone book name edit ended with it up.
    void RestoreInputPanel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CPhoneBookDlg* PhoneBookPage() const;

    CPhoneSession& m_session;
    CPhoneBookDlg* m_pPhoneBook = nullptr;
    CPhoneBookDlg* m_pNokia = nullptr;
};
