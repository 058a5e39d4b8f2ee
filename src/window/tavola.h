#pragma once
// The game window. It draws the model of the controls and nothing else, and
// hands every event to the handlers; after each handler it draws the model
// again. It holds no game rules.

#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

#include "game/controls.h"
#include "window/board_scale.h"
#include "window/widgets.h"

class QAction;
class QMenu;
class QKeyEvent;

namespace quimbra::window {

// What the window calls for its events; the game answers them.
class TavolaEvents {
  public:
    virtual ~TavolaEvents() = default;
    virtual void activate() = 0;
    virtual void resize() = 0;
    virtual void tick() = 0;
    virtual void clickNext() = 0;
    virtual void clickExit() = 0;
    virtual void clickNewGame() = 0;
    virtual int keyPress(int keyCode) = 0;
    virtual void pressEnter() = 0;
    virtual bool over() const = 0;
};

class Tavola final : public QMainWindow {
    Q_OBJECT

  public:
    Tavola(Controls& controls, TavolaEvents& events, const BoardScale& scale = BoardScale());
    ~Tavola() override;

    // Shows the window and, once after each load, raises its activation.
    void start();

    // Draws the model: every caption, colour, piece, enabled state, the
    // focus, the timer's state and the title. Drawing twice changes nothing.
    void render();

    // The controls, by their names, for the adapter and the tests.
    QLabel* label(const char* name) const { return board_->findChild<QLabel*>(name); }
    PieceWidget* piece(int row, int index) const;
    AnswerBox* txtAnswer() const { return txtAnswer_; }
    PictureButton* cmdNext() const { return cmdNext_; }
    PictureButton* cmdExit() const { return cmdExit_; }
    PictureWidget* image1() const { return image1_; }
    PictureWidget* image2() const { return image2_; }
    LineWidget* line2() const { return line2_; }
    QWidget* board() const { return board_; }
    const BoardScale& scale() const { return scale_; }
    QTimer& timer1() { return timer1_; }
    QAction* newGameAction() const { return newGame_; }
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
    struct LabelStyle {
        FontChoice font = windowFont;
        bool centred = false;
        bool bordered = false;
        bool autoSize = false;
    };
    struct ModelLabel {
        Label Controls::*model;
        QLabel* widget;
        bool autoSize;
        bool bordered;
        bool fitted = false;  // an auto-size label whose text has changed
    };
    // A control's rectangle in twips and its font, applied at every scale.
    struct Placed {
        QWidget* widget;
        QRect twips;
        std::optional<FontChoice> font;
    };

    void build();
    void buildMenus();
    void place(QWidget* widget, const QRect& twips, std::optional<FontChoice> font = {});
    // Every control's geometry, font and picture at the current scale.
    void applyScale();
    // The board scaled to the window's room and centred on the sea.
    void fitBoardToSea();
    // F10 highlights the menu bar, so that a child without a mouse can reach
    // "NUOVO GIOCO"; returns whether the menu bar took the key.
    bool menuKey(const QKeyEvent* key);
    QLabel* addLabel(const char* name, Label Controls::*model, int left, int top, int width,
                     int height, const LabelStyle& style);
    // Pieces first..last of a row (last 0: to the row's end), back to front.
    void addPieces(int row, int first = 1, int last = 0);
    void applyFocus();
    void onFocusChanged(QWidget* now);

    Controls& controls_;
    TavolaEvents& events_;
    const BoardScale designScale_;
    BoardScale scale_;

    QWidget* sea_ = nullptr;
    QWidget* board_ = nullptr;
    QLabel* message_ = nullptr;
    PictureWidget* image2_ = nullptr;
    PictureWidget* image1_ = nullptr;
    LineWidget* line2_ = nullptr;
    AnswerBox* txtAnswer_ = nullptr;
    PictureButton* cmdNext_ = nullptr;
    PictureButton* cmdExit_ = nullptr;
    std::vector<ModelLabel> labels_;
    std::vector<Placed> placed_;
    std::array<std::vector<PieceWidget*>, 9> pieces_;
    QAction* newGame_ = nullptr;
    QTimer timer1_;
    QMetaObject::Connection focusWatch_;
    bool shown_ = false;
};

}  // namespace quimbra::window
