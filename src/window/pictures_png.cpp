// Pictures rendered from their SVG source at build time, as PNG at 1, 2 and
// 3 times the SVG's own size ("name@2x.png" beside "name.svg"); each is drawn
// from the smallest rendering that is at least as large as asked for, so the
// board stays sharp on displays scaled up to 300 %.
#include <QFile>
#include <QImage>
#include <QImageReader>

#include "window/pictures.h"

namespace quimbra::window {

namespace {

constexpr int largestRatio = 3;

QString rendering(const QString& resource, int ratio) {
    QString name = resource;
    if (name.endsWith(QLatin1String(".svg"))) {
        name.chop(4);
    }
    return name + QStringLiteral("@%1x.png").arg(ratio);
}

}  // namespace

bool pictureExists(const QString& resource) {
    return QFile::exists(rendering(resource, 1));
}

QPixmap drawPicture(const QString& resource, QSize size, qreal devicePixelRatio) {
    const QSize wanted = size * devicePixelRatio;
    if (wanted.isEmpty()) {
        return {};
    }
    // Only the chosen rendering is decoded; the others' sizes are read from
    // their headers.
    int ratio = 1;
    while (ratio < largestRatio) {
        const QSize available = QImageReader(rendering(resource, ratio)).size();
        if (available.width() >= wanted.width() && available.height() >= wanted.height()) {
            break;
        }
        ++ratio;
    }
    QImage source;
    if (!source.load(rendering(resource, ratio))) {
        return {};
    }
    QPixmap pixmap =
        QPixmap::fromImage(source.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon pictureIcon(const QString& resource) {
    QIcon icon;
    for (int ratio = 1; ratio <= largestRatio; ++ratio) {
        icon.addFile(rendering(resource, ratio));
    }
    return icon;
}

}  // namespace quimbra::window
