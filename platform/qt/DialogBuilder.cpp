#include "platform/qt/DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/Icons.h"
#include "platform/qt/ListCtrl.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"

namespace platform::qt {

namespace s = res::style;
using res::ControlKind;

namespace {

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

// "&&" is a literal ampersand in the templates, as in Qt; a single "&" marks a mnemonic.
QString AccessibleText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (plain.endsWith(QLatin1Char(':'))) {
        plain.chop(1);
    }
    return plain.trimmed();
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Static && kind != ControlKind::Icon &&
           kind != ControlKind::GroupBox;
}

QWidget* MakeControl(QWidget* host, const res::ControlTemplate& control, const QString& text) {
    switch (control.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(text, host);
            label->setWordWrap(true);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(((control.style & s::Center) ? Qt::AlignHCenter : Qt::AlignLeft) |
                                Qt::AlignTop);
            return label;
        }
        case ControlKind::Icon: {
            // The picture is drawn once the control's size is known (BuildDialog).
            auto* label = new QLabel(host);
            label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case ControlKind::Edit: {
            if (control.style & s::MultiLine) {
                auto* edit = new QPlainTextEdit(host);
                edit->setReadOnly((control.style & s::ReadOnly) != 0);
                edit->setVerticalScrollBarPolicy(
                    (control.style & s::VScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                // Tab moves on to the next control, as in any dialog.
                edit->setTabChangesFocus(true);
                if (!(control.style & s::Border)) {
                    edit->setFrameShape(QFrame::NoFrame);
                }
                return edit;
            }
            auto* edit = new QLineEdit(text, host);
            edit->setReadOnly((control.style & s::ReadOnly) != 0);
            edit->setFrame((control.style & s::Border) != 0);
            return edit;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(text, host);
            button->setAutoDefault(false);
            button->setDefault((control.style & s::DefPushButton) != 0);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(text, host);
        case ControlKind::RadioButton:
            return new QRadioButton(text, host);
        case ControlKind::GroupBox:
            return new QGroupBox(text, host);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(host);
            combo->setEditable((control.style & s::DropDown) != 0);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setProperty("sorted", (control.style & s::Sort) != 0);
            if (!text.isEmpty()) {
                combo->addItems(text.split(QLatin1Char('\n')));
            }
            return combo;
        }
        case ControlKind::ListView: {
            auto* list = new ListView(host);
            list->setSelectionMode((control.style & s::SingleSel)
                                       ? QAbstractItemView::SingleSelection
                                       : QAbstractItemView::ExtendedSelection);
            list->SetLabelEditing((control.style & s::EditLabels) != 0);
            if (!(control.style & s::Border)) {
                list->setFrameShape(QFrame::NoFrame);
            }
            return list;
        }
    }
    return new QWidget(host);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the letters, rounded as the device's toolkit rounds it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (letters / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX_, 4);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, 8);
}

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const {
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

QFont TemplateFont(const QWidget* host) {
    return host->font();
}

QString ControlName(int id) {
    return QString::number(id);
}

BuiltDialog BuildDialog(QWidget* host, const res::DialogTemplate& dialog) {
    BuiltDialog built;
    const DialogUnits units(TemplateFont(host));
    built.size = QSize(units.X(dialog.cx), units.Y(dialog.cy));
    const QRect area(QPoint(0, 0), built.size);

    QString label;  // the last static's text, for the control after it
    QWidget* previousFocus = nullptr;
    int unnamed = 0;
    for (const res::ControlTemplate& control : dialog.controls) {
        const QString text = ToQString(control.text);
        QWidget* widget = MakeControl(host, control, text);
        widget->setObjectName(control.id == res::IDC_STATIC
                                  ? QStringLiteral("static_%1").arg(unnamed++)
                                  : ControlName(control.id));
        QRect place = units.Rect(control.x, control.y, control.cx, control.cy);
        if (control.kind == ControlKind::ComboBox) {
            // The template's height is that of the open list; closed, a combo box is one line.
            place.setHeight(widget->sizeHint().height());
        }
        widget->setGeometry(place);
        if (control.kind == ControlKind::Icon && text.startsWith(QLatin1Char('#'))) {
            const int side = std::min(place.width(), place.height());
            static_cast<QLabel*>(widget)->setPixmap(
                LoadIcon(text.mid(1).toInt()).pixmap(QSize(side, side), host->devicePixelRatioF()));
        }
        if (control.kind == ControlKind::GroupBox) {
            widget->lower();
        }

        switch (control.kind) {
            case ControlKind::Static:
                // A static without text of its own shows a value, named by the label before it.
                if (text.isEmpty()) {
                    widget->setAccessibleName(AccessibleText(label));
                    label.clear();
                } else {
                    widget->setAccessibleName(AccessibleText(text));
                    label = text;
                }
                break;
            case ControlKind::Edit:
            case ControlKind::ComboBox:
            case ControlKind::ListView:
                widget->setAccessibleName(AccessibleText(label));
                label.clear();
                break;
            default:
                widget->setAccessibleName(AccessibleText(text));
                label.clear();
                break;
        }

        const bool reachable = TakesFocus(control.kind) && area.intersects(place);
        if (!reachable) {
            widget->setFocusPolicy(Qt::NoFocus);
        } else if (control.style & s::NoTabStop) {
            widget->setFocusPolicy(Qt::ClickFocus);
        } else {
            if (previousFocus != nullptr) {
                QWidget::setTabOrder(previousFocus, widget);
            }
            previousFocus = widget;
        }
        if (control.style & s::Hidden) {
            widget->setVisible(false);
        }
        if (control.style & s::Disabled) {
            widget->setEnabled(false);
        }
        if (control.id != res::IDC_STATIC) {
            built.byId.emplace(control.id, widget);
        }
        built.ordered.push_back(widget);
    }
    return built;
}

QSize TextRoom(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty()) {
            return label->pixmap().isNull() ? QSize()
                                            : label->pixmap().deviceIndependentSize().toSize();
        }
        const QFontMetrics metrics(label->font());
        const QMargins margins = label->contentsMargins();
        int width = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n'))) {
            width = std::max(width, metrics.horizontalAdvance(line));
        }
        const int lines = static_cast<int>(label->text().count(QLatin1Char('\n'))) + 1;
        return QSize(
            width + margins.left() + margins.right() + 2 * label->margin(),
            lines * metrics.height() + margins.top() + margins.bottom() + 2 * label->margin());
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        // A number box shows every digit it takes; a longer edit scrolls by design.
        constexpr int kShortEdit = 40;
        const int shown = edit->property(kShownLength).isValid()
                              ? edit->property(kShownLength).toInt()
                              : edit->maxLength();
        if (shown > kShortEdit) {
            return QSize();
        }
        const QFontMetrics metrics(edit->font());
        const int room = metrics.horizontalAdvance(QString(shown, QLatin1Char('0')));
        // The frame and margins of an edit: what its own size hint adds to its text.
        const int frame =
            edit->sizeHint().width() - metrics.horizontalAdvance(QString(17, QLatin1Char('x')));
        return QSize(room + std::max(frame, 0) + metrics.averageCharWidth(),
                     edit->sizeHint().height());
    }
    if (qobject_cast<const QComboBox*>(control) != nullptr ||
        qobject_cast<const QAbstractButton*>(control) != nullptr) {
        return control->sizeHint();
    }
    return QSize();
}

DialogGrowth::DialogGrowth(const res::DialogTemplate& dialog, const BuiltDialog& built)
    : base_(built.size) {
    if (dialog.anchors.size() != built.ordered.size()) {
        return;
    }
    for (std::size_t i = 0; i < built.ordered.size(); ++i) {
        QWidget* widget = built.ordered[i];
        items_.push_back({widget, widget->geometry(), dialog.anchors[i]});
    }
}

QSize DialogGrowth::MinimumSize() const {
    // Of each control short of room, what the page must gain for its anchors to give it that.
    const auto gain = [](int missing, int percent) {
        return missing <= 0 || percent <= 0 ? 0 : (missing * 100 + percent - 1) / percent;
    };
    int dx = 0;
    int dy = 0;
    for (const Item& item : items_) {
        if (item.widget->isHidden()) {
            continue;
        }
        const QSize room = TextRoom(item.widget);
        if (room.isEmpty()) {
            continue;
        }
        dx = std::max(dx, gain(room.width() - item.place.width(), item.anchor.sizeX));
        dy = std::max(dy, gain(room.height() - item.place.height(), item.anchor.sizeY));
    }
    return base_ + QSize(dx, dy);
}

void DialogGrowth::Apply(QSize size) const {
    const int dx = std::max(0, size.width() - base_.width());
    const int dy = std::max(0, size.height() - base_.height());
    for (const Item& item : items_) {
        const res::ControlAnchor& a = item.anchor;
        item.widget->setGeometry(
            item.place.x() + dx * a.moveX / 100, item.place.y() + dy * a.moveY / 100,
            item.place.width() + dx * a.sizeX / 100, item.place.height() + dy * a.sizeY / 100);
    }
}

}  // namespace platform::qt
