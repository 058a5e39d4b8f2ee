#pragma once
// Where the board, the number pad and the sea go in a window of a given
// size, and at what factor. At the design size the board fills the window
// alone; larger, the board grows, and where the window has room for the
// board at its design size and the pad beside it, the board leaves the pad
// room on its right for keys of a fingertip's size, low enough for a child
// to reach, and grows into the rest.

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
    // A fingertip's key as a share of the window's width: the window fills
    // the board, whose width is about the same in every classroom.
    static constexpr double fingerShare = 0.07;
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
    // A key's side at a fingertip's size in a window, never below leastKey.
    static int fingerKey(QSize window);

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

// The board's factor that fills a screen of this size, never below the
// design size's.
double fillingFactor(QSize screen);

}  // namespace quimbra::window
