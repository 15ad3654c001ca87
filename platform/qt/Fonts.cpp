#include "platform/qt/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <cmath>

namespace platform::qt {

QString FaceOrSans(const QString& face) {
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        return face;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont CreateFont(const FontDescription& description, const QFont& base) {
    QFont font(base);
    font.setFamily(FaceOrSans(description.face));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(description.weight, 1, 1000)));
    if (description.height == 0) {
        return font;
    }
    // The character height in the device's pixels: a cell height less the internal leading.
    double character = -description.height;
    if (description.height > 0) {
        QFont probe(font);
        probe.setPixelSize(description.height);
        const QFontMetrics metrics(probe);
        character = description.height * static_cast<double>(probe.pixelSize()) / metrics.height();
    }
    // The device drew 8 points as 11 pixels (96 dots an inch); the same share of the desktop's
    // font, in points, so that the desktop's scaling applies as to any text.
    constexpr double kDesignPixels = 11.0;
    const double basePoints =
        base.pointSizeF() > 0 ? base.pointSizeF() : QFontInfo(base).pointSizeF();
    font.setPointSizeF(std::max(1.0, character * basePoints / kDesignPixels));
    return font;
}

}  // namespace platform::qt
