#pragma once
// Fonts asked for by face name, as the pages describe them; a face that is not installed falls
// back to the desktop's sans-serif family, with the size and weight asked for.

#include <QFont>
#include <QString>

namespace platform::qt {

// What a page says of a font it makes: a pixel height (negative: of the character, positive: of
// the cell, as the device's font descriptions have it; 0: the size of `base`), a weight from 100
// to 900, a face name. Heights are pixels beside the device's 8-point dialog font: the font made
// keeps that proportion to `base`, the desktop's font, so it grows with the desktop's size.
struct FontDescription {
    int height = 0;
    int weight = 400;
    QString face;
};

// The font described, sized like `base` when the description gives no height, else in
// proportion to it.
QFont CreateFont(const FontDescription& description, const QFont& base = QFont());
// A face, or the desktop's sans-serif family when the face is not installed.
QString FaceOrSans(const QString& face);

}  // namespace platform::qt
