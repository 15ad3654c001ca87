#include "phonebook/NumberFilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <memory>

namespace phonebook {

namespace {

bool IsNumberCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('(') ||
           c == QLatin1Char(')');
}

QString NumberCharacters(const QString& text) {
    QString kept;
    for (QChar c : text) {
        if (IsNumberCharacter(c)) {
            kept += c;
        }
    }
    return kept;
}

class NumberFilter : public QObject {
public:
    NumberFilter(QLineEdit* box, int maxLength) : QObject(box), box_(box), max_(maxLength) {}

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                return KeyPress(static_cast<QKeyEvent*>(event));
            case QEvent::ContextMenu:
                ContextMenu(static_cast<QContextMenuEvent*>(event));
                return true;
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                Insert(drop->mimeData()->text());
                drop->acceptProposedAction();
                return true;
            }
            case QEvent::MouseButtonRelease:
                // The X11 selection, pasted by the middle button.
                if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
                    Insert(QApplication::clipboard()->text(QClipboard::Selection));
                    return true;
                }
                return false;
            case QEvent::InputMethod:
                return InputMethod(static_cast<QInputMethodEvent*>(event));
            default:
                return false;
        }
    }

private:
    int Room() const {
        return max_ - static_cast<int>(box_->text().size()) +
               static_cast<int>(box_->selectedText().size());
    }

    // Keeps the number characters of `text`, as many as there is room for.
    void Insert(const QString& text) {
        const QString kept = NumberCharacters(text).left(std::max(0, Room()));
        if (!kept.isEmpty()) {
            box_->insert(kept);
        }
    }

    bool KeyPress(QKeyEvent* key) {
        if (key->matches(QKeySequence::Paste)) {
            Insert(QApplication::clipboard()->text());
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || !text[0].isPrint()) {
            return false;  // editing keys, shortcuts
        }
        return !IsNumberCharacter(text[0]) || Room() <= 0;
    }

    void ContextMenu(QContextMenuEvent* event) {
        const std::unique_ptr<QMenu> menu(box_->createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste")) {
                disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this,
                        [this] { Insert(QApplication::clipboard()->text()); });
            }
        }
        menu->exec(event->globalPos());
    }

    bool InputMethod(QInputMethodEvent* event) {
        const QString commit = event->commitString();
        const QString kept = NumberCharacters(commit).left(std::max(0, Room()));
        if (kept == commit) {
            return false;
        }
        QInputMethodEvent filtered(QString(), {});
        filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
        QCoreApplication::sendEvent(box_, &filtered);
        return true;
    }

    QLineEdit* box_;
    int max_;
};

}  // namespace

void InstallNumberFilter(QLineEdit* box, int maxLength) {
    box->setAcceptDrops(true);
    box->installEventFilter(new NumberFilter(box, maxLength));
}

}  // namespace phonebook
