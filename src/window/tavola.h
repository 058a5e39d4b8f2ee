#pragma once
// The game window. It draws the model of the controls and nothing else, and
// hands every event to the game; after each event it draws the model again.
// It holds no game rules.

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

#include "game/controls.h"
#include "game/window_events.h"
#include "window/board.h"
#include "window/board_scale.h"
#include "window/number_pad.h"
#include "window/widgets.h"

class QAction;

namespace quimbra::window {

class MenuBar;

class Tavola final : public QMainWindow {
    Q_OBJECT

  public:
    Tavola(Controls& controls, WindowEvents& events, const BoardScale& scale = BoardScale());
    ~Tavola() override;

    // Shows the window and, once after each load, raises its activation.
    void start();

    // Draws the model: every caption, colour, piece, enabled state, the
    // focus, the timer's state and the title. Drawing twice changes nothing.
    void render();

    // The controls, by their names, for the adapter and the tests.
    QLabel* label(const char* name) const { return board_->label(name); }
    QFrame* piece(int row, int index) const { return board_->piece(row, index); }
    AnswerBox* txtAnswer() const { return txtAnswer_; }
    PictureButton* cmdNext() const { return cmdNext_; }
    PictureButton* cmdExit() const { return cmdExit_; }
    QLabel* image1() const { return label("Image1"); }
    QLabel* image2() const { return label("Image2"); }
    QWidget* line2() const { return board_->line(); }
    QWidget* board() const { return board_; }
    const BoardScale& scale() const { return scale_; }
    QTimer& timer1() { return timer1_; }
    QAction* newGameAction() const { return newGame_; }
    // The number pad beside a board drawn larger than its design size, when
    // the window has room for both; none otherwise.
    NumberPad* pad() const { return pad_; }
    QList<QAction*> menuItems() const;

  signals:
    // The window was closed, from its frame or by whoever runs it.
    void closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    // The one path of every event: the game answers it, then the model is drawn.
    template <typename Result, typename... Args>
    Result send(Result (WindowEvents::*handler)(Args...), Args... args);
    // The board and the cursors at the current scale.
    void applyScale();
    // The board, the menu bar and the pad laid out for the window's size.
    void fitBoardToSea();
    // A digit or "Cancella" of the pad, typed into the answer box.
    void padKey(int key, const QString& text);
    // "Invio" of the pad: Enter in the answer box, never on the exit button.
    void padEnter();
    void focusAnswer();
    void applyFocus();
    void onFocusChanged(QWidget* now);

    Controls& controls_;
    WindowEvents& events_;
    const BoardScale designScale_;
    BoardScale scale_;

    QWidget* sea_ = nullptr;
    Board* board_ = nullptr;
    NumberPad* pad_ = nullptr;
    MenuBar* menuBar_ = nullptr;
    int designMenuHeight_ = 0;
    AnswerBox* txtAnswer_ = nullptr;
    PictureButton* cmdNext_ = nullptr;
    PictureButton* cmdExit_ = nullptr;
    QAction* newGame_ = nullptr;
    QTimer timer1_;
    QMetaObject::Connection focusWatch_;
    bool started_ = false;
};

}  // namespace quimbra::window
