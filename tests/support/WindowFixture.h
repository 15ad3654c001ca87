#pragma once
// What tests of windows add to a fixture: the scripted shell (input panel, window-state calls,
// quit) and the program's repainting clock over the fixture's virtual clock, so that waits for
// the phone run the windows' repaint as the program does. Windows are driven with the real
// widgets on Qt's offscreen platform (see GuiTestMain.cpp).
//
//   class PageTest : public halvex::test::WindowTest<halvex::test::SessionTest> {};

#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>
#include <ostream>
#include <utility>

#include "platform/ScriptedShell.h"
#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"

// Test failures print Qt's strings as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace halvex::test {

// Lets the posted messages (and other pending events) run, as the event loop would once the
// current command is over.
void Settle();

// Runs `step` on the next dialog to be shown, once it is up and running modally (scripted boxes
// never show), e.g. to look at it and close it.
void WhenModal(std::function<void(QWidget*)> step);

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
        : Base(std::forward<Args>(args)...),
          repainting_(Base::clock()),
          host_(WithWindows(platform::CurrentHost(), repainting_, shell_)) {}

    void TearDown() override {
        Settle();
        Base::TearDown();
    }

private:
    static platform::Host WithWindows(platform::Host host, platform::Clock& clock,
                                      platform::Shell& shell) {
        host.clock = &clock;
        host.shell = &shell;
        return host;
    }

    platform::ScriptedShell shell_;
    platform::qt::RepaintingClock repainting_;
    platform::ScopedHost host_;
};

}  // namespace halvex::test
