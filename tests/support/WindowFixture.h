#pragma once
// What tests of windows add to a fixture: the scripted shell (input panel, window-state calls,
// quit) and the program's repainting clock over the fixture's virtual clock, so that waits for
// the phone run the windows' repaint as the program does. Windows are driven with the real
// widgets on Qt's offscreen platform (see GuiTestMain.cpp).
//
//   class PageTest : public halvex::test::WindowTest<halvex::test::SessionTest> {};

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <utility>

#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"
#include "sms/SmsEngine.h"
#include "tests/support/Process.h"
#include "tests/support/ScriptedShell.h"

// Test failures print Qt's strings as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace halvex::test {

// Lets the posted messages (and other pending events) run, as the event loop would once the
// current command is over.
inline void Settle() {
    for (int round = 0; round < 10; ++round) {
        QApplication::processEvents();
        platform::qt::DispatchPostedMessages();
        if (platform::qt::PendingMessages() == 0)
            break;
    }
    QApplication::processEvents();
}

// Runs `step` on the next dialog to be shown, once it is up and running modally (scripted boxes
// never show), e.g. to look at it and close it.
inline void WhenModal(std::function<void(QWidget*)> step) {
    class NextDialog : public QObject {
    public:
        explicit NextDialog(std::function<void(QWidget*)> step) : step_(std::move(step)) {
            qApp->installEventFilter(this);
        }
        bool eventFilter(QObject* watched, QEvent* event) override {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (event->type() == QEvent::Show && dialog != nullptr) {
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
    };
    new NextDialog(std::move(step));
}

// The control with this id among the children of `root`, or null.
template <typename T>
T* Control(QWidget* root, int id) {
    return root->findChild<T*>(platform::qt::ControlName(id));
}

template <typename Base>
class WindowTest : public Base {
public:
    platform::ScriptedShell& shell() { return shell_; }

protected:
    template <typename... Args>
    explicit WindowTest(Args&&... args)
        : Base(std::forward<Args>(args)...), repainting_(Base::clock()), host_([this] {
              platform::Host host = platform::CurrentHost();
              host.clock = &repainting_;
              host.shell = &shell_;
              return host;
          }()) {}

    void TearDown() override {
        Settle();
        Base::TearDown();
    }

    // What the application finds on a fresh desktop: a runtime directory only this test can
    // enter (for the notice socket), the system's HKEY_CURRENT_USER\Comm, empty message boxes.
    void FreshDesktop() {
        const std::string dir = TempDir();
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        Base::registry().CreateKey(platform::HKEY_CURRENT_USER, u"Comm");
    }

private:
    platform::ScriptedShell shell_;
    platform::qt::RepaintingClock repainting_;
    platform::ScopedHost host_;
};

}  // namespace halvex::test
