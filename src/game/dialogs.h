#pragma once
// The game's modal dialogs. They are counted while open, so that the clock's
// ticks and the child's clicks can wait instead of opening a dialog on top
// of another one.

#include <string>

#include "game/platform.h"

namespace quimbra {

class Dialogs {
  public:
    explicit Dialogs(Platform& platform) : platform_(platform) {}

    std::string inputBox(const std::string& prompt);
    // An empty title means the application title.
    Answer messageBox(const std::string& prompt, BoxStyle style = boxes::okOnly,
                      const std::string& title = {});

    bool open() const { return depth_ > 0; }

  private:
    class Opened;

    Platform& platform_;
    int depth_ = 0;
};

}  // namespace quimbra
