#pragma once
// What the window calls for its events. The game answers them; the window
// draws the controls after each call.

namespace quimbra {

class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void activate() = 0;
    virtual void resize() = 0;
    virtual void tick() = 0;
    virtual void clickNext() = 0;
    virtual void clickExit() = 0;
    virtual void clickNewGame() = 0;
    // A character typed into the answer box; returns the code the box takes
    // (0: discarded).
    virtual int keyPress(int keyCode) = 0;
    // Enter anywhere in the window.
    virtual void pressEnter() = 0;
    // The loudspeaker button or F2: the question read again.
    virtual void readQuestion() {}
    // The menu item that turns reading aloud on or off.
    virtual void switchReadAloud() {}
    // The game has asked to end or to reload: the window sends nothing more.
    virtual bool over() const = 0;
};

}  // namespace quimbra
