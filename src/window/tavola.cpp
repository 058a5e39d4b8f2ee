#include "window/tavola.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLayout>
#include <QWindow>

#include <type_traits>

#include "window/board_layout.h"
#include "window/board_rows.h"
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
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { onFocusChanged(now); });
    render();
}

Tavola::~Tavola() {
    // The focus moves while the children go; the model is no longer ours.
    disconnect(focusWatch_);
    timer1_.stop();
}

template <typename Result, typename... Args>
Result Tavola::send(Result (WindowEvents::*handler)(Args...), Args... args) {
    if constexpr (std::is_void_v<Result>) {
        (events_.*handler)(args...);
        render();
    } else {
        const Result result = (events_.*handler)(args...);
        render();
        return result;
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
    txtAnswer_ = board_->answer();
    cmdNext_ = board_->next();
    cmdExit_ = board_->exit();

    txtAnswer_->setKeyFilter([this](int code) { return send(&WindowEvents::keyPress, code); });
    connect(txtAnswer_, &QLineEdit::textChanged, this,
            [this](const QString& text) { controls_.txtAnswer = text.toStdString(); });
    cmdNext_->setDefault(true);
    connect(cmdNext_, &QPushButton::clicked, this, [this] { send(&WindowEvents::clickNext); });
    connect(cmdExit_, &QPushButton::clicked, this, [this] { send(&WindowEvents::clickExit); });

    // Only these three take the focus, in this order.
    for (QWidget* w : board_->findChildren<QWidget*>()) {
        w->setFocusPolicy(Qt::NoFocus);
    }
    for (QWidget* w : {static_cast<QWidget*>(cmdExit_), static_cast<QWidget*>(cmdNext_),
                       static_cast<QWidget*>(txtAnswer_)}) {
        w->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(cmdExit_, cmdNext_);
    setTabOrder(cmdNext_, txtAnswer_);
    setTabOrder(txtAnswer_, cmdExit_);

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
    // The menu bar's filter goes in last, so it sees the keys first.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(txtAnswer_),
                       static_cast<QWidget*>(cmdNext_), static_cast<QWidget*>(cmdExit_)}) {
        w->installEventFilter(this);
        menuBar_->watchKeys(w);
    }
    applyScale();
    setWindowIcon(programIcon());
}

void Tavola::applyScale() {
    board_->applyScale(scale_);
    const QCursor pointer =
        pictureCursor(pictures::iconPointer, scale_, QCursor(Qt::PointingHandCursor));
    setCursor(pictureCursor(pictures::cursorBoy, scale_, QCursor(Qt::ArrowCursor)));
    cmdNext_->setCursor(pointer);
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
        connect(pad_, &NumberPad::entered, this, &Tavola::padEnter);
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

void Tavola::padKey(int key, const QString& text) {
    if (events_.over()) {
        return;
    }
    // Whatever has the focus, the pad types into the answer box.
    focusAnswer();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(txtAnswer_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(txtAnswer_, &release);
}

void Tavola::padEnter() {
    if (events_.over()) {
        return;
    }
    // From the answer box, Enter judges the answer, or after a verdict asks
    // the next question through the default button.
    focusAnswer();
    send(&WindowEvents::pressEnter);
}

void Tavola::focusAnswer() {
    // The model follows at once, also while another window is active and
    // Qt reports no change of focus.
    txtAnswer_->setFocus(Qt::OtherFocusReason);
    controls_.focus = Focus::txtAnswer;
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
    const QPalette& pal = palette();
    for (Board::ModelLabel& l : board_->labels()) {
        const Label& model = controls_.*(l.row->model);
        const QString text = shownText(model.caption);
        // The design-time size belongs to the design-time text: an auto-size
        // label is fitted only when its text changes, keeping its top left.
        if (l.widget->text() != text) {
            l.widget->setText(text);
            if (l.row->style.autoSize) {
                l.widget->adjustSize();
                l.fitted = true;
            }
        }
        setColour(l.widget, QPalette::Text, toQColor(model.foreColour, pal));
    }
    for (int row = 1; row <= 9; ++row) {
        const ShapeRow& model = controls_.Shape(row);
        for (int index = 1; index <= model.count(); ++index) {
            const Piece& p = model(index);
            QFrame* w = piece(row, index);
            // The unfilled piece shows the window background inside its border.
            const bool filled = !(row == 9 && index == 2);
            setColour(w, QPalette::Window,
                      filled ? toQColor(p.fill, pal) : pal.color(QPalette::Base));
            setColour(w, QPalette::WindowText, toQColor(p.border, pal));
            w->setVisible(p.visible);
        }
    }
    const QString answer = QString::fromStdString(controls_.txtAnswer);
    if (txtAnswer_->text() != answer) {
        txtAnswer_->setText(answer);
    }
    // Enable before moving the focus and disable after, so the focus never
    // has to leave a button that is about to be switched off.
    if (controls_.cmdNextEnabled) {
        cmdNext_->setEnabled(true);
    }
    applyFocus();
    if (!controls_.cmdNextEnabled) {
        cmdNext_->setEnabled(false);
    }

    // The clock runs only while the window is on screen and its game goes on.
    const bool ticking = started_ && isVisible() && controls_.timer1Enabled && !events_.over();
    if (ticking && !timer1_.isActive()) {
        timer1_.start();
    } else if (!ticking && timer1_.isActive()) {
        timer1_.stop();
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
    const std::array<QWidget*, 4> targets{nullptr, cmdExit_, cmdNext_, txtAnswer_};
    QWidget* target = targets.at(static_cast<std::size_t>(controls_.focus));
    if (target != nullptr && focusWidget() != target && target->isEnabled()) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void Tavola::onFocusChanged(QWidget* now) {
    const std::array<QWidget*, 3> targets{cmdExit_, cmdNext_, txtAnswer_};
    const auto found = std::find(targets.begin(), targets.end(), now);
    if (found != targets.end()) {
        controls_.focus = static_cast<Focus>(found - targets.begin() + 1);
    }
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
        const Qt::WindowStates state = windowState();
        controls_.windowState = state.testFlag(Qt::WindowMinimized)   ? WindowState::minimized
                                : state.testFlag(Qt::WindowMaximized) ? WindowState::maximized
                                                                      : WindowState::normal;
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
    event->accept();
    emit closed();
}

}  // namespace quimbra::window
