#pragma once

#include <QMenuBar>

#include "window/board_scale.h"
#include "window/look.h"

namespace quimbra::window {

// The menu bar. F10 highlights it, so that a child without a mouse can reach
// "NUOVO GIOCO"; between the menus (on "NUOVO GIOCO" or "E-mail autori",
// which open no list) the highlighted item takes the keys, as a menu bar in
// keyboard mode does: nothing reaches the answer box or the game meanwhile.
class MenuBar final : public QMenuBar {
  public:
    // The four items: a credit, "NUOVO GIOCO", the school and the authors' mail.
    explicit MenuBar(QWidget* parent);
    QAction* newGame() const { return newGame_; }
    // "Leggi ad alta voce", ticked while the game reads aloud.
    QAction* readAloud() const { return readAloud_; }
    // The font and the space around the items, grown by the board's factor.
    void setScale(const FontChoice& font, const BoardScale& scale);
    // The keys sent to watched come here first.
    void watchKeys(QWidget* watched) { watched->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool menuKey(const QKeyEvent& key);

    QAction* newGame_;
    QAction* readAloud_;
    class Spacing;
    Spacing* spacing_;
};

}  // namespace quimbra::window
