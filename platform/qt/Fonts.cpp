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
    if (description.height < 0) {
        font.setPixelSize(-description.height);
    } else if (description.height > 0) {
        // A cell height: the character is the cell less the internal leading.
        QFont probe(font);
        probe.setPixelSize(description.height);
        const QFontMetrics metrics(probe);
        const double ratio = static_cast<double>(probe.pixelSize()) / metrics.height();
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(description.height * ratio))));
    }
    return font;
}

}  // namespace platform::qt
