#include "board/answer_box.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quimbra::window {

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

void AnswerBox::put(int code) {
    if (code == 8) {
        backspace();
    } else if (code >= 0x20 && code <= 0xFFFF && code != 0x7f) {
        insert(QString(QChar(static_cast<char16_t>(code))));
    }
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
    event->accept();
    if (typed_) {
        typed_(code);
    } else {
        put(code);
    }
}

}  // namespace quimbra::window
