#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/Commands.h"
#include "platform/qt/InputPanel.h"
#include "platform/qt/Text.h"
#include "platform/qt/Windows.h"

namespace platform::qt {

namespace {

struct Button {
    QMessageBox::StandardButton qt;
    int id;
};

std::vector<Button> ButtonsOf(UINT type) {
    using B = QMessageBox;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}};
        case MB_ABORTRETRYIGNORE:
            return {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}};
        case MB_YESNOCANCEL:
            return {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}};
        case MB_YESNO:
            return {{B::Yes, IDYES}, {B::No, IDNO}};
        case MB_RETRYCANCEL:
            return {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}};
        default:
            return {{B::Ok, IDOK}};
    }
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtUi::MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                     UINT type) {
    // A box without owner still belongs to the program's window in front.
    QWidget* parent = WidgetOf(owner);
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    QMessageBox box(IconOf(type), ToQString(caption), ToQString(text), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("messageBox"));
    const std::vector<Button> buttons = ButtonsOf(type);
    for (const Button& button : buttons) {
        box.addButton(button.qt);
    }
    const std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    if (defaultIndex < buttons.size()) {
        box.setDefaultButton(buttons[defaultIndex].qt);
    }
    // As on the device: Escape (and closing the box) means Cancel, or No where there is no
    // Cancel, or OK alone.
    Button escape = buttons.front();
    for (int wanted : {IDNO, IDCANCEL}) {
        for (const Button& button : buttons) {
            if (button.id == wanted) {
                escape = button;
            }
        }
    }
    box.setEscapeButton(escape.qt);
    const int escapeId = escape.id;
    // The wait cursor would hide that the box wants an answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const Button& button : buttons) {
        if (button.qt == pressed) {
            return button.id;
        }
    }
    return escapeId;
}

void QtUi::BeginWaitCursor() {
    ++waitDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndWaitCursor() {
    // An end without a beginning is ignored, as the toolkit does.
    if (waitDepth_ == 0) {
        return;
    }
    --waitDepth_;
    QApplication::restoreOverrideCursor();
}

QtShell::QtShell() {
    QInputMethod* method = QGuiApplication::inputMethod();
    InputPanelEvents* events = &InputPanelEvents::Instance();
    QObject::connect(method, &QInputMethod::visibleChanged, events,
                     &InputPanelEvents::NotifySettingChange);
    QObject::connect(method, &QInputMethod::keyboardRectangleChanged, events,
                     &InputPanelEvents::NotifySettingChange);
}

bool QtShell::ShowInputPanel(DWORD flags) {
    QInputMethod* method = QGuiApplication::inputMethod();
    if (flags & SIPF_ON) {
        method->show();
    } else {
        method->hide();
    }
    return true;
}

bool QtShell::GetInputPanelInfo(SIPINFO& info) {
    const QInputMethod* method = QGuiApplication::inputMethod();
    info.fdwFlags = method->isVisible() ? SIPF_ON : SIPF_OFF;
    const QRect rect = method->keyboardRectangle().toAlignedRect();
    info.rcSipRect = RECT{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    return true;
}

void QtShell::WindowState(HWND window, DWORD value) {
    windowStates_.emplace_back(window, value);
}

void QtShell::PostQuit(int exitCode) {
    // A posted message, so it waits for the command that posted it: ending the loops at once
    // would also end a message box that command shows next, unanswered.
    PostMessage(qApp, [exitCode] { QCoreApplication::exit(exitCode); });
}

InputPanelEvents& InputPanelEvents::Instance() {
    static InputPanelEvents* events = new InputPanelEvents;  // lives as long as the program
    return *events;
}

}  // namespace platform::qt
