#pragma once
// Window events that are only recorded, for tests of what the window sends.

#include <functional>
#include <string>
#include <vector>

#include "board/tavola.h"

namespace quimbra::window::testing {

class RecordingEvents final : public WindowEvents {
  public:
    std::vector<std::string> calls;
    std::vector<int> keys;
    // The key filter's answer; by default digits and Backspace pass.
    std::function<int(int)> filter = [](int code) {
        return code == 8 || (code >= '0' && code <= '9') ? code : 0;
    };
    std::function<void()> onTick;
    bool isOver = false;

    void activate() override { calls.push_back("activate"); }
    void resize() override { calls.push_back("resize"); }
    void tick() override {
        calls.push_back("tick");
        if (onTick) {
            onTick();
        }
    }
    void clickNext() override { calls.push_back("clickNext"); }
    void clickExit() override { calls.push_back("clickExit"); }
    void clickNewGame() override { calls.push_back("clickNewGame"); }
    int keyPress(int keyCode) override {
        keys.push_back(keyCode);
        return filter(keyCode);
    }
    void pressEnter() override { calls.push_back("pressEnter"); }
    void readQuestion() override { calls.push_back("readQuestion"); }
    void switchReadAloud() override { calls.push_back("switchReadAloud"); }
    bool over() const override { return isOver; }

    int count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) {
            n += c == call ? 1 : 0;
        }
        return n;
    }
};

}  // namespace quimbra::window::testing
