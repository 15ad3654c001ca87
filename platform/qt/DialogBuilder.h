#pragma once
// Widgets from a dialog template. Places are given in dialog units, which follow the template's
// font: a horizontal unit is a quarter of its average character width, a vertical unit an eighth
// of its character height, so a page keeps its proportions with any font.
//
// Every control gets its id as object name (so tests and tools find it) and an accessible name
// from its own text or, for an edit, combo box, list or a static without text, from the label
// just before it in the template. Tab order follows the template. Controls the template places
// wholly outside the dialog's area are never reached with the keyboard; those it creates hidden or
// disabled start so.

#include <QFont>
#include <QRect>
#include <map>
#include <vector>

#include "res/DialogTemplate.h"

class QWidget;

namespace platform::qt {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int cx, int cy) const;
    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

// The font dialog units are measured on: the desktop's font at the desktop's size (the font
// `host` has from its parents and the application), whatever face and size the template was
// drawn with, so that a page reads like every other window of the desktop.
QFont TemplateFont(const QWidget* host);

struct BuiltDialog {
    std::map<int, QWidget*> byId;   // controls with an id
    std::vector<QWidget*> ordered;  // every control, in template order
    QSize size;                     // the dialog's area in pixels
};

// Creates the template's controls as children of `host`, placed in dialog units of its font.
BuiltDialog BuildDialog(QWidget* host, const res::DialogTemplate& dialog);

// The property of an edit that holds how many characters it is to show at once, when it takes
// more than it shows or filters what it takes itself (a number box: 20 digits).
inline constexpr char kShownLength[] = "shownLength";

// The room a control needs to show its own text whole on one line (a label, a button, the
// longest item of a combo box, as many digits as a short edit takes, or its kShownLength); an
// empty size for a
// control whose contents are the user's data (a list, a long edit).
QSize TextRoom(const QWidget* control);

// Where the controls of a built dialog go when the dialog is larger than its template, by the
// template's anchors. Controls without anchors keep their places.
class DialogGrowth {
public:
    DialogGrowth() = default;
    DialogGrowth(const res::DialogTemplate& dialog, const BuiltDialog& built);

    // The smallest size at which the anchors give every shown control room for its text: the
    // template's size, or more where the desktop's font needs it.
    QSize MinimumSize() const;
    // Places the controls for a dialog of this size (no smaller than the template's).
    void Apply(QSize size) const;

private:
    struct Item {
        QWidget* widget;
        QRect place;  // at the template's size
        res::ControlAnchor anchor;
    };
    std::vector<Item> items_;
    QSize base_;
};

// The object name of a control with this id ("1005").
QString ControlName(int id);

}  // namespace platform::qt
