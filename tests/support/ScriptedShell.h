#pragma once
// A shell for tests: the input panel is up or down as the test sets it, and every call is
// recorded.

#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

class ScriptedShell : public Shell {
public:
    bool ShowInputPanel(DWORD flags) override;
    bool GetInputPanelInfo(SIPINFO& info) override;
    void WindowState(HWND window, DWORD value) override;
    void PostQuit(int exitCode) override;

    // The panel's state as the next GetInputPanelInfo reports it. ShowInputPanel changes it too.
    void SetInputPanel(bool up, RECT rect = {0, 188, 240, 268});
    bool InputPanelUp() const { return up_; }
    int QuitsPosted() const { return quits_; }
    // "show panel", "hide panel", "window state W V" (W the window's handle), "quit N".
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

private:
    bool up_ = false;
    RECT rect_{0, 188, 240, 268};
    int quits_ = 0;
    std::vector<std::string> log_;
};

}  // namespace platform
