#include "board/tavola.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLayout>
#include <QShortcut>
#include <QWindow>

#include <algorithm>
#include <array>

#include "board/board_layout.h"
#include "board/board_rows.h"
#include "board/menu_bar.h"
#include "board/sea.h"
#include "game/answer_checker.h"
#include "window/pictures.h"

namespace quimbra::window {

namespace {

// The title bar and the taskbar ask for 16 to 32 pixels, where the window in
// miniature is a blur: there the icon is the simple mark, as in Explorer.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const char* resource = size <= 32 ? pictures::windowIconSmall : pictures::windowIcon;
        icon.addPixmap(renderPicture(QString::fromLatin1(resource), QSize(size, size)));
    }
    return icon;
}

QCursor pictureCursor(const char* resource, const BoardScale& scale, const QCursor& fallback) {
    const int side = scale.px(480);
    const QPixmap pixmap = renderPicture(QString::fromLatin1(resource), QSize(side, side));
    return pixmap.isNull() ? fallback : QCursor(pixmap, side / 2, side / 2);
}

}  // namespace

Tavola::Tavola(Controls& controls, WindowEvents& events, const BoardScale& scale)
    : controls_(controls), events_(events), designScale_(scale), scale_(scale) {
    setObjectName("Tavola");
    build();
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] { send(&WindowEvents::tick); });
    hold_.setSingleShot(true);
    hold_.setInterval(holdMs);
    connect(&hold_, &QTimer::timeout, this, &Tavola::fullScreenSwitched);
    // The window as it is loaded.
    render();
}

Tavola::~Tavola() {
    timer1_.stop();
}

template <typename Handler>
void Tavola::send(Handler handler) {
    if (events_.over()) {
        return;
    }
    takeWidgets();
    handler(events_);
    render();
}

void Tavola::send(void (WindowEvents::*handler)()) {
    send([handler](WindowEvents& game) { (game.*handler)(); });
}

void Tavola::takeWidgets() {
    controls_.txtAnswer = txtAnswer()->text().toStdString();
    // While a modal dialog keeps the keyboard, the focus stays the game's.
    const std::array<QWidget*, 3> targets{cmdExit(), cmdNext(), txtAnswer()};
    const auto found = std::find(targets.begin(), targets.end(), focusWidget());
    if (QApplication::activeModalWidget() == nullptr && found != targets.end()) {
        controls_.focus = static_cast<Focus>(found - targets.begin() + 1);
    }
    const Qt::WindowStates state = windowState();
    controls_.windowState = state.testFlag(Qt::WindowMinimized)   ? WindowState::minimized
                            : state.testFlag(Qt::WindowMaximized) ? WindowState::maximized
                                                                  : WindowState::normal;
}

void Tavola::type(int code) {
    send([this, code](WindowEvents& game) {
        txtAnswer()->put(game.keyPress(code));
        // The box took the kept character before the model is drawn.
        controls_.txtAnswer = txtAnswer()->text().toStdString();
    });
}

void Tavola::padKey(int code) {
    // A tap of "Invio" on an empty box is a stray one (a second tap after
    // the next question came): nothing to judge.
    if (code == keyEnter && txtAnswer()->text().isEmpty()) {
        return;
    }
    if (!events_.over()) {
        txtAnswer()->setFocus(Qt::OtherFocusReason);
    }
    if (code == keyEnter) {
        send(&WindowEvents::pressEnter);
    } else {
        type(code);
    }
}

void Tavola::build() {
    sea_ = new Sea(this);
    sea_->setObjectName("sea");
    // Never smaller than the board at its design size; larger, the board
    // grows with it as one.
    sea_->setMinimumSize(designScale_.clientSize());
    sea_->installEventFilter(this);
    setCentralWidget(sea_);
    board_ = new Board(sea_, controls_, scale_);
    AnswerBox* answer = board_->answer();
    PictureButton* next = board_->next();
    PictureButton* exit = board_->exit();

    answer->onTyped([this](int code) { type(code); });
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, [this] { send(&WindowEvents::clickNext); });
    connect(exit, &QPushButton::clicked, this, [this] { send(&WindowEvents::clickExit); });
    stopwatch_ = image1();
    stopwatch_->installEventFilter(this);

    // Only these three take the focus, in this order.
    for (QWidget* w : board_->findChildren<QWidget*>()) {
        w->setFocusPolicy(Qt::NoFocus);
    }
    for (QWidget* w : {static_cast<QWidget*>(exit), static_cast<QWidget*>(next),
                       static_cast<QWidget*>(answer)}) {
        w->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(exit, next);
    setTabOrder(next, answer);
    setTabOrder(answer, exit);

    menuBar_ = new MenuBar(this);
    setMenuBar(menuBar_);
    menuBar_->setScale(menuFont, designScale_);
    designMenuHeight_ = menuBar_->sizeHint().height();
    // The window is never smaller than at its design size; the menu bar
    // grown on a larger window must not raise that, or a restored window
    // would stay taller than it was.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(designScale_.clientSize() + QSize(0, designMenuHeight_));
    newGame_ = menuBar_->newGame();
    connect(newGame_, &QAction::triggered, this, [this] { send(&WindowEvents::clickNewGame); });
    connect(menuBar_->readAloud(), &QAction::triggered, this,
            [this] { send(&WindowEvents::switchReadAloud); });
    connect(board_->speaker(), &QToolButton::clicked, this,
            [this] { send(&WindowEvents::readQuestion); });
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this,
            [this] { send(&WindowEvents::readQuestion); });
    // Enter is the game's from every control: the buttons would click
    // themselves, the box hands it on to the window. The menu bar's filter
    // goes in last, so it sees the keys first.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(answer),
                       static_cast<QWidget*>(next), static_cast<QWidget*>(exit)}) {
        if (w != answer) {
            w->installEventFilter(this);
        }
        menuBar_->watchKeys(w);
    }
    // A label of the board, not a tooltip: activation and keys would take a
    // tooltip away before the teacher reads it.
    notice_ = new QLabel(board_);
    notice_->setObjectName("avvisoVoce");
    notice_->setWordWrap(true);
    notice_->setStyleSheet(
        QStringLiteral("QLabel { background: #ffffe1; color: black; border: 1px solid black; }"));
    notice_->hide();
    noticeTime_.setSingleShot(true);
    noticeTime_.setInterval(20000);
    connect(&noticeTime_, &QTimer::timeout, notice_, &QWidget::hide);
    applyScale();
    setWindowIcon(programIcon());
}

void Tavola::applyScale() {
    board_->applyScale(scale_);
    // Under the loudspeaker, over the sea, clear of the fraction bar.
    notice_->setGeometry(scale_.rect(5040, 2700, 5280, 720));
    notice_->setFont(makeFont(FontChoice{Face::arial, 10, false, false}, scale_));
    const QCursor pointer =
        pictureCursor(pictures::iconPointer, scale_, QCursor(Qt::PointingHandCursor));
    setCursor(pictureCursor(pictures::cursorBoy, scale_, QCursor(Qt::ArrowCursor)));
    cmdNext()->setCursor(pointer);
    label("lblMessage")->setCursor(pointer);
}

void Tavola::fitBoardToSea() {
    const BoardLayout layout(size(), designScale_, [this](double factor) {
        menuBar_->setScale(menuFont, BoardScale(factor));
        return menuBar_->sizeHint().height();
    });
    menuBar_->setScale(menuFont, layout.scale());
    if (layout.scale().factor() != scale_.factor()) {
        scale_ = layout.scale();
        applyScale();
    }
    image2()->setVisible(!layout.oneSea());
    board_->setAutoFillBackground(!layout.oneSea());
    board_->move(layout.board().topLeft());
    if (layout.hasPad() && pad_ == nullptr) {
        pad_ = new NumberPad(sea_);
        connect(pad_, &NumberPad::typed, this, &Tavola::padKey);
        pad_->show();
    } else if (!layout.hasPad() && pad_ != nullptr) {
        delete pad_;
        pad_ = nullptr;
    }
    if (pad_ != nullptr) {
        pad_->arrange(layout.key(), layout.keyGap(), scale_);
        pad_->move(layout.pad().topLeft());
    }
}

QAction* Tavola::readAloudAction() const {
    return menuBar_->readAloud();
}

void Tavola::setVoiceTrouble(const QString& why, bool tell) {
    trouble_ = why;
    tellTrouble_ = tell;
    speaker()->setToolTip(QString::fromLatin1(speakerTip) + u'\n' + why);
    speaker()->setAccessibleDescription(why);
    render();
}

QList<QAction*> Tavola::menuItems() const {
    return menuBar()->actions();
}

void Tavola::start() {
    const bool first = !started_;
    show();
    if (first) {
        send(&WindowEvents::activate);
    }
}

void Tavola::render() {
    // Enable before moving the focus and disable after, so the focus never
    // has to leave a button that is about to be switched off.
    if (controls_.cmdNextEnabled) {
        cmdNext()->setEnabled(true);
    }
    board_->show(controls_);
    applyFocus();
    if (!controls_.cmdNextEnabled) {
        cmdNext()->setEnabled(false);
    }

    // The clock runs only while the window is on screen and its game goes on.
    const bool ticking = started_ && isVisible() && controls_.timer1Enabled && !events_.over();
    if (ticking && !timer1_.isActive()) {
        timer1_.start();
    } else if (!ticking && timer1_.isActive()) {
        timer1_.stop();
    }

    menuBar_->readAloud()->setChecked(controls_.readAloud);
    if (tellTrouble_ && isVisible() && speaker()->isVisible()) {
        tellTrouble_ = false;
        notice_->setText(trouble_);
        notice_->raise();
        notice_->show();
        noticeTime_.start();
    }

    const QString title = QString::fromStdString(controls_.title);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void Tavola::applyFocus() {
    // A modal dialog keeps the keyboard; the window's focus follows once it
    // closes.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    const std::array<QWidget*, 4> targets{nullptr, cmdExit(), cmdNext(), txtAnswer()};
    QWidget* target = targets.at(static_cast<std::size_t>(controls_.focus));
    if (target != nullptr && focusWidget() != target && target->isEnabled()) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

bool Tavola::event(QEvent* event) {
    // A dialog the game opens in the middle of an event finds the board
    // drawn as the game has left it so far.
    if (event->type() == QEvent::WindowBlocked) {
        render();
    }
    return QMainWindow::event(event);
}

bool Tavola::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sea_ && event->type() == QEvent::Resize) {
        fitBoardToSea();
        // The size changed: the game sets the title again.
        if (started_) {
            send(&WindowEvents::resize);
        }
        return false;
    }
    if (watched == stopwatch_) {
        if (event->type() == QEvent::MouseButtonPress) {
            hold_.start();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            hold_.stop();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && !events_.over()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool modified =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (enter && !modified) {
            // The game decides what Enter means: the focused exit button,
            // the default button, or the answer check.
            send(&WindowEvents::pressEnter);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tavola::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && started_) {
        send(&WindowEvents::resize);
    }
}

void Tavola::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!started_) {
        started_ = true;
        // The pictures are drawn for the screen's pixel ratio: afresh on another.
        connect(windowHandle(), &QWindow::screenChanged, this, &Tavola::applyScale);
        send(&WindowEvents::resize);
    }
}

void Tavola::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    hold_.stop();
    event->accept();
    emit closed();
}

}  // namespace quimbra::window
