#include "platform/qt/Dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"
#include "platform/qt/Text.h"

namespace platform::qt {

CDialog::CDialog(int templateId, QWidget* parent) : QDialog(parent), templateId_(templateId) {}

CDialog::~CDialog() = default;

bool CDialog::Build() {
    if (built_) {
        return true;
    }
    const res::DialogTemplate* dialog = res::FindDialog(templateId_);
    if (dialog == nullptr) {
        return false;
    }
    const BuiltDialog built = BuildDialog(this, *dialog);
    controls_ = built.byId;
    setFixedSize(built.size);
    setWindowTitle(ToQString(dialog->caption));
    built_ = true;
    return true;
}

int CDialog::DoModal() {
    if (!Build()) {
        return -1;
    }
    // In front of the window the user works in, as its own dialog would be.
    if (parentWidget() == nullptr) {
        if (const QWidget* front = QApplication::activeWindow()) {
            move(front->frameGeometry().center() - rect().center());
        }
    }
    {
        CommandScope scope;
        OnInitDialog();
    }
    return exec();
}

void CDialog::EndDialog(int result) {
    done(result);
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        CommandScope scope;
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            OnOK();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::reject() {
    CommandScope scope;
    OnCancel();
}

}  // namespace platform::qt
