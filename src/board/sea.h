#pragma once

#include <QPixmap>
#include <QWidget>

namespace quimbra::window {

// The sea: on a window larger than the board, one picture behind the whole
// window and the board, drawn for its size, keeping its proportions.
class Sea final : public QWidget {
  public:
    explicit Sea(QWidget* parent) : QWidget(parent) {}
    QSize sizeHint() const override { return minimumSize(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap cache_;
};

}  // namespace quimbra::window
