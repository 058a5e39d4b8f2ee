#pragma once
// What the rules ask of the desktop they run on. Dialogs are modal requests:
// the call returns when the child has answered. The game never reads the
// clock itself: the window's timer calls the game's tick, and the time of day
// and the date come from here.

#include <string>

namespace quimbra {

// How a message box looks: its buttons, its icon and which button Enter
// presses.
struct BoxStyle {
    enum class Buttons { ok, yesNo };
    enum class Icon { none, question };
    enum class Default { first, second };

    Buttons buttons = Buttons::ok;
    Icon icon = Icon::none;
    Default defaultButton = Default::first;

    bool operator==(const BoxStyle&) const = default;
};

namespace boxes {
inline constexpr BoxStyle okOnly{};
inline constexpr BoxStyle yesNoQuestionDefaultNo{BoxStyle::Buttons::yesNo, BoxStyle::Icon::question,
                                                 BoxStyle::Default::second};
}  // namespace boxes

// The local date and time of day, for the class sheet.
struct LocalDateTime {
    std::string date;  // ISO, "2026-12-08"
    std::string time;  // hours and minutes, "10:42"
};

// The button the child chose.
enum class Answer { ok, yes, no };

class Platform {
  public:
    virtual ~Platform() = default;

    // Modal input box titled with the application title, empty default text,
    // OK and Cancel. Returns the text typed, "" on Cancel.
    virtual std::string inputBox(const std::string& prompt) = 0;

    // Modal message box. An empty title means the application title
    // ("Quimbra"). A Yes/No box closed any other way answers No.
    virtual Answer messageBox(const std::string& prompt, BoxStyle style,
                              const std::string& title) = 0;

    // Today in the system's short date format, date only.
    virtual std::string currentDate() = 0;

    // Seconds since midnight, for seeding the random generator.
    virtual double timeOfDay() = 0;

    // Now, in the form the class sheet keeps.
    virtual LocalDateTime localDateTime() = 0;

    // This computer's name, as the network knows it.
    virtual std::string computerName() = 0;

    virtual void beep() = 0;

    // Reads text aloud and returns at once; a new text cuts the one being
    // read. The game asks only while reading aloud is on. A platform without
    // a voice stays silent.
    virtual void say(const std::string& /*text*/) {}
    virtual void stopSaying() {}

    // Shows text, without a button to answer, until the next dialog or the
    // end of the program: the game is busy, e.g. waiting for another game
    // to finish writing the record files. A platform without a way to show
    // it shows nothing.
    virtual void showBusy(const std::string& /*text*/) {}
    // Takes the busy text away before the next dialog, when the wait is over
    // and no dialog follows.
    virtual void hideBusy() {}

    // End the program: called at most once; nothing of the game runs after it.
    virtual void endProgram() = 0;

    // Discard the window and load it anew (a new game). The window does it
    // once the current handler has returned; nothing of this game runs after it.
    virtual void reloadWindow() = 0;
};

}  // namespace quimbra
