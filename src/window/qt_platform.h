#pragma once
// The platform services the game asks for, done with Qt: modal dialogs,
// the date and time, the beep, ending the program and loading the window anew.

#include <QPointer>

#include <functional>

#include "game/platform.h"
#include "window/tavola.h"

class QWidget;

namespace quimbra::window {

class QtPlatform final : public Platform {
  public:
    // endProgram and reloadWindow are handed on, queued, to whoever runs the
    // windows.
    QtPlatform(std::function<void()> onEnd, std::function<void()> onReload);

    // The window dialogs belong to; it is drawn afresh before each dialog
    // opens so the child sees the current state behind it.
    void setWindow(Tavola* window) { window_ = window; }

    std::string inputBox(const std::string& prompt) override;
    Answer messageBox(const std::string& prompt, BoxStyle style, const std::string& title) override;
    std::string currentDate() override;
    double timeOfDay() override;
    void beep() override;
    void endProgram() override;
    void reloadWindow() override;

  private:
    QWidget* dialogParent();

    std::function<void()> onEnd_;
    std::function<void()> onReload_;
    QPointer<Tavola> window_;
};

// The application's title, shown by dialogs that have none of their own.
inline constexpr const char* applicationTitle = "Quimbra";

// Qt's own translations of its dialog buttons for the system's language;
// Italian, the game's language, when none exists for it. Returns whether one
// was installed.
bool installQtTranslations();

}  // namespace quimbra::window
