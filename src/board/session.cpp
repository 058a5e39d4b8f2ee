#include "board/session.h"

#include <QCoreApplication>
#include <QShortcut>
#include <QTimer>

#include <utility>

#include "game/game.h"

namespace quimbra::window {

// Declared so that the window goes first, then the game, then the model.
struct Session::Loaded {
    Loaded(Platform& platform, RandomSource& random, RecordKeeper& records)
        : game(controls, platform, random, records), designTime(controls) {}
    Controls controls;
    Game game;
    // The controls before loading changed them.
    const Controls designTime;
    // Built while the name prompt is open.
    std::unique_ptr<Tavola> window;
};

Session::Session(Platform& platform, RandomSource& random, RecordKeeper& records,
                 const BoardScale& scale)
    : platform_(platform), random_(random), records_(records), scale_(scale) {}

Session::~Session() {
    discard();
}

void Session::discard() {
    if (current_) {
        emit windowChanged(nullptr);
        current_.reset();
    }
}

void Session::begin() {
    discard();
    current_ = std::make_unique<Loaded>(platform_, random_, records_);
    current_->controls.readAloud = readAloud_;
    ++loads_;
    current_->game.load();
    buildWindow();
    if (ending_ || current_->game.over()) {
        return;
    }
    Tavola& window = *current_->window;
    if (fillsScreen_ && loads_ == 1) {
        window.setWindowState(Qt::WindowFullScreen);
    }
    window.start();
}

void Session::buildWindow() {
    if (!current_ || current_->window || ending_) {
        return;
    }
    // Built on the controls as they were before loading, so that its labels
    // fit the texts loading wrote as they fit every later text.
    Controls loaded = std::exchange(current_->controls, current_->designTime);
    current_->window = std::make_unique<Tavola>(current_->controls, current_->game, scale_);
    current_->controls = std::move(loaded);
    Tavola* window = current_->window.get();
    // A new game keeps the window where and as the teacher left it.
    if (!keptGeometry_.isEmpty()) {
        window->restoreGeometry(std::exchange(keptGeometry_, {}));
    }
    if (!trouble_.isEmpty()) {
        window->setVoiceTrouble(trouble_, !std::exchange(troubleTold_, true));
    }
    connect(window, &Tavola::closed, this, &Session::end);
    if (fillsScreen_) {
        // F11, or by touch the stopwatch held for a while, which a pupil
        // does not do by chance.
        const auto switchFullScreen = [window] {
            window->setWindowState(window->windowState() ^ Qt::WindowFullScreen);
        };
        connect(new QShortcut(QKeySequence(Qt::Key_F11), window), &QShortcut::activated, window,
                switchFullScreen);
        connect(window, &Tavola::fullScreenSwitched, window, switchFullScreen);
    }
    emit windowChanged(window);
}

void Session::reload() {
    QTimer::singleShot(0, this, [this] {
        if (!ending_) {
            if (current_) {
                readAloud_ = current_->controls.readAloud;
            }
            if (current_ && current_->window) {
                keptGeometry_ = current_->window->saveGeometry();
            }
            begin();
        }
    });
}

void Session::setVoiceTrouble(const QString& why) {
    trouble_ = why;
    if (Tavola* shown = window()) {
        shown->setVoiceTrouble(why, !std::exchange(troubleTold_, true));
    }
}

void Session::end() {
    if (ending_) {
        return;
    }
    ending_ = true;
    if (current_ && current_->window) {
        current_->window->close();
    }
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

Tavola* Session::window() const {
    return current_ ? current_->window.get() : nullptr;
}
Controls* Session::controls() const {
    return current_ ? &current_->controls : nullptr;
}
Game* Session::game() const {
    return current_ ? &current_->game : nullptr;
}

}  // namespace quimbra::window
