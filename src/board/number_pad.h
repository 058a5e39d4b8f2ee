#pragma once
// The number pad beside the board, for a child at an interactive whiteboard
// who has no keyboard: a keypad as on a telephone, 1 2 3 at the top and
// "Cancella" 0 "Invio" at the bottom. The pad never takes the focus.

#include <QElapsedTimer>
#include <QPushButton>
#include <QWidget>

#include <vector>

#include "window/board_scale.h"

namespace quimbra::window {

class NumberPad final : public QWidget {
    Q_OBJECT

  public:
    // A whiteboard often registers one touch twice: a key tapped this soon
    // after it was last taken is a bounce.
    static constexpr int bounceMs = 400;

    explicit NumberPad(QWidget* parent);

    // Keys of the given size, gap apart; their captions grown with scale.
    void arrange(QSize key, int gap, const BoardScale& scale);

  signals:
    // A key was tapped, and not as a bounce: the character code its
    // keyboard key types (a digit, Backspace 8, Enter 13).
    void typed(int code);

  private:
    std::vector<QPushButton*> keys_;
    std::vector<QElapsedTimer> taken_;
};

}  // namespace quimbra::window
