#include "tests/support/WindowFixture.h"

namespace halvex::test {

void Settle() {
    for (int round = 0; round < 10; ++round) {
        QApplication::processEvents();
        platform::qt::DispatchPostedMessages();
        if (platform::qt::PendingMessages() == 0) {
            QApplication::processEvents();
            return;
        }
    }
}

}  // namespace halvex::test
