#pragma once
// The user-interface services for a terminal or a script: every message box becomes one line
// "Halvex: TEXT" on standard error, and nobody is there to answer. A question takes Yes only
// when the user said so beforehand (--yes), otherwise its default: No, or Cancel for
// Retry/Cancel (retrying a port that failed would never end without someone to stop it).
// On a terminal a long read also shows how far it has come, on one line that each step
// overwrites and that is cleared at the end; a script never sees it.

#include <ostream>
#include <string>

#include "platform/Host.h"

namespace cli {

class ConsoleUi : public platform::UserInterface {
public:
    // `progress`: `out` is a terminal that shows the progress line.
    ConsoleUi(std::ostream& out, bool yes, bool progress = false)
        : out_(out), yes_(yes), progress_(progress) {}

    int MessageBox(platform::HWND owner, const std::u16string& text, const std::u16string& caption,
                   platform::UINT type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void ShowProgress(const std::u16string& text) override;
    void EndProgress() override;

private:
    void ClearProgressLine();

    std::ostream& out_;
    bool yes_;
    bool progress_;
    bool lineShown_ = false;
};

}  // namespace cli
