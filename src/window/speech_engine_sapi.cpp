#include "window/speech_engine.h"

#include <windows.h>
// sapi.h after windows.h: it needs its COM declarations.
#include <sapi.h>

#include <algorithm>
#include <cmath>

namespace quimbra::window {
namespace {

// Italian, as SAPI's voice tokens name their language (LANGID 0x410).
constexpr const wchar_t* italian = L"Language=410";

template <typename Interface>
struct Released {
    Interface* p = nullptr;
    ~Released() {
        if (p != nullptr) {
            p->Release();
        }
    }
    Released() = default;
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
};

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

class SapiEngine final : public SpeechEngine {
  public:
    ~SapiEngine() override {
        if (voice_.p != nullptr) {
            voice_.p->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            voice_.p->Release();
            voice_.p = nullptr;
        }
        if (comStarted_) {
            CoUninitialize();
        }
    }

    std::string start(int ratePercent) override {
        // The voice's own thread: SAPI reads asynchronously from there.
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                    reinterpret_cast<void**>(&voice_.p)))) {
            voice_.p = nullptr;
            return noSpeechService;
        }
        Released<ISpObjectTokenCategory> category;
        Released<IEnumSpObjectTokens> tokens;
        Released<ISpObjectToken> token;
        if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                    IID_ISpObjectTokenCategory,
                                    reinterpret_cast<void**>(&category.p))) ||
            FAILED(category.p->SetId(SPCAT_VOICES, FALSE)) ||
            FAILED(category.p->EnumTokens(italian, nullptr, &tokens.p)) || tokens.p == nullptr ||
            tokens.p->Next(1, &token.p, nullptr) != S_OK || FAILED(voice_.p->SetVoice(token.p))) {
            return noItalianVoice;
        }
        voice_.p->SetRate(sapiRate(ratePercent));
        return {};
    }

    void say(const std::string& text) override {
        const std::wstring words = wide(text);
        voice_.p->Speak(words.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
    }

    void stop() override { voice_.p->Speak(nullptr, SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr); }

  private:
    Released<ISpVoice> voice_;
    bool comStarted_ = false;
};

}  // namespace

long sapiRate(int ratePercent) {
    const double steps = 10.0 * std::log(std::max(ratePercent, 1) / 100.0) / std::log(3.0);
    return std::clamp(std::lround(steps), -10L, 10L);
}

std::unique_ptr<SpeechEngine> makeSapiEngine() {
    return std::make_unique<SapiEngine>();
}

}  // namespace quimbra::window
