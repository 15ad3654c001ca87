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

// The font a template names at its size, the face falling back to the desktop's sans family.
QFont TemplateFont(const res::DialogTemplate& dialog);

struct BuiltDialog {
    std::map<int, QWidget*> byId;   // controls with an id
    std::vector<QWidget*> ordered;  // every control, in template order
    QSize size;                     // the dialog's area in pixels
};

// Creates the template's controls as children of `host`, with the template's font on `host`.
BuiltDialog BuildDialog(QWidget* host, const res::DialogTemplate& dialog);

// The object name of a control with this id ("1005").
QString ControlName(int id);

}  // namespace platform::qt
