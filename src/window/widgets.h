#pragma once
// The kinds of control the board is made of, each drawn the way the layout
// describes it. None of them holds game rules: the window sets what they show.

#include <QHash>
#include <QLineEdit>
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

// One piece of the fraction bar: a plain rectangle with a thin border.
// A piece without fill shows the window background inside its border.
class PieceWidget final : public QWidget {
  public:
    PieceWidget(QWidget* parent, bool filled);

    void setColours(const QColor& fill, const QColor& border);
    QColor fill() const { return fill_; }
    QColor border() const { return border_; }
    // The border's width in pixels: 1 at design size, more on a larger board.
    void setBorderWidth(int pixels);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool filled_;
    int borderWidth_ = 1;
    QColor fill_;
    QColor border_;
};

// A solid bar of one colour (the fraction line).
class LineWidget final : public QWidget {
  public:
    LineWidget(QWidget* parent, const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

// A picture from the resources, stretched to the widget. It is drawn once
// into a pixmap and read again only when the size changes, so neither
// repaints nor a parsed picture cost anything while the game runs.
class PictureWidget final : public QWidget {
  public:
    PictureWidget(QWidget* parent, const QString& resource);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString resource_;
    bool valid_;
    QPixmap cache_;
};

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

  private:
    QPixmap facePicture(int side) const;

    QColor face_;
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

    explicit AnswerBox(QWidget* parent) : QLineEdit(parent) {}
    void setKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }

    // The character code a key would type, as the desktop numbers them
    // (Backspace 8, Escape 27, Ctrl+A..Z 1..26), or -1 when it types none.
    static int characterCode(const QKeyEvent& event);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    KeyFilter filter_;
};

}  // namespace quimbra::window
