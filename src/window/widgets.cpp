#include "window/widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include <algorithm>

namespace quimbra::window {

// ---- PictureButton ---------------------------------------------------------

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

// ---- AnswerBox -------------------------------------------------------------

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &AnswerBox::fitText);
}

void AnswerBox::setFittedFont(const QFont& font) {
    fitted_ = font;
    fitText();
}

void AnswerBox::fitText() {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins();
    // The line edit's own margin on each side, and the cursor at the end.
    constexpr int lineEditMargins = 2 * 2 + 2;
    const int room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width() -
                     margins.left() - margins.right() - lineEditMargins;
    QFont font = fitted_;
    while (font.pixelSize() > 1 && QFontMetrics(font).horizontalAdvance(text()) > room) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (this->font() != font) {
        setFont(font);
    }
}

int AnswerBox::characterCode(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (mods & (Qt::AltModifier | Qt::MetaModifier)) {
        return -1;
    }
    const int key = event.key();
    if (key == Qt::Key_Backspace) {
        return 8;
    }
    if (key == Qt::Key_Escape) {
        return 27;
    }
    if (mods & Qt::ControlModifier) {
        return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : -1;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return -1;
    }
    const char16_t c = text.at(0).unicode();
    return c < 0x20 || c == 0x7f ? -1 : static_cast<int>(c);
}

void AnswerBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        // Keys that move or edit without typing a character.
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Delete:
        case Qt::Key_Insert:
            QLineEdit::keyPressEvent(event);
            return;
        default:
            break;
    }
    const int code = characterCode(*event);
    if (code < 0) {
        event->ignore();
        return;
    }
    const int kept = filter_ ? filter_(code) : code;
    if (kept == code) {
        QLineEdit::keyPressEvent(event);
    } else if (kept >= 0x20 && kept <= 0xFFFF) {
        insert(QString(QChar(static_cast<char16_t>(kept))));
        event->accept();
    } else {
        event->accept();
    }
}

// ---- MenuBar ---------------------------------------------------------------

// The style's room around and between the items, in pixels at design size,
// grown by a factor like the font, so that the items stay apart.
class MenuBar::Spacing final : public QProxyStyle {
  public:
    Spacing() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    double factor() const { return factor_; }
    void setFactor(double factor) { factor_ = factor; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_MenuBarItemSpacing:
            case PM_MenuBarHMargin:
            case PM_MenuBarVMargin:
            case PM_MenuBarPanelWidth:
                return grown(base);
            default:
                return base;
        }
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type != CT_MenuBarItem) {
            return size;
        }
        return contents + QSize(grown(size.width() - contents.width()),
                                grown(size.height() - contents.height()));
    }

  private:
    int grown(int pixels) const { return static_cast<int>(std::lround(pixels * factor_)); }

    double factor_ = 1.0;
};

void MenuBar::setScale(const FontChoice& font, const BoardScale& scale) {
    if (spacing_->factor() != scale.factor()) {
        spacing_->setFactor(scale.factor());
        // The style's sizes are not watched: the items are measured afresh.
        QEvent changed(QEvent::StyleChange);
        QApplication::sendEvent(this, &changed);
    }
    setFont(makeFont(font, scale));
}

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent), spacing_(new Spacing) {
    spacing_->setParent(this);
    setStyle(spacing_);
    QMenu* ciao = addMenu("di Autrice Uno e Autore Due");
    ciao->setObjectName("Ciao(1)");
    ciao->addAction("Via dell'Esempio 1 - 00000 Paese Esempio")->setObjectName("Tmer(1)");
    newGame_ = addAction("NUOVO GIOCO");
    newGame_->setObjectName("new");
    QMenu* school = addMenu("www.scuola.example");
    school->setObjectName("scuola");
    school->addAction("Scuola Primaria Statale \"Esempio\"")->setObjectName("ist");
    addAction("E-mail autori: autori@scuola.example" + QString(16, u' '))->setObjectName("df");
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && menuKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMenuBar::eventFilter(watched, event);
}

bool MenuBar::menuKey(const QKeyEvent& key) {
    const QList<QAction*> items = actions();
    if (key.key() == Qt::Key_F10 && key.modifiers() == Qt::NoModifier) {
        setActiveAction(items.constFirst());
        return true;
    }
    QAction* active = activeAction();
    if (active == nullptr || QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const qsizetype at = items.indexOf(active);
    const qsizetype count = items.size();
    switch (key.key()) {
        case Qt::Key_Left:
            setActiveAction(items.at((at + count - 1) % count));
            break;
        case Qt::Key_Right:
            setActiveAction(items.at((at + 1) % count));
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            setActiveAction(nullptr);
            active->trigger();
            break;
        case Qt::Key_Escape:
        case Qt::Key_F10:
            setActiveAction(nullptr);
            break;
        default:
            break;
    }
    return true;
}

// ---- Sea -------------------------------------------------------------------

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
