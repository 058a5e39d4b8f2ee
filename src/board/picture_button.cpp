#include "board/picture_button.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>

#include "window/pictures.h"

namespace quimbra::window {

PictureButton::PictureButton(QWidget* parent, const QString& caption, const QColor& face,
                             Faces faces, const BoardScale& scale)
    : QPushButton(caption, parent), face_(face), faces_(std::move(faces)), scale_(scale) {}

void PictureButton::setScale(const BoardScale& scale) {
    scale_ = scale;
    update();
}

QString PictureButton::currentFace() const {
    if (!isEnabled() && !faces_.disabled.isEmpty()) {
        return faces_.disabled;
    }
    if (isDown() && !faces_.pressed.isEmpty()) {
        return faces_.pressed;
    }
    return faces_.normal;
}

QPixmap PictureButton::facePicture(int side) const {
    // Rendered once per face and size, not on every repaint (hover, press).
    const QString face = currentFace();
    const qreal ratio = devicePixelRatioF();
    QPixmap& cached = rendered_[face];
    if (cached.isNull() || cached.size() != QSize(side, side) * ratio) {
        cached = renderPicture(face, QSize(side, side), ratio);
    }
    return cached;
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, face_);

    // A raised frame, sunk while held down; the default button carries an
    // extra dark outline.
    const bool down = isDown();
    QRect frame = r;
    if (isDefault()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        frame.adjust(1, 1, -1, -1);
    }
    const QColor light = face_.lighter(160);
    const QColor dark = face_.darker(220);
    painter.setPen(down ? dark : light);
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.setPen(down ? light : face_.darker(140));
    painter.drawLine(frame.bottomLeft() + QPoint(1, -1), frame.bottomRight() + QPoint(-1, -1));
    painter.drawLine(frame.topRight() + QPoint(-1, 1), frame.bottomRight() + QPoint(-1, -1));

    // Picture and caption as one block, centred; shifted by a pixel while down.
    const int shift = down ? 1 : 0;
    const int side = scale_.px(480);
    const QFontMetrics metrics(font());
    const int gap = scale_.px(30);
    const int blockHeight = side + gap + metrics.height();
    const int top = (r.height() - blockHeight) / 2 + shift;
    const QPixmap picture = facePicture(side);
    if (!picture.isNull()) {
        painter.drawPixmap((r.width() - side) / 2 + shift, top, picture);
    }
    const QRect captionRect(shift, top + side + gap, r.width(), metrics.height());
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                         text());
    } else {
        // Engraved, as disabled captions are drawn on the desktop.
        painter.setPen(face_.lighter(170));
        painter.drawText(captionRect.translated(1, 1),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, text());
        painter.setPen(face_.darker(200));
        painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                         text());
    }
    if (hasFocus() && keyboardFocus_) {
        // A clear outline inside the frame, grown with the board.
        const int width = std::max(2, scale_.px(30));
        const int inset = std::max(4, scale_.px(60));
        painter.setPen(QPen(palette().color(QPalette::WindowText), width, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(r).adjusted(inset + width / 2.0, inset + width / 2.0,
                                            -inset - width / 2.0, -inset - width / 2.0));
    }
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        keyboardFocus_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                         reason == Qt::ShortcutFocusReason;
    }
    QPushButton::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        keyboardFocus_ = false;
    }
    QPushButton::focusOutEvent(event);
}

}  // namespace quimbra::window
