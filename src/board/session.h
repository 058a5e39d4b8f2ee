#pragma once
// Runs the game's windows: loads a window with a fresh model and game, shows
// it, and on a new game discards all three and loads fresh ones.

#include <QByteArray>
#include <QObject>

#include <memory>

#include "board/tavola.h"
#include "game/platform.h"
#include "game/random_source.h"
#include "game/record_keeper.h"

namespace quimbra {
class Game;
}

namespace quimbra::window {

class Session final : public QObject {
    Q_OBJECT

  public:
    Session(Platform& platform, RandomSource& random, RecordKeeper& records,
            const BoardScale& scale = BoardScale());
    ~Session() override;

    // Loads the game (the name prompt and greeting run here), then shows
    // its window and raises its activation once.
    void begin();

    // Builds the loading game's window, hidden, if it has none yet: called
    // once the name prompt is on screen, so that the child sees the prompt
    // first and types while the board is drawn behind it.
    void buildWindow();

    // The first window fills the screen it opens on (a whiteboard); F11, or
    // holding the stopwatch, switches every window between full screen and
    // its other state.
    void setFillsScreen(bool fills) { fillsScreen_ = fills; }

    // Whether the next game starts reading aloud (--voce, the technician's
    // setting); a new game keeps what the pupil chose in the last one.
    void setReadAloud(bool on) { readAloud_ = on; }
    // Why the voice is silent: every window's loudspeaker says it, and the
    // first one to show it tells it once.
    void setVoiceTrouble(const QString& why);

    // Queued: the current handler returns first, then the old window, model
    // and game are discarded and fresh ones loaded; the new window takes the
    // old one's place, size and state (maximized, full screen).
    void reload();

    // Queued: closes the window and leaves the event loop with code 0.
    void end();

    Tavola* window() const;
    Controls* controls() const;
    Game* game() const;
    int loads() const { return loads_; }

  signals:
    // Each new window as it is loaded, nullptr as it goes: the platform's
    // dialogs belong to it.
    void windowChanged(Tavola* window);

  private:
    struct Loaded;
    void discard();

    Platform& platform_;
    RandomSource& random_;
    RecordKeeper& records_;
    BoardScale scale_;
    std::unique_ptr<Loaded> current_;
    QByteArray keptGeometry_;
    int loads_ = 0;
    // The program is being left: no window is loaded any more.
    bool ending_ = false;
    bool fillsScreen_ = false;
    bool readAloud_ = false;
    QString trouble_;
    bool troubleTold_ = false;
};

}  // namespace quimbra::window
