#pragma once
// The platform services the game asks for, done with Qt: modal dialogs,
// the date and time, the beep, ending the program and loading the window anew.

#include <QDate>
#include <QObject>
#include <QPointer>
#include <memory>

#include "game/platform.h"
#include "window/tavola.h"

class QWidget;

namespace quimbra::window {

class QtPlatform final : public QObject, public Platform {
    Q_OBJECT

  public:
    // The window dialogs belong to (none between two games); it is drawn
    // afresh before each dialog opens so the child sees the current state
    // behind it.
    void setWindow(Tavola* window) { window_ = window; }

    std::string inputBox(const std::string& prompt) override;
    Answer messageBox(const std::string& prompt, BoxStyle style, const std::string& title) override;
    std::string currentDate() override;
    double timeOfDay() override;
    LocalDateTime localDateTime() override;
    std::string computerName() override;
    void beep() override;
    void showBusy(const std::string& text) override;
    void hideBusy() override;
    void endProgram() override;
    void reloadWindow() override;

  signals:
    // The game asked to end the program, or to load the window anew; whoever
    // runs the windows does it.
    void endRequested();
    void reloadRequested();

  private:
    QWidget* dialogParent();

    QPointer<Tavola> window_;
    std::unique_ptr<QWidget> busy_;  // shown by showBusy until the next dialog
};

// day in the system's short date format, date only: the user's own on
// Windows, the C library's "%x" of the current locale (LC_TIME) elsewhere.
std::string systemShortDate(QDate day);

// The application's title, shown by dialogs that have none of their own.
inline constexpr const char* applicationTitle = "Quimbra";

// Qt's own translations of its dialog buttons for the system's language;
// Italian, the game's language, when none exists for it. Returns whether one
// was installed.
bool installQtTranslations();

}  // namespace quimbra::window
