#pragma once
// What the rules ask of the desktop they run on. Dialogs are modal requests:
// the call returns when the child has answered. The game never reads the
// clock itself: the window's timer calls the game's tick, and the time of day
// and the date come from here.

#include <string>

namespace quimbra {

// Message box styles and answers, numbered as the platform numbers them.
namespace boxes {
constexpr int okOnly = 0;
constexpr int yesNoQuestionDefaultNo = 292;  // 4 (Yes/No) + 32 (question icon) + 256 (No default)
constexpr int ok = 1;
constexpr int yes = 6;
constexpr int no = 7;
}  // namespace boxes

class Platform {
public:
    virtual ~Platform() = default;

    // Modal input box titled with the application title, empty default text,
    // OK and Cancel. Returns the text typed, "" on Cancel.
    virtual std::string inputBox(const std::string& prompt) = 0;

    // Modal message box. An empty title means the application title
    // ("Quimbra"). Returns boxes::ok, boxes::yes or boxes::no.
    virtual int messageBox(const std::string& prompt, int style, const std::string& title) = 0;

    // Today in the system's short date format, date only.
    virtual std::string currentDate() = 0;

    // Seconds since midnight, for seeding the random generator.
    virtual double timeOfDay() = 0;

    virtual void beep() = 0;

    // End the program: called at most once; nothing of the game runs after it.
    virtual void endProgram() = 0;

    // Discard the window and load it anew (a new game). The window does it
    // once the current handler has returned; nothing of this game runs after it.
    virtual void reloadWindow() = 0;
};

}  // namespace quimbra
