#pragma once
// A shell for tests: the input panel is up or down as the test sets it, and every call is
// recorded.

#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

class ScriptedShell : public Shell {
public:
    bool ShowInputPanel(DWORD flags) override {
        up_ = (flags & SIPF_ON) != 0;
        log_.push_back(up_ ? "show panel" : "hide panel");
        return true;
    }
    bool GetInputPanelInfo(SIPINFO& info) override {
        info.fdwFlags = up_ ? SIPF_ON : SIPF_OFF;
        info.rcSipRect = rect_;
        return true;
    }
    void WindowState(HWND window, DWORD value) override {
        log_.push_back("window state " + std::to_string(window) + " " + std::to_string(value));
    }
    void PostQuit(int exitCode) override {
        ++quits_;
        log_.push_back("quit " + std::to_string(exitCode));
    }

    // The panel's state as the next GetInputPanelInfo reports it. ShowInputPanel changes it too.
    void SetInputPanel(bool up, RECT rect = {0, 188, 240, 268}) {
        up_ = up;
        rect_ = rect;
    }
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
