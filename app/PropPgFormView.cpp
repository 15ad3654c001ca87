#include "app/PropPgFormView.h"

#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "app/PortChooserDlg.h"
#include "link/PortOpening.h"
#include "link/RegSettings.h"
#include "platform/TermiosSerialPort.h"
#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Windows.h"
#include "res/Resource.h"
#include "res/Strings.h"

using namespace platform;
using namespace res;

namespace {

sms::ContactNames NamesOf(CPhoneBooks& books) {
    return [&books](const std::u16string& number) { return books.NameOf(number); };
}

}  // namespace

CPropPgFormView::CPropPgFormView(CPhoneBooks& books, CSmsEngine& sms, QWidget* parent)
    : QWidget(parent),
      m_session(books.GetSession()),
      m_books(books),
      m_phoneBook(books),
      m_nokia(books),
      m_inbox({m_session, sms, NamesOf(books)}),
      m_outbox({m_session, sms, NamesOf(books)}),
      m_sheet(m_session, this) {
    setObjectName(QStringLiteral("CMyFormView"));
    m_sheet.SetPhoneBookPages(&m_phoneBook, &m_nokia);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&m_sheet);
}

CPropPgFormView::~CPropPgFormView() = default;

CPhoneBookDlg* CPropPgFormView::PhoneBookPage() {
    const std::optional<phone::Kind> kind = m_session.GetPhoneKind();
    if (!kind) {
        return nullptr;
    }
    CPhoneBookDlg* page =
        *kind == phone::Kind::Nokia ? static_cast<CPhoneBookDlg*>(&m_nokia) : &m_phoneBook;
    // A page never added to the sheet has no controls to work on.
    return page->IsCreated() ? page : nullptr;
}

bool CPropPgFormView::IsCommandEnabled(int id) const {
    const bool connected = m_session.IsConnected() != FALSE;
    const int page = ActivePage();
    switch (id) {
        case ID_CONNECT:
            return !connected;
        case ID_DISCONNECT:
            return connected;
        case ID_TB_CONNECT:
        case ID_APP_EXIT:
            return true;
        case ID_CHOOSE_PHONE:
            return !connected;
        case ID_GET_DATA:
        case ID_TB_GET_DATA:
        case ID_TB_DELETE:
            return connected && page != kAboutPage;
        case ID_SAVE_DATA:
        case ID_TB_SAVE_DATA:
            return connected && page != kInboxPage && page != kOutboxPage && page != kAboutPage;
        case ID_ADD_USER:
        case ID_DELETE:
            return connected && page == kPhoneBookPage;
        case ID_TB_ADD_USER:
            return connected && (page == kPhoneBookPage || page == kOutboxPage);
        case ID_SEND_MESSAGE:
            return connected && page == kOutboxPage;
        default:
            return false;
    }
}

void CPropPgFormView::OnCommand(int id) {
    const int page = ActivePage();
    // The phone book page takes its commands only when "MemoryType" says which kind it is.
    CPhoneBookDlg* book = page == kPhoneBookPage ? PhoneBookPage() : nullptr;
    CMessagePage* messages = page == kInboxPage    ? static_cast<CMessagePage*>(&m_inbox)
                             : page == kOutboxPage ? static_cast<CMessagePage*>(&m_outbox)
                                                   : nullptr;
    switch (id) {
        case ID_CONNECT:
            OnConnect();
            break;
        case ID_DISCONNECT:
            OnDisconnect();
            break;
        case ID_TB_CONNECT:
            OnConnectToggle();
            break;
        case ID_APP_EXIT:
            OnExit();
            break;
        case ID_CHOOSE_PHONE:
            OnChoosePhone();
            break;
        case ID_GET_DATA:
        case ID_TB_GET_DATA:
            if (book != nullptr) {
                book->GetData();
            } else if (messages != nullptr) {
                messages->LoadMessages();
            }
            break;
        case ID_SAVE_DATA:
        case ID_TB_SAVE_DATA:
            if (book != nullptr) {
                book->CommitCurrent(TRUE);
            }
            break;
        case ID_ADD_USER:
        case ID_TB_ADD_USER:
            if (book != nullptr) {
                book->AddUser();
            } else if (page == kOutboxPage && id == ID_TB_ADD_USER) {
                m_outbox.ComposeNew();
            }
            break;
        case ID_DELETE:
        case ID_TB_DELETE:
            if (book != nullptr) {
                book->DeleteUser();
            } else if (messages != nullptr) {
                messages->DeleteSelected();
            }
            break;
        case ID_SEND_MESSAGE:
            if (page == kOutboxPage) {
                m_outbox.ComposeNew();
            }
            break;
        default:
            break;
    }
    emit commandDone();
}

void CPropPgFormView::SetConnectTip(BOOL connect) {
    if (m_pFrame != nullptr) {
        m_pFrame->SetConnectTip(connect);
    }
}

void CPropPgFormView::AfterConnect() {
    if (CPhoneBookDlg* book = PhoneBookPage()) {
        book->ResetForConnect();
    }
    if (m_session.IsConnected()) {
        SetConnectTip(FALSE);
    }
    ShellWindowState(platform::qt::HandleOf(window()), 1);
}

bool CPropPgFormView::ChoosePort(const QString& reason) {
    if (!m_pModemManager) {
        m_pModemManager = std::make_unique<app::ModemManager>();
    }
    CPortChooserDlg chooser(this, reason, m_pModemManager.get());
    return chooser.exec() == QDialog::Accepted;
}

bool CPropPgFormView::ConnectOrChoose() {
    if (m_bChooseFirst || ports::ReadPortName().empty()) {
        const QString reason = m_bChooseFirst ? QStringLiteral("The port did not open.")
                                              : QStringLiteral("No port is set for the phone.");
        m_bChooseFirst = false;
        if (!ChoosePort(reason)) {
            return false;  // no attempt was made: the books and the pages stay as they are
        }
    }
    // A port that will not open has said why; another may be chosen until one opens.
    do {
        OfferModemManagerPause();
    } while (!m_books.Connect() && m_session.PortOpenFailed() &&
             ChoosePort(QStringLiteral("The port did not open.")));
    if (!m_session.IsConnected() && m_pModemManager) {
        m_pModemManager->Release();
    }
    return true;
}

void CPropPgFormView::OfferModemManagerPause() {
    if (!m_pModemManager) {
        m_pModemManager = std::make_unique<app::ModemManager>();
    }
    if (m_pModemManager->Paused() || !m_pModemManager->Running()) {
        return;
    }
    const std::string path = TermiosSerialPorts::DevicePath(ports::ReadPortName());
    if (path.empty()) {
        return;
    }
    const QString device = m_pModemManager->ManagingDevice(PortSurvey().Inspect(path));
    if (device.isEmpty()) {
        return;
    }
    const HWND self = platform::qt::HandleOf(this);
    const std::u16string question =
        u"ModemManager manages the phone on " + ports::Widen(path) +
        u" and may keep Halvex from it. Pause ModemManager for this phone while Halvex is "
        u"connected?";
    if (!Ask(question.c_str())) {
        MessageBoxW(self,
                    u"ModemManager keeps the phone. To use it with Halvex, stop ModemManager "
                    u"(sudo systemctl stop ModemManager), then Connect again.",
                    u"Halvex", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    QString error;
    if (!m_pModemManager->Pause(device, error)) {
        const std::u16string text =
            u"ModemManager did not pause (" + error.toStdU16String() +
            u"). Stop it with: sudo systemctl stop ModemManager, then Connect again.";
        MessageBoxW(self, text.c_str(), u"Halvex", MB_OK | MB_ICONEXCLAMATION);
    }
}

void CPropPgFormView::OnChoosePhone() {
    if (m_session.IsConnected() || !ChoosePort(QString())) {
        return;
    }
    OnConnect();
}

void CPropPgFormView::OnConnect() {
    if (m_session.IsConnected()) {
        return;
    }
    if (!ConnectOrChoose()) {
        return;
    }
    // A view that started without a phone gets its pages once one answers.
    if (m_session.IsConnected() && m_sheet.GetPageCount() == 0) {
        static_cast<CMyFormView*>(this)->AddPagesForThePhone();
        // This connection is acknowledged here; the button's next press asks to disconnect.
        m_bStartup = FALSE;
    }
    AfterConnect();
}

void CPropPgFormView::OnDisconnect() {
    if (!m_session.IsConnected()) {
        return;
    }
    if (ActivePage() == kPhoneBookPage) {
        if (CPhoneBookDlg* book = PhoneBookPage()) {
            book->SaveBeforeDisconnect();
        }
    }
    m_session.Disconnect();
    if (m_pModemManager) {
        m_pModemManager->Release();
    }
    SetConnectTip(TRUE);
}

void CPropPgFormView::OnConnectToggle() {
    if (!m_session.IsConnected()) {
        OnConnect();
    } else if (m_bStartup) {
        // The command posted at start-up: the connection is already made.
        AfterConnect();
        m_bStartup = FALSE;
    } else if (Ask(u"Do You want to Disconnect?")) {
        OnDisconnect();
    }
}

void CPropPgFormView::OnExit() {
    if (!Ask(u"Do You want to Exit?")) {
        return;
    }
    if (ActivePage() == kPhoneBookPage) {
        if (CPhoneBookDlg* book = PhoneBookPage()) {
            book->CommitCurrent(TRUE);
        }
    }
    PostQuitMessage(0);
}

bool CPropPgFormView::Ask(const char16_t* question) {
    return MessageBoxW(platform::qt::HandleOf(this), question, u"Halvex",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void CMyFormView::AddPagesForThePhone() {
    const phone::Kind kind = m_session.DetectPhoneKind();
    if (kind == phone::Kind::Ordinary) {
        m_sheet.AddPage(&m_phoneBook);
    } else if (kind == phone::Kind::Nokia) {
        m_sheet.AddPage(&m_nokia);
    }
    m_session.RecordPhoneKind(kind);
    if (kind != phone::Kind::NoAnswer) {
        m_sheet.AddPage(&m_inbox);
        m_sheet.AddPage(&m_outbox);
        m_sheet.AddPage(&m_about);
        m_sheet.SetTitle(LoadString(IDS_TITLE));
    }
    if (m_sheet.IsCreated()) {
        m_sheet.SetTabLabels();
    }
}

BOOL CMyFormView::Create() {
    // Without a port there is nothing to report yet: the first Connect offers the chooser.
    if (!ports::ReadPortName().empty()) {
        OfferModemManagerPause();
        m_bChooseFirst = !m_books.Connect() && m_session.PortOpenFailed();
    }
    AddPagesForThePhone();
    m_bStartup = TRUE;
    return m_sheet.Create(this);
}

void CMyFormView::OnInitialUpdate() {
    platform::qt::PostMessage(this, [this] { OnCommand(ID_TB_CONNECT); });
}
