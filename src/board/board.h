#pragma once
// The board: every label and picture, the pieces of the fraction bar, the
// fraction line, the answer box and the two buttons, built from the tables
// of board_rows.h and placed at a scale. It draws itself from the game's model.

#include <QFrame>
#include <QLabel>
#include <QRect>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "board/answer_box.h"
#include "board/picture_button.h"
#include "game/controls.h"
#include "window/board_scale.h"
#include "window/look.h"

namespace quimbra::window {

struct BoardRow;

class Board final : public QWidget {
  public:
    // The controls with the model's captions at load, placed by applyScale.
    Board(QWidget* parent, const Controls& controls, const BoardScale& scale);

    // Every control's geometry, font, border and picture at scale.
    void applyScale(const BoardScale& scale);

    // Draws the model: every caption and its colour, the fraction bar's
    // pieces and the answer's text. Drawing twice changes nothing.
    void show(const Controls& controls);
    using QWidget::show;

    QLabel* label(const char* name) const { return findChild<QLabel*>(name); }
    QFrame* piece(int row, int index) const;
    AnswerBox* answer() const { return answer_; }
    PictureButton* next() const { return next_; }
    PictureButton* exit() const { return exit_; }
    QWidget* line() const { return line_; }
    // The loudspeaker that reads the question again, shown only while the
    // game reads aloud.
    QToolButton* speaker() const { return speaker_; }

  private:
    // A label that shows a caption of the model.
    struct ModelLabel {
        const BoardRow* row;
        QLabel* widget;
        bool fitted;  // fitted to its text, not at its design-time size
    };
    // A control's rectangle in twips and its font, applied at every scale.
    struct Placed {
        QWidget* widget;
        QRect twips;
        std::optional<FontChoice> font;
    };

    void addPieces();

    BoardScale scale_;
    QWidget* line_ = nullptr;
    AnswerBox* answer_ = nullptr;
    PictureButton* next_ = nullptr;
    PictureButton* exit_ = nullptr;
    QToolButton* speaker_ = nullptr;
    std::vector<ModelLabel> labels_;
    std::vector<Placed> placed_;
    std::array<std::vector<QFrame*>, 9> pieces_;
};

inline constexpr const char* speakerTip = "Leggi la domanda (F2)";

// Sets one colour of a widget's palette, unless it is that already.
void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// A caption as a label shows it.
QString shownText(const std::string& caption);

}  // namespace quimbra::window
