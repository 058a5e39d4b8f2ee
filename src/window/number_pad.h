#pragma once
// The number pad beside the board, for a child at an interactive whiteboard
// who has no keyboard: the digits, "Cancella" and "Invio". A tap types the
// key the keyboard would; the pad never takes the focus.

#include <QPushButton>
#include <QWidget>

#include <vector>

#include "window/board_scale.h"

namespace quimbra::window {

class NumberPad final : public QWidget {
    Q_OBJECT

  public:
    explicit NumberPad(QWidget* parent);

    // The pad's size for keys of the board's buttons' size at scale.
    static QSize sizeAt(const BoardScale& scale);
    void applyScale(const BoardScale& scale);

  signals:
    // A key was tapped or clicked: the key code and the text the keyboard's
    // own key would send.
    void typed(int key, const QString& text);

  private:
    std::vector<QPushButton*> keys_;
};

}  // namespace quimbra::window
