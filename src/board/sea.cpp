#include "board/sea.h"

#include <QPainter>

#include "window/look.h"
#include "window/pictures.h"

namespace quimbra::window {

void Sea::paintEvent(QPaintEvent*) {
    // At the design size the board covers all of it: nothing to draw or keep.
    if (childrenRect().contains(rect())) {
        cache_ = QPixmap();
        return;
    }
    constexpr double pictureAspect = 640.0 / 480.0;
    // The picture is drawn from above the top (see below), so it must be
    // that much taller than the window to reach its bottom too.
    constexpr int pictureHeight = 9240;
    constexpr int aboveTop = 360;
    const QSize reach(width(), (height() * pictureHeight + pictureHeight - aboveTop - 1) /
                                   (pictureHeight - aboveTop));
    const QSizeF natural = QSizeF(pictureAspect, 1.0).scaled(reach, Qt::KeepAspectRatioByExpanding);
    const QSize cover = natural.toSize().expandedTo(reach);
    const qreal ratio = devicePixelRatioF();
    if (cache_.isNull() || cache_.size() != cover * ratio) {
        cache_ = renderPicture(QString::fromLatin1(pictures::sea), cover, ratio);
    }
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(colours::lightYellow, palette()));
    // Centred across; from the top as the board shows it, so that the horizon
    // and the leaping dolphins stay in sight on a wide window.
    painter.drawPixmap((width() - cover.width()) / 2, -cover.height() * aboveTop / pictureHeight,
                       cache_);
}

}  // namespace quimbra::window
