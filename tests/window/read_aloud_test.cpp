#include "window/read_aloud.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace quimbra::window {
namespace {

// An engine whose start takes startTime and then gives why.
struct Heard {
    std::mutex lock;
    std::vector<std::string> texts;
};
class SlowEngine final : public SpeechEngine {
  public:
    SlowEngine(Heard& heard, int startMs, std::string why)
        : heard_(heard), startMs_(startMs), why_(std::move(why)) {}
    std::string start(int) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(startMs_));
        return why_;
    }
    void say(const std::string& text) override {
        const std::lock_guard<std::mutex> held(heard_.lock);
        heard_.texts.push_back(text);
    }
    void stop() override {}

  private:
    Heard& heard_;
    int startMs_;
    std::string why_;
};

// The game never waits for the voice, however slow its start: only the
// latest of the texts said meanwhile is read, and a voice that cannot speak
// (no Italian voice, none built in) says why once, however often it is asked.
TEST(ReadAloud, NeverWaitsReadsTheLatestAndTellsTroubleOnce) {
    const struct {
        int startMs;
        std::string why;
        bool engine;
        std::vector<std::string> heard;
        QStringList told;
    } cases[] = {
        {600, "", true, {"terzo"}, {}},
        {0, noItalianVoice, true, {}, {noItalianVoice}},
        {0, "", false, {}, {builtWithoutSpeech}},
    };
    for (const auto& c : cases) {
        Heard heard;
        QStringList told;
        {
            ReadAloud::EngineMaker make;
            if (c.engine) {
                make = [&] { return std::make_unique<SlowEngine>(heard, c.startMs, c.why); };
            }
            ReadAloud voice(make, 80);
            QObject::connect(&voice, &ReadAloud::trouble, [&](const QString& why) { told << why; });
            QElapsedTimer clock;
            clock.start();
            // The first starts the engine; the others come while it starts.
            for (const char* text : {"primo", "secondo", "terzo"}) {
                voice.say(text);
                QCoreApplication::processEvents();
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            EXPECT_LT(clock.elapsed(), 300) << "said while the engine started";
            while (clock.elapsed() < c.startMs + 700) {
                QCoreApplication::processEvents();
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        EXPECT_EQ(heard.texts, c.heard) << c.why;
        EXPECT_EQ(told, c.told);
    }
}

}  // namespace
}  // namespace quimbra::window
