#pragma once
// The main view: it holds every page and the page sheet, connects to the phone when it is
// created, and carries out every command of the menu, the tool bar and the accelerators, on the
// session or on the page in front. CPropPgFormView has the pages, the commands and their enable
// rules; CMyFormView adds the start-up.

#include <QWidget>

#include <memory>

#include "app/GsmAbout.h"
#include "app/ModemManager.h"
#include "app/ViewPropertySheet.h"
#include "link/PhoneSession.h"
#include "phonebook/PhoneBookDlg.h"
#include "phonebook/PhoneBookNokiaDlg.h"
#include "phonebook/PhoneBooks.h"
#include "sms/InboxPage.h"
#include "sms/OutboxPage.h"

class CMainFrame;

class CPropPgFormView : public QWidget {
    Q_OBJECT
public:
    // Indices of the pages in the sheet.
    static constexpr int kPhoneBookPage = 0;
    static constexpr int kInboxPage = 1;
    static constexpr int kOutboxPage = 2;
    static constexpr int kAboutPage = 3;

    // The view works on the program's phone book and SMS engine (and the session under both).
    CPropPgFormView(CPhoneBooks& books, CSmsEngine& sms, QWidget* parent = nullptr);
    ~CPropPgFormView() override;

    // Carries out a command (ids of res/Resource.h); one its page does not know does nothing.
    void OnCommand(int id);
    // The command's enable rule for the page in front and the connection.
    bool IsCommandEnabled(int id) const;

    CViewPropertySheet& GetSheet() { return m_sheet; }
    CPhoneBookDlg& GetPhoneBookPage() { return m_phoneBook; }
    CPhoneBookNokiaDlg& GetNokiaPage() { return m_nokia; }
    CInboxPage& GetInboxPage() { return m_inbox; }
    COutboxPage& GetOutboxPage() { return m_outbox; }
    CGSM_About& GetAboutPage() { return m_about; }
    CPhoneSession& GetSession() { return m_session; }
    void SetFrame(CMainFrame* frame) { m_pFrame = frame; }
    // Set when the view has been created; the first Connect/Disconnect command that finds the
    // phone connected clears it (that command acknowledges the connection made at start-up).
    platform::BOOL IsStartup() const { return m_bStartup; }

signals:
    // A command has been carried out: what is enabled may have changed.
    void commandDone();

protected:
    void OnConnect();
    void OnDisconnect();
    void OnConnectToggle();
    void OnExit();
    // "Choose phone...": the port chooser, then Connect to the port chosen.
    void OnChoosePhone();
    // Shows the port chooser; true when a port was chosen and stored. `reason` says why it came.
    bool ChoosePort(const QString& reason);
    // The session's Connect, offering the chooser while no port is set or the port will not
    // open, until a connection is made or the user cancels.
    bool ConnectOrChoose();
    // When ModemManager manages the port's device: says so and offers to pause it for that
    // device while connected; declined or refused, says what to do instead.
    void OfferModemManagerPause();
    // Connect's steps after the session's own: the phone book page made empty, the tool tip,
    // the shell call.
    void AfterConnect();
    // The phone book page of the kind of phone the session knows; null when it is not known, or
    // when that page is not in the sheet.
    CPhoneBookDlg* PhoneBookPage();
    int ActivePage() const { return m_sheet.GetActiveIndex(); }
    // "Do You want to ...?": Yes or No, No by default.
    bool Ask(const char16_t* question);
    void SetConnectTip(platform::BOOL connect);

    CPhoneSession& m_session;
    CPhoneBooks& m_books;
    CPhoneBookDlg m_phoneBook;
    CPhoneBookNokiaDlg m_nokia;
    CGSM_About m_about;
    CInboxPage m_inbox;
    COutboxPage m_outbox;
    CViewPropertySheet m_sheet;
    CMainFrame* m_pFrame = nullptr;
    platform::BOOL m_bStartup = platform::FALSE;
    // The start-up's connection failed at the port (and said why): the next Connect offers the
    // chooser first rather than the same message again.
    bool m_bChooseFirst = false;
    // Made at the first Connect; its pause ends at Disconnect and with the view.
    std::unique_ptr<app::ModemManager> m_pModemManager;
};

class CMyFormView : public CPropPgFormView {
    Q_OBJECT
public:
    CMyFormView(CPhoneBooks& books, CSmsEngine& sms, QWidget* parent = nullptr)
        : CPropPgFormView(books, sms, parent) {}

    // Connects, finds the kind of phone, stores it, adds the pages for it and creates the sheet.
    // FALSE when the sheet cannot be created: the program does not start.
    platform::BOOL Create();
    // Once the window is up: the Connect/Disconnect command is posted to the view.
    void OnInitialUpdate();

protected:
    // Finds the kind of phone, stores it and adds its pages (none when it did not answer).
    // A view created without a phone does this at the first connection that succeeds.
    void AddPagesForThePhone();
    friend class CPropPgFormView;
};
