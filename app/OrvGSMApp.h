#pragma once
// The application object: it owns the one phone session, the phone book and the SMS engine on
// it, the document, the frame with its view, and the order of start-up and exit.

#include <memory>

#include "app/BoxNotices.h"
#include "link/PhoneLink.h"
#include "platform/Win32Types.h"

class CMainFrame;
class CMyFormView;
class CPhoneBooks;
class CPhoneSession;
class CSmsEngine;

// The document holds no data.
class COrvGSMDoc {};

class COrvGSMApp {
public:
    // The link's exchange is `mode`.
    explicit COrvGSMApp(ExchangeMode mode = ExchangeMode::Timed);
    ~COrvGSMApp();
    COrvGSMApp(const COrvGSMApp&) = delete;
    COrvGSMApp& operator=(const COrvGSMApp&) = delete;

    // The session, the document, the frame and the view (which connects to the phone), then
    // the window shown. FALSE when the program cannot start.
    platform::BOOL InitInstance();
    // The window goes, then the session, which closes the port.
    int ExitInstance();

    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }
    CMyFormView* GetView() const { return m_pView; }
    // Null before InitInstance and after ExitInstance.
    CPhoneSession* GetSession() const { return m_pSession.get(); }
    CPhoneBooks* GetBooks() const { return m_pBooks.get(); }
    CSmsEngine* GetSmsEngine() const { return m_pSms.get(); }

private:
    ExchangeMode m_mode;
    app::BoxNotices m_notices;
    std::unique_ptr<CPhoneSession> m_pSession;
    std::unique_ptr<CPhoneBooks> m_pBooks;
    std::unique_ptr<CSmsEngine> m_pSms;
    std::unique_ptr<COrvGSMDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pFrame;
    CMyFormView* m_pView = nullptr;  // owned by the frame
};
