#pragma once
// The platform services the game asks for, done with Qt: modal dialogs,
// the date and time, the beep, ending the program and loading the window anew.

#include <QDate>
#include <QObject>
#include <QPointer>
#include <memory>

#include "board/tavola.h"
#include "game/platform.h"
#include "window/application.h"
#include "window/read_aloud.h"

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
    // On a whiteboard every dialog reads as large as the board's question,
    // and the name prompt has a letter pad within a child's reach, whatever
    // the factor.
    void setWhiteboard(bool whiteboard) { whiteboard_ = whiteboard; }
    double dialogScale() const { return dialogScale_; }

    std::string inputBox(const std::string& prompt) override;
    Answer messageBox(const std::string& prompt, BoxStyle style, const std::string& title) override;
    std::string currentDate() override;
    double timeOfDay() override;
    LocalDateTime localDateTime() override;
    std::string computerName() override;
    void beep() override;
    // Handed to the voice, if the program has one.
    void say(const std::string& text) override;
    void stopSaying() override;
    void setVoice(Voice* voice) { voice_ = voice; }
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
    // Scales the dialog's texts and buttons and reports it once drawn;
    // returns the factor it grew by.
    double prepare(QDialog& dialog);
    // The screen a dialog opens on, without its panels.
    QRect dialogScreen(const QDialog& dialog) const;

    QPointer<Tavola> window_;
    std::unique_ptr<QWidget> busy_;  // shown by showBusy until the next dialog
    Voice* voice_ = nullptr;
    double dialogScale_ = 1.0;
    bool whiteboard_ = false;
};

// day in the system's short date format, date only: the user's own on
// Windows, the C library's "%x" of the current locale (LC_TIME) elsewhere.
std::string systemShortDate(QDate day);

}  // namespace quimbra::window
