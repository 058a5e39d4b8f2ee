#include "board/number_pad.h"

#include <array>

#include "board/board_layout.h"
#include "window/look.h"

namespace quimbra::window {

namespace {

struct PadKey {
    const char* caption;
    int code;  // the character the keyboard's key types
    Colour face;
    Colour ink;
};

// The digits in the answer box's colours; the two words told apart from them
// and from each other by colour too: a soft red to take back, green to go.
constexpr Colour eraseFace = 0x80A0FF;
constexpr Colour enterFace = 0x60D860;
constexpr Colour wordInk = colours::black;

// Row by row, as on a telephone's keypad.
constexpr std::array<PadKey, 12> padKeys{{
    {"1", '1', colours::cyan, colours::darkBlue},
    {"2", '2', colours::cyan, colours::darkBlue},
    {"3", '3', colours::cyan, colours::darkBlue},
    {"4", '4', colours::cyan, colours::darkBlue},
    {"5", '5', colours::cyan, colours::darkBlue},
    {"6", '6', colours::cyan, colours::darkBlue},
    {"7", '7', colours::cyan, colours::darkBlue},
    {"8", '8', colours::cyan, colours::darkBlue},
    {"9", '9', colours::cyan, colours::darkBlue},
    {"Cancella", 8, eraseFace, wordInk},
    {"0", '0', colours::cyan, colours::darkBlue},
    {"Invio", 13, enterFace, wordInk},
}};

}  // namespace

NumberPad::NumberPad(QWidget* parent) : QWidget(parent) {
    setObjectName("pad");
    for (const PadKey& k : padKeys) {
        auto* key = new QPushButton(QString::fromLatin1(k.caption), this);
        key->setObjectName(QStringLiteral("pad%1").arg(k.caption));
        key->setAccessibleName(QString::fromLatin1(k.caption));
        key->setFocusPolicy(Qt::NoFocus);
        const std::size_t at = keys_.size();
        connect(key, &QPushButton::clicked, this, [this, at, code = k.code] {
            QElapsedTimer& taken = taken_.at(at);
            if (!taken.isValid() || taken.elapsed() >= bounceMs) {
                taken.start();
                emit typed(code);
            }
        });
        keys_.push_back(key);
    }
    taken_.resize(keys_.size());
}

void NumberPad::arrange(QSize key, int gap, const BoardScale& scale) {
    setFixedSize(BoardLayout::padSize(key, gap));
    const int border = std::max(1, static_cast<int>(std::lround(scale.factor())));
    const QPalette p = palette();
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const PadKey& k = padKeys.at(i);
        const QColor face = toQColor(k.face, p);
        keys_[i]->setStyleSheet(
            QStringLiteral("QPushButton { background: %1; color: %2; border: %3px solid %4; }"
                           "QPushButton:pressed { background: %5; }")
                .arg(face.name(), toQColor(k.ink, p).name())
                .arg(border)
                .arg(p.color(QPalette::WindowText).name(), face.darker(130).name()));
        const int column = static_cast<int>(i) % BoardLayout::padColumns;
        const int row = static_cast<int>(i) / BoardLayout::padColumns;
        keys_[i]->setGeometry(column * (key.width() + gap), row * (key.height() + gap), key.width(),
                              key.height());
        // The digits in the window's font, the two words in the question's,
        // never wider than their key.
        const bool word = k.code < '0';
        QFont font = makeFont({Face::msSansSerif, word ? 13.5 : 18, true, false}, scale);
        while (font.pixelSize() > 8 &&
               QFontMetrics(font).horizontalAdvance(keys_[i]->text()) > key.width() - 4 * border) {
            font.setPixelSize(font.pixelSize() - 1);
        }
        keys_[i]->setFont(font);
    }
}

}  // namespace quimbra::window
