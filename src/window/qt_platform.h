#pragma once
// The platform services the game asks for, done with Qt: modal dialogs,
// the date and time, the beep, ending the program and loading the window anew.

#include <QDate>
#include <QObject>
#include <QPointer>
#include <memory>

#include "game/platform.h"
#include "window/tavola.h"

class QDialog;
class QWidget;

namespace quimbra::window {

class QtPlatform final : public QObject, public Platform {
    Q_OBJECT

  public:
    // The window dialogs belong to (none between two games); it is drawn
    // afresh before each dialog opens so the child sees the current state
    // behind it. The dialogs between two games keep the factor of the
    // window that went.
    void setWindow(Tavola* window);

    // Dialogs are drawn at the board's factor: the window's while it is on
    // screen, otherwise the last one known, or this one (a whiteboard's,
    // before the first window shows). At 1 they are the desktop's own.
    void setDialogScale(double factor) { dialogScale_ = factor; }
    double dialogScale() const { return dialogScale_; }

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
    // A dialog has been drawn on screen: what the child sees first is there,
    // and slower work may go on behind it.
    void dialogShown();

  private:
    QWidget* dialogParent();
    // Scales the dialog's texts and buttons and reports it once drawn.
    void prepare(QDialog& dialog);

    QPointer<Tavola> window_;
    std::unique_ptr<QWidget> busy_;  // shown by showBusy until the next dialog
    double dialogScale_ = 1.0;
};

// day in the system's short date format, date only: the user's own on
// Windows, the C library's "%x" of the current locale (LC_TIME) elsewhere.
std::string systemShortDate(QDate day);

// The board's factor that fills a screen of this size, never below the
// design size's.
double fillingFactor(QSize screen);

// The application's title, shown by dialogs that have none of their own.
inline constexpr const char* applicationTitle = "Quimbra";

// Qt's own translations of its dialog buttons for the system's language;
// Italian, the game's language, when none exists for it. Returns whether one
// was installed.
bool installQtTranslations();

}  // namespace quimbra::window
