#pragma once
// Reading the game aloud, for pupils who read with difficulty. The voice
// lives on a thread of its own: the engine is made there at the first text,
// after the name prompt is on screen, so neither the start nor any click
// waits for a speech service that is slow, missing or hung.

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "window/speech_engine.h"

class QThread;

namespace quimbra::window {

class Voice {
  public:
    virtual ~Voice() = default;
    // Returns at once; a new text cuts the one being read.
    virtual void say(const std::string& text) = 0;
    virtual void stop() = 0;
};

class ReadAloud final : public QObject, public Voice {
    Q_OBJECT
  public:
    using EngineMaker = std::function<std::unique_ptr<SpeechEngine>()>;
    ReadAloud(EngineMaker makeEngine, int ratePercent, QObject* parent = nullptr);
    ~ReadAloud() override;

    void say(const std::string& text) override;
    void stop() override;

  signals:
    // Why nothing is heard, at most once.
    void trouble(const QString& why);

  private:
    class Worker;
    // The voice as its thread sees it: gone once it is destroyed, so an
    // engine that ends a hung start late tells nobody.
    struct Owner {
        std::mutex lock;
        ReadAloud* voice = nullptr;
    };
    void tell(const QString& why);
    QThread* thread_;
    Worker* worker_;
    // The number of the latest request: an older text still waiting when a
    // newer one comes is dropped unread.
    std::shared_ptr<std::atomic<unsigned>> latest_;
    std::shared_ptr<Owner> owner_;
    bool told_ = false;
};

// A voice made at its first text once allowed: until the name prompt is on
// screen nothing of the speech service is touched and the latest text waits.
class LateVoice final : public Voice {
  public:
    using Maker = std::function<std::unique_ptr<Voice>()>;
    explicit LateVoice(Maker make) : make_(std::move(make)) {}
    void allow();
    void say(const std::string& text) override;
    void stop() override;

  private:
    Maker make_;
    std::unique_ptr<Voice> voice_;
    std::string waiting_;
    bool allowed_ = false;
};

// This platform's voice: Windows' speech, or Qt's speech module where it was
// built with it; otherwise a voice that only tells why it is silent.
std::unique_ptr<ReadAloud> makeSystemVoice(int ratePercent, QObject* parent = nullptr);

}  // namespace quimbra::window
