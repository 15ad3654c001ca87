#pragma once
// The application object: the one phone session, the document, the frame with its view, the
// order of start-up and exit.

#include <memory>

#include "platform/Win32Types.h"

class CMainFrame;
class CMyFormView;
class CPhoneSession;

// The document holds no data.
class COrvGSMDoc {
public:
    COrvGSMDoc();

private:
    CPhoneSession* m_pSession;
};

class COrvGSMApp {
public:
    COrvGSMApp();
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

private:
    std::unique_ptr<COrvGSMDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pFrame;
    CMyFormView* m_pView = nullptr;  // owned by the frame
};
