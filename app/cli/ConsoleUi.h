#pragma once
// The user-interface services for a terminal or a script: every message box becomes one line
// "Halvex: TEXT" on standard error, and nobody is there to answer. A question takes Yes only
// when the user said so beforehand (--yes), otherwise its default: No, or Cancel for
// Retry/Cancel (retrying a port that failed would never end without someone to stop it).

#include <ostream>
#include <string>

#include "platform/Host.h"

namespace cli {

class ConsoleUi : public platform::UserInterface {
public:
    ConsoleUi(std::ostream& out, bool yes) : out_(out), yes_(yes) {}

    int MessageBox(platform::HWND owner, const std::u16string& text, const std::u16string& caption,
                   platform::UINT type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    std::ostream& out_;
    bool yes_;
};

}  // namespace cli
