// Pictures drawn from their SVG source at run time, at whatever size the
// board needs.
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include "window/pictures.h"

namespace quimbra::window {

bool pictureExists(const QString& resource) {
    return QFile::exists(resource);
}

QPixmap drawPicture(const QString& resource, QSize size, qreal devicePixelRatio) {
    QSvgRenderer renderer(resource);
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon pictureIcon(const QString& resource) {
    return QIcon(resource);
}

}  // namespace quimbra::window
