#include "window/read_aloud.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <mutex>
#include <utility>

#ifdef QUIMBRA_QT_SPEECH
#include <QLocale>
#include <QTextToSpeech>
#endif

namespace quimbra::window {

// Lives on the voice's thread: makes the engine on the first request and
// hands it every text that is still the latest when its turn comes.
class ReadAloud::Worker final : public QObject {
  public:
    Worker(EngineMaker make, int ratePercent, std::shared_ptr<std::atomic<unsigned>> latest,
           std::shared_ptr<Owner> owner)
        : make_(std::move(make)),
          rate_(ratePercent),
          latest_(std::move(latest)),
          owner_(std::move(owner)) {}

    // A text to read, or none to fall silent.
    void request(unsigned number, const std::string& text) {
        // Checked again after the start, which may have taken long enough
        // for newer texts to come.
        if (number != latest_->load() || !ready() || number != latest_->load()) {
            return;
        }
        if (text.empty()) {
            engine_->stop();
        } else {
            engine_->say(text);
        }
    }

  private:
    bool ready() {
        if (!started_) {
            started_ = true;
            engine_ = make_ ? make_() : nullptr;
            const std::string why = engine_ ? engine_->start(rate_) : builtWithoutSpeech;
            if (!why.empty()) {
                engine_.reset();
                // Under the lock, so the voice cannot go away meanwhile.
                const std::lock_guard<std::mutex> held(owner_->lock);
                if (ReadAloud* voice = owner_->voice) {
                    QMetaObject::invokeMethod(
                        voice, [voice, why] { voice->tell(QString::fromStdString(why)); },
                        Qt::QueuedConnection);
                }
            }
        }
        return engine_ != nullptr;
    }

    EngineMaker make_;
    int rate_;
    std::shared_ptr<std::atomic<unsigned>> latest_;
    std::shared_ptr<Owner> owner_;
    bool started_ = false;
    std::unique_ptr<SpeechEngine> engine_;
};

ReadAloud::ReadAloud(EngineMaker makeEngine, int ratePercent, QObject* parent)
    : QObject(parent),
      thread_(new QThread),
      latest_(std::make_shared<std::atomic<unsigned>>(0)),
      owner_(std::make_shared<Owner>()) {
    owner_->voice = this;
    worker_ = new Worker(std::move(makeEngine), ratePercent, latest_, owner_);
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start(QThread::LowPriority);
}

ReadAloud::~ReadAloud() {
    latest_->fetch_add(1);  // nothing still waiting is read
    {
        const std::lock_guard<std::mutex> held(owner_->lock);
        owner_->voice = nullptr;
    }
    thread_->quit();
    // An engine hung in its start must not keep the game from ending: after
    // a moment the thread is left to the end of the process.
    if (thread_->wait(QDeadlineTimer(2000))) {
        delete thread_;
    }
}

void ReadAloud::say(const std::string& text) {
    const unsigned number = latest_->fetch_add(1) + 1;
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, number, text] { worker->request(number, text); },
        Qt::QueuedConnection);
}

void ReadAloud::stop() {
    say({});
}

void ReadAloud::tell(const QString& why) {
    if (!std::exchange(told_, true)) {
        emit trouble(why);
    }
}

#ifdef QUIMBRA_QT_SPEECH
namespace {

// Qt's speech module: Speech Dispatcher on Linux.
class QtSpeechEngine final : public SpeechEngine {
  public:
    std::string start(int ratePercent) override {
        speech_ = std::make_unique<QTextToSpeech>();
        if (speech_->state() == QTextToSpeech::Error) {
            return noSpeechService;
        }
        const QList<QLocale> locales = speech_->availableLocales();
        const auto italian = std::find_if(locales.begin(), locales.end(), [](const QLocale& l) {
            return l.language() == QLocale::Italian;
        });
        if (italian == locales.end()) {
            return noItalianVoice;
        }
        speech_->setLocale(*italian);
        // Qt's rate is -1 (slowest) to 1 (fastest), 0 the normal pace.
        speech_->setRate(std::clamp((ratePercent - 100) / 100.0, -1.0, 1.0));
        return {};
    }

    void say(const std::string& text) override {
        speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
        speech_->say(QString::fromStdString(text));
    }

    void stop() override { speech_->stop(QTextToSpeech::BoundaryHint::Immediate); }

  private:
    std::unique_ptr<QTextToSpeech> speech_;
};

}  // namespace
#endif

void LateVoice::allow() {
    if (allowed_) {
        return;
    }
    allowed_ = true;
    if (!waiting_.empty()) {
        say(std::exchange(waiting_, {}));
    }
}

void LateVoice::say(const std::string& text) {
    if (!allowed_) {
        waiting_ = text;
        return;
    }
    if (!voice_) {
        voice_ = make_();
    }
    voice_->say(text);
}

void LateVoice::stop() {
    waiting_.clear();
    if (voice_) {
        voice_->stop();
    }
}

std::unique_ptr<ReadAloud> makeSystemVoice(int ratePercent, QObject* parent) {
    ReadAloud::EngineMaker make;
#if defined(_WIN32)
    make = makeSapiEngine;
#elif defined(QUIMBRA_QT_SPEECH)
    make = [] { return std::make_unique<QtSpeechEngine>(); };
#endif
    return std::make_unique<ReadAloud>(std::move(make), ratePercent, parent);
}

}  // namespace quimbra::window
