#include "game/dialogs.h"

#include "game/spoken_text.h"

namespace quimbra {

// Counts a dialog as open for as long as the platform holds it, even if the
// platform's call unwinds.
class Dialogs::Opened {
  public:
    explicit Opened(int& depth) : depth_(depth) { ++depth_; }
    ~Opened() { --depth_; }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;

  private:
    int& depth_;
};

void Dialogs::say(const std::string& text) {
    if (controls_.readAloud && !text.empty()) {
        platform_.say(text);
    }
}

std::string Dialogs::inputBox(const std::string& prompt) {
    const Opened opened(depth_);
    say(spokenText(prompt));
    return platform_.inputBox(prompt);
}

Answer Dialogs::messageBox(const std::string& prompt, BoxStyle style, const std::string& title) {
    const Opened opened(depth_);
    say(spokenText(prompt));
    return platform_.messageBox(prompt, style, title);
}

}  // namespace quimbra
