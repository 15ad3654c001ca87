#pragma once
// The notices of the link, the session and the engines as the program shows them: each a
// message box with its own text, caption and icon, and the connection's Retry/Cancel question.
// The window's boxes and halvex-cli's lines both come from the platform's message boxes.

#include "link/Notices.h"

namespace app {

class BoxNotices : public phone::Notices {
public:
    void Tell(phone::Notice notice, std::u16string_view detail = {}) override;
    bool RetryConnect() override;
};

}  // namespace app
