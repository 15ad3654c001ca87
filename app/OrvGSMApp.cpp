#include "app/OrvGSMApp.h"

#include <cstdio>
#include <string>

#include "app/MainFrame.h"
#include "app/Notices.h"
#include "app/PropPgFormView.h"
#include "link/PhoneSession.h"
#include "phonebook/PhoneBooks.h"
#include "sms/SmsEngine.h"

using namespace platform;

COrvGSMApp::COrvGSMApp(ExchangeMode mode) : m_mode(mode) {}

COrvGSMApp::~COrvGSMApp() {
    ExitInstance();
}

BOOL COrvGSMApp::InitInstance() {
    m_pSession = std::make_unique<CPhoneSession>(m_notices);
    m_pSession->GetLink().SetExchangeMode(m_mode);
    m_pBooks = std::make_unique<CPhoneBooks>(*m_pSession);
    m_pSms = std::make_unique<CSmsEngine>(m_pSession->GetLink());
    m_pDocument = std::make_unique<COrvGSMDoc>();
    m_pFrame = std::make_unique<CMainFrame>();
    if (m_pFrame->OnCreate() != 0) {
        return FALSE;
    }
    m_pView = new CMyFormView(*m_pBooks, *m_pSms);
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
    m_pSms.reset();
    m_pBooks.reset();
    m_pSession.reset();
    return 0;
}
