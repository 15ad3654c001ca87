#include "platform/qt/Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <memory>

#include "res/DialogTemplate.h"

namespace platform::qt {

namespace {

// Draws the SVG at the size asked for; a disabled command's picture is drawn faded.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QByteArray svg) : svg_(std::move(svg)), renderer_(svg_) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        if (mode == QIcon::Disabled) {
            painter->setOpacity(painter->opacity() * 0.35);
        }
        renderer_.render(painter, QRectF(rect));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap image(size * scale);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            paint(&painter, QRect(QPoint(0, 0), image.size()), mode, state);
        }
        image.setDevicePixelRatio(scale);
        return image;
    }

    QIconEngine* clone() const override { return new SvgIconEngine(svg_); }
    QString key() const override { return QStringLiteral("halvex-svg"); }
    bool isNull() override { return !renderer_.isValid(); }

private:
    QByteArray svg_;
    QSvgRenderer renderer_;
};

}  // namespace

QIcon LoadIcon(int id) {
    const std::string_view svg = res::IconSvg(id);
    if (svg.empty()) {
        return QIcon();
    }
    return QIcon(new SvgIconEngine(QByteArray(svg.data(), static_cast<qsizetype>(svg.size()))));
}

}  // namespace platform::qt
