#pragma once
// The kinds of control the board is made of, each drawn the way the layout
// describes it. None of them holds game rules: the window sets what they show.

#include <QHash>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

#include "window/board_scale.h"
#include "window/look.h"
#include "window/pictures.h"

namespace quimbra::window {

// A graphical push button: the face in its own colour, the picture above
// the caption; a second and third picture for the pressed and disabled looks.
class PictureButton final : public QPushButton {
  public:
    struct Faces {
        QString normal;
        QString pressed;  // empty: the normal picture
        QString disabled;
    };

    PictureButton(QWidget* parent, const QString& caption, const QColor& face, Faces faces,
                  const BoardScale& scale);

    // The picture the button shows in its current state.
    QString currentFace() const;
    void setScale(const BoardScale& scale);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QPixmap facePicture(int side) const;

    QColor face_;
    // The focus came from the keyboard (Tab, an access key): it is marked.
    // The game's own moves of the focus are not, as on the desktop.
    bool keyboardFocus_ = false;
    Faces faces_;
    BoardScale scale_;
    mutable QHash<QString, QPixmap> rendered_;
};

// The answer box. Every typed character goes through the key filter first,
// which returns the code to insert (0 throws the key away); editing and
// moving keys that type nothing keep working.
class AnswerBox final : public QLineEdit {
  public:
    using KeyFilter = std::function<int(int)>;

    explicit AnswerBox(QWidget* parent);
    void setKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }
    // The box's font; a text too wide for the box in it is drawn smaller,
    // never scrolled out of sight.
    void setFittedFont(const QFont& font);

    // The character code a key would type, as the desktop numbers them
    // (Backspace 8, Escape 27, Ctrl+A..Z 1..26), or -1 when it types none.
    static int characterCode(const QKeyEvent& event);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fitText();

    KeyFilter filter_;
    QFont fitted_;
};

// The menu bar. F10 highlights it, so that a child without a mouse can reach
// "NUOVO GIOCO"; between the menus (on "NUOVO GIOCO" or "E-mail autori",
// which open no list) the highlighted item takes the keys, as a menu bar in
// keyboard mode does: nothing reaches the answer box or the game meanwhile.
class MenuBar final : public QMenuBar {
  public:
    // The four items: a credit, "NUOVO GIOCO", the school and the authors' mail.
    explicit MenuBar(QWidget* parent);
    QAction* newGame() const { return newGame_; }
    // The font and the space around the items, grown by the board's factor.
    void setScale(const FontChoice& font, const BoardScale& scale);
    // The keys sent to watched come here first.
    void watchKeys(QWidget* watched) { watched->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool menuKey(const QKeyEvent& key);

    QAction* newGame_;
    class Spacing;
    Spacing* spacing_;
};

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
