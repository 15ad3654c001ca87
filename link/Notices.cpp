#include "link/Notices.h"

namespace phone {

namespace {

class SilentNotices : public Notices {
public:
    void Tell(Notice, std::u16string_view) override {}
    bool RetryConnect() override { return false; }
};

}  // namespace

Notices& Notices::Silent() {
    static SilentNotices silent;
    return silent;
}

}  // namespace phone
