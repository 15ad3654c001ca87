#include "app/OrvGSMApp.h"

#include <cstdio>
#include <string>

#include "app/MainFrame.h"
#include "app/Notices.h"
#include "app/PropPgFormView.h"
#include "phonebook/PhoneSession.h"

using namespace platform;

COrvGSMDoc::COrvGSMDoc() : m_pSession(g_pPhoneSession) {}

COrvGSMApp::COrvGSMApp() = default;

COrvGSMApp::~COrvGSMApp() {
    ExitInstance();
}

BOOL COrvGSMApp::InitInstance() {
    g_pPhoneSession = new CPhoneSession;
    m_pDocument = std::make_unique<COrvGSMDoc>();
    m_pFrame = std::make_unique<CMainFrame>();
    if (m_pFrame->OnCreate() != 0) {
        return FALSE;
    }
    m_pView = new CMyFormView;
    m_pFrame->SetView(m_pView);
    if (!m_pView->Create()) {
        return FALSE;
    }
    std::string error;
    const std::string socket = app::NoticeSocketPath(error);
    if (socket.empty() || !m_pFrame->ListenForNotices(socket)) {
        std::fprintf(stderr, "halvex: outside notices do not reach this window: %s\n",
                     socket.empty() ? error.c_str() : "another Halvex of this user takes them");
    }
    m_pFrame->UpdateCommandUI();
    m_pFrame->ShowPlaced();
    m_pView->OnInitialUpdate();
    return TRUE;
}

int COrvGSMApp::ExitInstance() {
    if (m_pFrame) {
        m_pFrame->StorePlacement();
    }
    m_pFrame.reset();
    m_pView = nullptr;
    m_pDocument.reset();
    delete g_pPhoneSession;
    g_pPhoneSession = nullptr;
    return 0;
}
