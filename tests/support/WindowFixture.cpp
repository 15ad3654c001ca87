#include "tests/support/WindowFixture.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>

namespace halvex::test {

namespace {

class NextDialog : public QObject {
public:
    explicit NextDialog(std::function<void(QWidget*)> step) : step_(std::move(step)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog != nullptr && !taken_) {
            taken_ = true;
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, dialog, [this, dialog] {
                step_(dialog);
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void(QWidget*)> step_;
    bool taken_ = false;
};

}  // namespace

void WhenModal(std::function<void(QWidget*)> step) {
    new NextDialog(std::move(step));
}

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
