#pragma once
// What the game and the teacher's window share as programs: the title and
// Qt's own translations; and how the game's messages keep a path whole.

#include <QRegularExpression>
#include <QString>

namespace quimbra::window {

// The application's title, shown by dialogs that have none of their own.
inline constexpr const char* applicationTitle = "Quimbra";

// Qt's own translations of its dialog buttons for the system's language;
// Italian, the game's language, when none exists for it. Returns whether one
// was installed.
bool installQtTranslations();

// The text with every drive's colon ("C:\") joined to what follows: a
// message box would otherwise break a long path's line after "C:".
inline QString keepPathsWhole(QString text) {
    // A word joiner: the line breaker allows a break between ':' and '\'.
    static const QRegularExpression drive(QStringLiteral("\\b([A-Za-z]:)(?=\\\\)"));
    return text.replace(drive, QStringLiteral("\\1\u2060"));
}

}  // namespace quimbra::window
