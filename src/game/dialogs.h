#pragma once
// The game's modal dialogs. They are counted while open, so that the clock's
// ticks and the child's clicks can wait instead of opening a dialog on top
// of another one.

#include <string>

#include "game/controls.h"
#include "game/platform.h"

namespace quimbra {

class Dialogs {
  public:
    // While controls.readAloud is on, each dialog's text is read as it opens.
    Dialogs(Platform& platform, const Controls& controls)
        : platform_(platform), controls_(controls) {}

    std::string inputBox(const std::string& prompt);
    // An empty title means the application title.
    Answer messageBox(const std::string& prompt, BoxStyle style = boxes::okOnly,
                      const std::string& title = {});

    // Runs work (a wait for the record files) as if a dialog were open: the
    // platform's busy notice may let the window's events through meanwhile,
    // but no tick or click reaches the game, so its clock stands still and
    // nothing starts a leaving sequence while the files are held.
    template <typename Work>
    auto holding(Work work) {
        struct Held {
            int& depth;
            ~Held() { --depth; }
        } held{++depth_};
        return work();
    }

    bool open() const { return depth_ > 0; }

    // Reads text aloud while the pupil has reading aloud on.
    void say(const std::string& text);

  private:
    class Opened;

    Platform& platform_;
    const Controls& controls_;
    int depth_ = 0;
};

}  // namespace quimbra
