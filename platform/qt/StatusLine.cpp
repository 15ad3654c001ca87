#include "platform/qt/StatusLine.h"

#include "platform/qt/Text.h"

namespace platform::qt {

namespace {

QPointer<QStatusBar>& Bar() {
    static QPointer<QStatusBar> bar;
    return bar;
}

}  // namespace

void StatusLineUi::SetStatusBar(QStatusBar* bar) {
    Bar() = bar;
}

void StatusLineUi::ShowProgress(const std::u16string& text) {
    inner_.ShowProgress(text);
    if (QStatusBar* bar = Bar()) {
        bar->showMessage(ToQString(text));
    }
}

void StatusLineUi::EndProgress() {
    inner_.EndProgress();
    if (QStatusBar* bar = Bar()) {
        bar->clearMessage();
    }
}

}  // namespace platform::qt
