#include "tests/support/ScriptedShell.h"

namespace platform {

bool ScriptedShell::ShowInputPanel(DWORD flags) {
    up_ = (flags & SIPF_ON) != 0;
    log_.push_back(up_ ? "show panel" : "hide panel");
    return true;
}

bool ScriptedShell::GetInputPanelInfo(SIPINFO& info) {
    info.fdwFlags = up_ ? SIPF_ON : SIPF_OFF;
    info.rcSipRect = rect_;
    return true;
}

void ScriptedShell::WindowState(HWND window, DWORD value) {
    log_.push_back("window state " + std::to_string(window) + " " + std::to_string(value));
}

void ScriptedShell::PostQuit(int exitCode) {
    ++quits_;
    log_.push_back("quit " + std::to_string(exitCode));
}

void ScriptedShell::SetInputPanel(bool up, RECT rect) {
    up_ = up;
    rect_ = rect;
}

}  // namespace platform
