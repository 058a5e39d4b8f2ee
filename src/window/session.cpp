#include "window/session.h"

#include <QCoreApplication>
#include <QTimer>

#include <utility>

#include "game/game.h"

namespace quimbra::window {

// Declared so that the window goes first, then the game, then the model.
struct Session::Loaded {
    Loaded(Platform& platform, RandomSource& random, records::RecordStorage& storage,
           const BoardScale& scale)
        : game(controls, platform, random, storage), window(controls, game, scale) {}
    Controls controls;
    Game game;
    Tavola window;
};

Session::Session(Platform& platform, RandomSource& random, records::RecordStorage& storage,
                 const BoardScale& scale)
    : platform_(platform), random_(random), storage_(storage), scale_(scale) {}

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
    current_ = std::make_unique<Loaded>(platform_, random_, storage_, scale_);
    ++loads_;
    Tavola& window = current_->window;
    // A new game keeps the window where and as the teacher left it.
    if (!keptGeometry_.isEmpty()) {
        window.restoreGeometry(std::exchange(keptGeometry_, {}));
    }
    connect(&window, &Tavola::closed, this, &Session::end);
    emit windowChanged(&window);
    current_->game.load();
    if (ending_ || current_->game.over()) {
        return;
    }
    window.render();
    window.start();
}

void Session::reload() {
    QTimer::singleShot(0, this, [this] {
        if (!ending_) {
            if (current_) {
                keptGeometry_ = current_->window.saveGeometry();
            }
            begin();
        }
    });
}

void Session::end() {
    if (ending_) {
        return;
    }
    ending_ = true;
    if (current_) {
        current_->window.close();
    }
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

Tavola* Session::window() const {
    return current_ ? &current_->window : nullptr;
}
Controls* Session::controls() const {
    return current_ ? &current_->controls : nullptr;
}
Game* Session::game() const {
    return current_ ? &current_->game : nullptr;
}

}  // namespace quimbra::window
