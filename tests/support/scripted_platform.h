#pragma once
// A platform whose dialogs are answered from a script. Every dialog is logged
// in order; a dialog the script does not expect, a dialog with no script
// entry left, and script entries never used fail the running test.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "game/platform.h"

namespace quimbra::testing {

struct Dialog {
    enum class Kind { input, message };
    Kind kind = Kind::message;
    std::string prompt;
    std::string title;
    BoxStyle style;
};

class ScriptedPlatform : public Platform {
  public:
    // Runs while its dialog is open, before the answer is given.
    using During = std::function<void()>;

    ScriptedPlatform() = default;
    ~ScriptedPlatform() override;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    // The next dialog must be an input box with this prompt; it returns answer.
    ScriptedPlatform& expectInput(std::string prompt, std::string answer, During during = {});
    // The next dialog must be a message box with this prompt.
    ScriptedPlatform& expectMessage(std::string prompt, Answer answer = Answer::ok,
                                    During during = {});
    // The next dialog must be a message box; its text is not checked here.
    ScriptedPlatform& expectAnyMessage(Answer answer = Answer::ok, During during = {});

    // Fails the test for every script entry not used; called by the
    // destructor too, once.
    void verifyDone();
    std::size_t pending() const { return script_.size(); }

    std::string inputBox(const std::string& prompt) override;
    Answer messageBox(const std::string& prompt, BoxStyle style, const std::string& title) override;
    std::string currentDate() override { return date; }
    double timeOfDay() override { return time; }
    LocalDateTime localDateTime() override { return {"2026-12-08", "10:42"}; }
    std::string computerName() override { return "LAB-07"; }
    void beep() override { ++beeps; }
    void showBusy(const std::string& text) override {
        busyAfter.emplace_back(dialogs.size(), text);
        whileBusy();  // the events a real busy notice lets through
    }
    void endProgram() override { ++endCalls; }
    void reloadWindow() override { ++reloadCalls; }

    std::vector<Dialog> dialogs;
    std::string date = "08/12/2026";
    double time = 43210.0;
    int beeps = 0;
    // Each busy text, after how many dialogs it was shown.
    std::vector<std::pair<std::size_t, std::string>> busyAfter;
    During whileBusy = [] {};
    int endCalls = 0;
    int reloadCalls = 0;

  private:
    struct Entry {
        Dialog::Kind kind;
        std::optional<std::string> prompt;
        std::string inputAnswer;
        Answer boxAnswer;
        During during;
    };
    // Logs the dialog, checks it against the next entry and runs its callback.
    std::optional<Entry> take(const Dialog& shown);

    std::deque<Entry> script_;
    bool verified_ = false;
};

}  // namespace quimbra::testing
