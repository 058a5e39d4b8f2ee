#pragma once

#include <QLineEdit>

#include <functional>

namespace quimbra::window {

// The answer box. Every character a key types is handed to whoever reads
// the keys (the game, through the window), which puts back what it lets
// through; editing and moving keys that type nothing keep working.
class AnswerBox final : public QLineEdit {
  public:
    using Typed = std::function<void(int code)>;

    explicit AnswerBox(QWidget* parent);
    void onTyped(Typed typed) { typed_ = std::move(typed); }
    // The box's font; a text too wide for the box in it is drawn smaller,
    // never scrolled out of sight.
    void setFittedFont(const QFont& font);

    // A character code the game has let through, from a key or a pad alike:
    // Backspace (8) erases, a printable character is typed where the cursor
    // is, anything else (0: thrown away) does nothing.
    void put(int code);

    // The character code a key would type, as the desktop numbers them
    // (Backspace 8, Escape 27, Ctrl+A..Z 1..26), or -1 when it types none.
    static int characterCode(const QKeyEvent& event);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fitText();

    Typed typed_;
    QFont fitted_;
};

}  // namespace quimbra::window
