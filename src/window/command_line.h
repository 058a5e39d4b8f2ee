#pragma once

// The game's one place that reads its command line: every switch is declared
// here, so the help text, the manual page and the program agree.

#include <QString>
#include <QStringList>

namespace quimbra::window {

struct CommandLine {
    // --lavagna: the game fills the screen it opens on (a classroom whiteboard).
    bool whiteboard = false;
    // --registro: the teacher's class sheet opens instead of the game.
    bool classSheet = false;
    // --voce: the game reads its questions and messages aloud on this computer.
    bool readAloud = false;
    // Set when the program should only print this (help, version, a wrong
    // switch) and end, with exitCode.
    QString message;
    int exitCode = 0;
    bool endsAtOnce() const { return !message.isEmpty(); }
};

// `arguments` as QCoreApplication::arguments() gives them, program name first.
CommandLine readCommandLine(const QStringList& arguments);

// main's arguments as a list, before any QCoreApplication exists.
QStringList rawArguments(int argc, char* argv[]);

}  // namespace quimbra::window
