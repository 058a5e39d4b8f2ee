#pragma once
// The game window: it wires the board, the number pad and the game. Every
// event crosses to the game in one place, send, which hands the game what
// the child changed in the widgets, calls the game's handler and has the
// board drawn. It holds no game rules.

#include <QMainWindow>
#include <QTimer>

#include "board/board.h"
#include "board/number_pad.h"
#include "game/controls.h"
#include "game/window_events.h"
#include "window/board_scale.h"

class QAction;

namespace quimbra::window {

class MenuBar;

class Tavola final : public QMainWindow {
    Q_OBJECT

  public:
    // Holding the stopwatch this long asks to leave full screen (or go back).
    static constexpr int holdMs = 3000;

    Tavola(Controls& controls, WindowEvents& events, const BoardScale& scale = BoardScale());
    ~Tavola() override;

    // Shows the window and, once after each load, raises its activation.
    void start();

    // Draws the model: the board, the enabled states, the focus, the timer's
    // state and the title. Each crossing ends with it; a test that wrote a
    // model of its own draws it with it too.
    void render();

    // The controls, by their names, for the adapter and the tests.
    QLabel* label(const char* name) const { return board_->label(name); }
    QFrame* piece(int row, int index) const { return board_->piece(row, index); }
    AnswerBox* txtAnswer() const { return board_->answer(); }
    PictureButton* cmdNext() const { return board_->next(); }
    PictureButton* cmdExit() const { return board_->exit(); }
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
    QToolButton* speaker() const { return board_->speaker(); }
    QAction* readAloudAction() const;
    // Why the voice is silent: said by the loudspeaker's tooltip and, if
    // tell, once under it for a while as the board shows it, without
    // stopping play.
    void setVoiceTrouble(const QString& why, bool tell);

  signals:
    // The window was closed, from its frame or by whoever runs it.
    void closed();
    // The stopwatch was held for holdMs: the teacher's way out of full
    // screen by touch.
    void fullScreenSwitched();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    // The one crossing: the model takes what the widgets hold (the answer's
    // text, the focus, the window's state), the game answers, the model is
    // drawn. Nothing is sent once the game is over.
    template <typename Handler>
    void send(Handler handler);
    void send(void (WindowEvents::*handler)());
    // A character for the answer box, from a key or the pad: the game lets it
    // through or not, and the box takes what it let through.
    void type(int code);
    // A key of the pad: typed into the answer box whatever has the focus;
    // "Invio" is Enter in the box, never on the exit button.
    void padKey(int code);
    void takeWidgets();
    // The board and the cursors at the current scale.
    void applyScale();
    // The board, the menu bar and the pad laid out for the window's size.
    void fitBoardToSea();
    void applyFocus();

    Controls& controls_;
    WindowEvents& events_;
    const BoardScale designScale_;
    BoardScale scale_;

    QWidget* sea_ = nullptr;
    Board* board_ = nullptr;
    NumberPad* pad_ = nullptr;
    MenuBar* menuBar_ = nullptr;
    int designMenuHeight_ = 0;
    QAction* newGame_ = nullptr;
    QObject* stopwatch_ = nullptr;
    QTimer timer1_;
    QTimer hold_;
    bool started_ = false;
    QString trouble_;
    bool tellTrouble_ = false;
    QLabel* notice_ = nullptr;
    QTimer noticeTime_;
};

}  // namespace quimbra::window
