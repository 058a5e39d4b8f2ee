#include "support/scripted_platform.h"

#include <gtest/gtest.h>

#include <utility>

namespace quimbra::testing {
namespace {

const char* kindName(Dialog::Kind kind) {
    return kind == Dialog::Kind::input ? "input box" : "message box";
}

}  // namespace

ScriptedPlatform::~ScriptedPlatform() {
    if (!verified_) {
        verifyDone();
    }
}

ScriptedPlatform& ScriptedPlatform::expectInput(std::string prompt, std::string answer,
                                                During during) {
    script_.push_back(Entry{Dialog::Kind::input, std::move(prompt), std::move(answer), Answer::ok,
                            std::move(during)});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::expectMessage(std::string prompt, Answer answer,
                                                  During during) {
    script_.push_back(
        Entry{Dialog::Kind::message, std::move(prompt), {}, answer, std::move(during)});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::expectAnyMessage(Answer answer, During during) {
    script_.push_back(Entry{Dialog::Kind::message, std::nullopt, {}, answer, std::move(during)});
    return *this;
}

void ScriptedPlatform::verifyDone() {
    verified_ = true;
    for (const Entry& e : script_) {
        ADD_FAILURE() << "expected " << kindName(e.kind) << " never shown: \""
                      << e.prompt.value_or("<any>") << "\"";
    }
    script_.clear();
}

std::optional<ScriptedPlatform::Entry> ScriptedPlatform::take(const Dialog& shown) {
    dialogs.push_back(shown);
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(shown.kind) << ": \"" << shown.prompt << "\"";
        return std::nullopt;
    }
    Entry e = std::move(script_.front());
    script_.pop_front();
    if (e.kind != shown.kind || (e.prompt && *e.prompt != shown.prompt)) {
        ADD_FAILURE() << "expected " << kindName(e.kind) << " \"" << e.prompt.value_or("<any>")
                      << "\", shown " << kindName(shown.kind) << " \"" << shown.prompt << "\"";
        return std::nullopt;
    }
    if (e.during) {
        e.during();
    }
    return e;
}

std::string ScriptedPlatform::inputBox(const std::string& prompt) {
    const std::optional<Entry> e = take(Dialog{Dialog::Kind::input, prompt, {}, {}});
    return e ? e->inputAnswer : std::string{};
}

Answer ScriptedPlatform::messageBox(const std::string& prompt, BoxStyle style,
                                    const std::string& title) {
    const std::optional<Entry> e = take(Dialog{Dialog::Kind::message, prompt, title, style});
    // An unscripted confirmation is declined, the safe answer.
    return e ? e->boxAnswer : Answer::no;
}

}  // namespace quimbra::testing
