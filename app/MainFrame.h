#pragma once
// The main window: the menu "Phone", the tool bar of five buttons with their tips, the view
// inside, and the outside notice that the Bluetooth device restarts, which disables the window
// until the device is back.

#include <QMainWindow>
#include <QRect>
#include <array>
#include <map>
#include <string>

#include "platform/Win32Types.h"

class QAction;
class QMenu;
class CPropPgFormView;

namespace app {
class NoticeServer;
}

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The window's name, the tool tips, the menu bar and the tool bar; 0, or -1 when they cannot
    // be made.
    int OnCreate();
    // The view inside the frame, which carries out the commands.
    void SetView(CPropPgFormView* view);
    // Tool tip 1 says "Connect" (nonzero) or "Disconnect".
    void SetConnectTip(platform::BOOL connect);
    // The outside notice: 0xFFFFFFFF the Bluetooth device goes down, 0 it is back, any other
    // value it could not come back.
    void OnBluetoothNotify(platform::DWORD value);
    // Listens for outside notices on the socket; false when another Halvex does.
    bool ListenForNotices(const std::string& socketPath);
    // Each command enabled or not, as its rule says for the page in front and the connection.
    void UpdateCommandUI();
    // Shows the window where the user left it (the settings store's "WindowGeometry"), brought
    // onto the screen; at a first start, at a desktop size in the middle of the screen.
    void ShowPlaced();
    // Keeps the window's place and size for the next start; only once it has been shown.
    void StorePlacement() const;

    // The action of a command of the menu or the tool bar, or null.
    QAction* GetAction(int id) const;
    QMenu* GetPhoneMenu() const { return m_pPhoneMenu; }
    const std::array<std::u16string, 6>& GetToolTips() const { return m_tips; }
    platform::BOOL IsConnectionLost() const { return m_bConnectionLost; }

protected:
    // Closing the window is the Exit command, with its question; never in the middle of another
    // command.
    void closeEvent(QCloseEvent* event) override;
    // Delete on a list is the Delete command of the page in front.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RunCommand(int id);
    void ApplyToolTips();

    platform::BOOL m_bConnectionLost = platform::FALSE;
    std::array<std::u16string, 6> m_tips;
    std::map<int, QAction*> m_actions;
    QMenu* m_pPhoneMenu = nullptr;
    CPropPgFormView* m_pView = nullptr;
    app::NoticeServer* m_pNotices = nullptr;
    bool m_bPlaced = false;
};

namespace app {

// The size a first start opens at, where the screen has room for it.
inline constexpr QSize kFirstStartSize{900, 640};

// Where a window of `wanted` place and size goes on a screen whose free area is `available`: no
// larger than that area (nor smaller than `minimum`), and moved onto it.
QRect FitOnScreen(const QRect& wanted, const QRect& available, const QSize& minimum);

}  // namespace app
