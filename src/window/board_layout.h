#pragma once
// Where the board, the number pad and the sea go in a window of a given
// size, and at what factor. At the design size the board fills the window
// alone; larger, the board grows, and where the window has room for the
// board at its design size and the pad beside it, the board leaves the pad
// that room on its right, low enough for a child to reach.

#include <QRect>

#include <functional>

#include "window/board_scale.h"

namespace quimbra::window {

class BoardLayout {
  public:
    // The menu bar's height with its font grown by a factor.
    using MenuHeight = std::function<int(double factor)>;

    static constexpr int padColumns = 3;
    static constexpr int padRows = 4;
    // A fingertip's least key, in pixels.
    static constexpr int leastKey = 60;
    // No key higher than this share of the window, from its top.
    static constexpr double highestKey = 0.3;

    // window: the window's inner size, menu bar included.
    BoardLayout(QSize window, const BoardScale& design, const MenuHeight& menuHeight);

    const BoardScale& scale() const { return scale_; }
    int menuHeight() const { return menuHeight_; }
    // The board and the pad in the sea, the window below the menu bar.
    QRect board() const { return board_; }
    bool hasPad() const { return !pad_.isEmpty(); }
    QRect pad() const { return pad_; }
    QSize key() const { return key_; }
    int keyGap() const { return keyGap_; }
    // Larger than the board, the sea is one picture behind the whole window.
    bool oneSea() const { return oneSea_; }

    // The pad's size for keys of a size, a gap apart.
    static QSize padSize(QSize key, int gap);

  private:
    // The board's largest factor in the window, without the pad.
    static double fitFactor(QSize window, const BoardScale& design, const MenuHeight& menuHeight);
    bool placePad(QSize window, const BoardScale& design, const MenuHeight& menuHeight);

    BoardScale scale_;
    int menuHeight_ = 0;
    QRect board_;
    QRect pad_;
    QSize key_;
    int keyGap_ = 0;
    bool oneSea_ = false;
};

}  // namespace quimbra::window
