#pragma once
// A speech engine of the platform, free of Qt so that the Windows one builds
// with nothing but the system's headers. One thread drives it, the voice's
// own (read_aloud.h): the window never waits for it.

#include <memory>
#include <string>

namespace quimbra::window {

// Why nothing is heard, told once, for a child's teacher.
inline constexpr const char* noItalianVoice =
    "Non trovo una voce italiana su questo computer: chiedi al tecnico della scuola.";
inline constexpr const char* noSpeechService =
    "Non posso leggere ad alta voce: su questo computer la sintesi vocale non funziona. Chiedi "
    "al tecnico della scuola.";
inline constexpr const char* builtWithoutSpeech =
    "Questa copia di Quimbra non sa leggere ad alta voce: chiedi al tecnico della scuola.";

class SpeechEngine {
  public:
    virtual ~SpeechEngine() = default;
    // Readies the Italian voice at ratePercent of its normal pace: "" when it
    // is ready, else why nothing will be heard.
    virtual std::string start(int ratePercent) = 0;
    // Starts reading text (UTF-8) and returns at once, cutting whatever was
    // being read.
    virtual void say(const std::string& text) = 0;
    virtual void stop() = 0;
};

#ifdef _WIN32
// Windows' own speech (SAPI 5): its Italian voice, spoken asynchronously.
std::unique_ptr<SpeechEngine> makeSapiEngine();
// SAPI's rate, -10 to 10, for a pace in percent: each ten steps are three
// times as fast, so 80 percent is -2.
long sapiRate(int ratePercent);
#endif

}  // namespace quimbra::window
