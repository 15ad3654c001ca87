#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include "app/NoticeServer.h"
#include "app/PropPgFormView.h"
#include "link/PhoneSession.h"
#include "link/RegSettings.h"
#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Icons.h"
#include "platform/qt/ListCtrl.h"
#include "platform/qt/StatusLine.h"
#include "platform/qt/Text.h"
#include "platform/qt/Windows.h"
#include "res/DialogTemplate.h"
#include "res/Resource.h"
#include "res/Strings.h"

using namespace platform;
using platform::qt::ToQString;

namespace {

// The menu text with its mnemonic marked for Qt ("&Get data").
QString MenuText(const res::MenuItem& item) {
    QString text = ToQString(item.text);
    const int at = item.mnemonic != 0 ? static_cast<int>(text.indexOf(QChar(item.mnemonic))) : -1;
    if (at >= 0) {
        text.insert(at, QLatin1Char('&'));
    }
    return text;
}

// The picture a menu command shows: that of its tool bar button, or one of its own.
int MenuIcon(int id) {
    switch (id) {
        case res::ID_DELETE:
            return res::IDB_TB_DELETE;
        case res::ID_SEND_MESSAGE:
            return res::IDI_SEND;
        case res::ID_ADD_USER:
            return res::IDB_TB_ADD_USER;
        case res::ID_GET_DATA:
            return res::IDB_TB_GET_DATA;
        case res::ID_SAVE_DATA:
            return res::IDB_TB_SAVE_DATA;
        case res::ID_CONNECT:
            return res::IDB_TB_CONNECT;
        case res::ID_DISCONNECT:
            return res::IDI_DISCONNECT;
        case res::ID_CHOOSE_PHONE:
            return res::IDR_MAINFRAME;
        case res::ID_APP_EXIT:
            return res::IDI_EXIT;
        default:
            return 0;
    }
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate() {
    // The name the Bluetooth software knew the window by; the title is the program's.
    setObjectName(QStringLiteral("MainFrame Halvo"));
    setWindowTitle(ToQString(res::LoadString(res::IDS_TITLE)));
    setWindowIcon(platform::qt::LoadIcon(res::IDR_MAINFRAME));

    m_tips = {res::LoadString(res::IDS_CONNECT),   res::LoadString(res::IDS_CONNECT),
              res::LoadString(res::IDS_SAVE_DATA), res::LoadString(res::IDS_GET_DATA),
              res::LoadString(res::IDS_ADD_USER),  res::LoadString(res::IDS_DELETE_USER)};

    m_pPhoneMenu = menuBar()->addMenu(QStringLiteral("&") + ToQString(res::kPhoneMenuTitle));
    m_pPhoneMenu->setObjectName(QStringLiteral("menuPhone"));
    for (const res::MenuItem& item : res::PhoneMenu()) {
        if (item.id == 0) {
            m_pPhoneMenu->addSeparator();
            continue;
        }
        QAction* action =
            m_pPhoneMenu->addAction(platform::qt::LoadIcon(MenuIcon(item.id)), MenuText(item));
        action->setObjectName(QString::number(item.id));
        m_actions[item.id] = action;
    }
    // Of the accelerators only Ctrl+Q has a command: Exit.
    m_actions.at(res::ID_APP_EXIT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_pPhoneMenu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
    // F10 opens the menu bar, as on other desktops.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(m_pPhoneMenu->menuAction()); });

    QToolBar* bar = addToolBar(QStringLiteral("Command bar"));
    bar->setObjectName(QStringLiteral("commandBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    // The desktop's tool bar size: the pictures are drawings, sharp at any size and scale.
    const int side = bar->style()->pixelMetric(QStyle::PM_ToolBarIconSize, nullptr, bar);
    bar->setIconSize(QSize(side, side));
    for (const res::ToolButton& button : res::ToolBar()) {
        const QIcon icon = platform::qt::LoadIcon(button.bitmap);
        if (icon.isNull()) {
            return -1;
        }
        QAction* action = bar->addAction(icon, QString());
        action->setObjectName(QString::number(button.id));
        m_actions[button.id] = action;
        // The buttons take the keyboard's focus like any other control.
        if (QWidget* widget = bar->widgetForAction(action)) {
            widget->setObjectName(QString::number(button.id));
            widget->setFocusPolicy(Qt::TabFocus);
        }
    }
    ApplyToolTips();

    // Where a long read tells how far it has come; empty otherwise.
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("statusBar"));
    status->setAccessibleName(QStringLiteral("Status"));
    platform::qt::StatusLineUi::SetStatusBar(status);

    for (const auto& [id, action] : m_actions) {
        connect(action, &QAction::triggered, this, [this, id = id] { RunCommand(id); });
    }
    return 0;
}

void CMainFrame::ApplyToolTips() {
    // Tip 0 is the menu bar's; tips 1 to 5 the buttons', in order.
    m_pPhoneMenu->menuAction()->setToolTip(ToQString(m_tips[0]));
    std::size_t tip = 1;
    for (const res::ToolButton& button : res::ToolBar()) {
        QAction* action = m_actions.at(button.id);
        action->setToolTip(ToQString(m_tips[tip]));
        action->setText(ToQString(m_tips[tip]));
        ++tip;
    }
}

void CMainFrame::SetConnectTip(BOOL connect) {
    m_tips[1] = res::LoadString(connect ? res::IDS_CONNECT : res::IDS_DISCONNECT);
    ApplyToolTips();
    // The button shows what it does next, as its tip says.
    m_actions.at(res::ID_TB_CONNECT)
        ->setIcon(platform::qt::LoadIcon(connect ? res::IDB_TB_CONNECT : res::IDI_DISCONNECT));
}

void CMainFrame::SetView(CPropPgFormView* view) {
    m_pView = view;
    setCentralWidget(view);
    view->SetFrame(this);
    // The page in front decides which commands are open.
    connect(view->GetSheet().GetTabControl(), &QTabBar::currentChanged, this,
            [this] { UpdateCommandUI(); });
    connect(view, &CPropPgFormView::commandDone, this, [this] { UpdateCommandUI(); });
}

QAction* CMainFrame::GetAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandUI() {
    for (const auto& [id, action] : m_actions) {
        action->setEnabled(m_pView != nullptr && m_pView->IsCommandEnabled(id));
    }
}

void CMainFrame::RunCommand(int id) {
    // A disabled window (the Bluetooth device restarting) takes no command.
    if (m_pView == nullptr || !isEnabled() || !m_pView->IsCommandEnabled(id)) {
        return;
    }
    platform::qt::CommandScope scope;
    m_pView->OnCommand(id);
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
    // A list leaves Delete to its window; in an edit it deletes a character.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        qobject_cast<platform::qt::ListView*>(focusWidget()) != nullptr) {
        event->accept();
        RunCommand(res::ID_TB_DELETE);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainFrame::ShowPlaced() {
    settings::WindowGeometry saved;
    const bool known = settings::ReadWindowGeometry(saved);
    const QRect wanted = known ? QRect(saved.left, saved.top, saved.width, saved.height)
                               : QRect(QPoint(), app::kFirstStartSize);
    QScreen* screen = known ? QGuiApplication::screenAt(wanted.center()) : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    QRect place = wanted;
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    if (!known && screen != nullptr) {
        place.moveCenter(available.center());
    }
    if (screen != nullptr) {
        place = app::FitOnScreen(place, available, minimumSizeHint());
    }
    setGeometry(place);
    m_bPlaced = true;
    if (known && saved.maximized) {
        showMaximized();
        return;
    }
    show();
    // Shown, the window has its frame: the frame too goes onto the screen.
    const QRect outer = frameGeometry();
    const QMargins frame(geometry().left() - outer.left(), geometry().top() - outer.top(),
                         outer.right() - geometry().right(), outer.bottom() - geometry().bottom());
    if (screen != nullptr && !frame.isNull()) {
        const QSize least = minimumSizeHint().grownBy(frame);
        setGeometry(
            app::FitOnScreen(place.marginsAdded(frame), available, least).marginsRemoved(frame));
    }
}

void CMainFrame::StorePlacement() const {
    if (!m_bPlaced) {
        return;
    }
    // Maximised, the window keeps the place it returns to.
    const QRect place = normalGeometry().isValid() ? normalGeometry() : geometry();
    settings::StoreWindowGeometry(
        {place.left(), place.top(), place.width(), place.height(), isMaximized()});
}

namespace app {

QRect FitOnScreen(const QRect& wanted, const QRect& available, const QSize& minimum) {
    const int width = std::max(std::min(wanted.width(), available.width()), minimum.width());
    const int height = std::max(std::min(wanted.height(), available.height()), minimum.height());
    const auto onto = [](int start, int size, int areaStart, int areaSize) {
        return std::max(areaStart, std::min(start, areaStart + areaSize - size));
    };
    return QRect(onto(wanted.left(), width, available.left(), available.width()),
                 onto(wanted.top(), height, available.top(), available.height()), width, height);
}

}  // namespace app

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    platform::qt::PostMessage(this, [this] { RunCommand(res::ID_APP_EXIT); });
}

bool CMainFrame::ListenForNotices(const std::string& socketPath) {
    if (m_pNotices == nullptr) {
        m_pNotices = new app::NoticeServer(this);
        connect(m_pNotices, &app::NoticeServer::noticeReceived, this, [this](std::uint32_t value) {
            // Handled between commands, never in the middle of one.
            platform::qt::PostMessage(this, [this, value] { OnBluetoothNotify(value); });
        });
    }
    return m_pNotices->Listen(QString::fromStdString(socketPath));
}

void CMainFrame::OnBluetoothNotify(DWORD value) {
    const HWND self = platform::qt::HandleOf(this);
    if (value == 0xFFFFFFFFu) {
        BeginWaitCursor();
        setEnabled(false);
        if (m_pView != nullptr && m_pView->GetSession().IsConnected()) {
            m_bConnectionLost = TRUE;
        }
        return;
    }
    EndWaitCursor();
    setEnabled(true);
    if (value != 0) {
        MessageBoxW(self,
                    u"Can not restart bluetooth device, please restart the program and try again!",
                    u"Halvex", MB_OK);
        PostQuitMessage(0);
    }
    if (m_bConnectionLost && m_pView != nullptr) {
        m_pView->GetSession().Disconnect();
        m_bConnectionLost = FALSE;
        // The tool bar's connect button now connects again; its tip says so.
        SetConnectTip(TRUE);
        MessageBoxW(self, u"Please Reconnect !", u"Halvex", MB_OK);
    }
    UpdateCommandUI();
}
