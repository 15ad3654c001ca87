#pragma once
// The user-interface services of the platform on Qt: message boxes as QMessageBox, the wait cursor
// as the application's override cursor, the input panel through QInputMethod (a no-op on a
// desktop without an on-screen keyboard), the shell's window-state call recorded, and the end of
// the message loop.

#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"

namespace platform::qt {

class QtUi : public UserInterface {
public:
    int MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    int waitDepth_ = 0;
};

class QtShell : public Shell {
public:
    // Forwards the input method's changes as setting changes (InputPanelEvents).
    QtShell();

    bool ShowInputPanel(DWORD flags) override;
    bool GetInputPanelInfo(SIPINFO& info) override;
    // The call has no meaning on a desktop: it is only kept, in order.
    void WindowState(HWND window, DWORD value) override;
    void PostQuit(int exitCode) override;

    const std::vector<std::pair<HWND, DWORD>>& WindowStates() const { return windowStates_; }

private:
    std::vector<std::pair<HWND, DWORD>> windowStates_;
};

}  // namespace platform::qt
