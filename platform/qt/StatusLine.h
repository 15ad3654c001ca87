#pragma once
// The main window's status bar as the line where a long read tells how far it has come. The
// user-interface services in use are wrapped: boxes and the wait cursor go to them unchanged,
// and so does the progress, which the status bar also shows. The bar is repainted by the waits
// for the phone like the rest of the window; nothing else runs for it.

#include <QPointer>
#include <QStatusBar>
#include <string>

#include "platform/Host.h"

namespace platform::qt {

class StatusLineUi : public UserInterface {
public:
    explicit StatusLineUi(UserInterface& inner) : inner_(inner) {}

    // The bar that shows the progress from now on (the main window's); null for none. It may go
    // away before this object does.
    static void SetStatusBar(QStatusBar* bar);

    int MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) override {
        return inner_.MessageBox(owner, text, caption, type);
    }
    void BeginWaitCursor() override { inner_.BeginWaitCursor(); }
    void EndWaitCursor() override { inner_.EndWaitCursor(); }
    void ShowProgress(const std::u16string& text) override;
    void EndProgress() override;

private:
    UserInterface& inner_;
};

}  // namespace platform::qt
