#pragma once

#include <QHash>
#include <QPixmap>
#include <QPushButton>
#include <QString>

#include "window/board_scale.h"

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

}  // namespace quimbra::window
