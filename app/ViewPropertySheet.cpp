#include "app/ViewPropertySheet.h"

#include <QKeyEvent>

#include "phonebook/PhoneBookDlg.h"
#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "res/Resource.h"
#include "res/Strings.h"

using namespace platform;
using platform::qt::PostMessage;

CViewPropertySheet::CViewPropertySheet(CPhoneSession& session, QWidget* parent)
    : CPropertySheet(parent), m_session(session) {
    setObjectName(QStringLiteral("CViewPropertySheet"));
    SetTitle(res::LoadString(res::IDS_TITLE));
}

CViewPropertySheet::~CViewPropertySheet() {
    // The program ends with its sheet.
    PostQuitMessage(0);
}

void CViewPropertySheet::SetPhoneBookPages(CPhoneBookDlg* ordinary, CPhoneBookDlg* nokia) {
    m_pPhoneBook = ordinary;
    m_pNokia = nokia;
}

BOOL CViewPropertySheet::Create(QWidget* parent) {
    if (!CPropertySheet::Create(parent)) {
        return FALSE;
    }
    SetTabLabels();
    ShellWindowState(GetSafeHwnd(), 1);
    PostMessage(this, [this] { RestoreInputPanel(); });
    return TRUE;
}

void CViewPropertySheet::SetTabLabels() {
    int index = 0;
    for (const char16_t* label : {u"Phone Book", u"SMS Inbox", u"SMS Outbox", u"About"}) {
        SetTabLabel(index++, label);
    }
}

CPhoneBookDlg* CViewPropertySheet::PhoneBookPage() const {
    const std::optional<phone::Kind> kind = m_session.GetPhoneKind();
    if (!kind) {
        return nullptr;
    }
    return *kind == phone::Kind::Nokia ? m_pNokia : m_pPhoneBook;
}

void CViewPropertySheet::RestoreInputPanel() {
    CPhoneBookDlg* page = PhoneBookPage();
    if (page != nullptr && page->InputPanelFlag()) {
        SipShowIM(SIPF_ON);
        page->InputPanelFlag() = FALSE;
    }
}

void CViewPropertySheet::OnOK() {
    CPhoneBookDlg* page = GetActiveIndex() == 0 ? PhoneBookPage() : nullptr;
    if (page != nullptr && page->IsCreated()) {
        page->CommitCurrent(TRUE);
    }
}

void CViewPropertySheet::keyPressEvent(QKeyEvent* event) {
    // Enter that no control took goes no further: it never closes or presses anything.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CPropertySheet::keyPressEvent(event);
}

void CViewPropertySheet::showEvent(QShowEvent* event) {
    CPropertySheet::showEvent(event);
    PostMessage(this, [this] { RestoreInputPanel(); });
}

void CViewPropertySheet::resizeEvent(QResizeEvent* event) {
    CPropertySheet::resizeEvent(event);
    PostMessage(this, [this] { RestoreInputPanel(); });
}
