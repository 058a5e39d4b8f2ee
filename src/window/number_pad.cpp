#include "window/number_pad.h"

#include <array>

#include "window/board_rows.h"
#include "window/look.h"

namespace quimbra::window {

namespace {

struct PadKey {
    const char* caption;
    int key;
    const char* text;  // what the keyboard's key types
};

// Two columns, top to bottom: the widest pad that fits beside the board on
// a wide screen has keys as large as the board's buttons.
constexpr std::array<PadKey, 12> padKeys{{
    {"1", Qt::Key_1, "1"},
    {"2", Qt::Key_2, "2"},
    {"3", Qt::Key_3, "3"},
    {"4", Qt::Key_4, "4"},
    {"5", Qt::Key_5, "5"},
    {"6", Qt::Key_6, "6"},
    {"7", Qt::Key_7, "7"},
    {"8", Qt::Key_8, "8"},
    {"9", Qt::Key_9, "9"},
    {"0", Qt::Key_0, "0"},
    {"Cancella", Qt::Key_Backspace, "\b"},
    {"Invio", Qt::Key_Return, "\r"},
}};
constexpr int columns = 2;
constexpr int rows = 6;

constexpr int gapTwips = 120;

// A key is the size, in pixels, of the board's buttons.
QSize keySize(const BoardScale& scale) {
    const QRect& t = nextButtonTwips;
    return scale.rect(t.x(), t.y(), t.width(), t.height()).size();
}

}  // namespace

NumberPad::NumberPad(QWidget* parent) : QWidget(parent) {
    setObjectName("pad");
    for (const PadKey& k : padKeys) {
        auto* key = new QPushButton(QString::fromLatin1(k.caption), this);
        key->setObjectName(QStringLiteral("pad%1").arg(k.caption));
        key->setAccessibleName(QString::fromLatin1(k.caption));
        // The answer box keeps the focus whatever is tapped.
        key->setFocusPolicy(Qt::NoFocus);
        connect(
            key, &QPushButton::clicked, this,
            [this, code = k.key, text = QString::fromLatin1(k.text)] { emit typed(code, text); });
        keys_.push_back(key);
    }
}

QSize NumberPad::sizeAt(const BoardScale& scale) {
    const QSize key = keySize(scale);
    const int gap = scale.px(gapTwips);
    return {columns * key.width() + (columns - 1) * gap, rows * key.height() + (rows - 1) * gap};
}

void NumberPad::applyScale(const BoardScale& scale) {
    setFixedSize(sizeAt(scale));
    // The answer box's colours; the digits in the window's font, the two
    // words in the question's.
    const int border = std::max(1, static_cast<int>(std::lround(scale.factor())));
    const QPalette p = palette();
    const QString sheet =
        QStringLiteral(
            "QPushButton { background: %1; color: %2; border: %3px solid %4; }"
            "QPushButton:pressed { background: %5; }")
            .arg(toQColor(colours::cyan, p).name(), toQColor(colours::darkBlue, p).name())
            .arg(border)
            .arg(p.color(QPalette::WindowText).name(),
                 toQColor(colours::cyan, p).darker(130).name());
    const QSize key = keySize(scale);
    const int gap = scale.px(gapTwips);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        keys_[i]->setGeometry(column * (key.width() + gap), row * (key.height() + gap), key.width(),
                              key.height());
        const bool word = i >= 10;
        keys_[i]->setFont(makeFont({Face::msSansSerif, word ? 13.5 : 18, true, false}, scale));
        keys_[i]->setStyleSheet(sheet);
    }
}

}  // namespace quimbra::window
