#include "window/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace quimbra::window {
namespace {

// Qt names the program as it was started (a whole path, from a Windows
// shortcut) or, before the application exists, not at all; the help names it
// as a user types it.
QString helpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    const QString startedAs = QCoreApplication::instance() != nullptr
                                  ? QCoreApplication::arguments().value(0)
                                  : QStringLiteral("<executable_name>");
    const auto at = startedAs.isEmpty() ? -1 : text.indexOf(startedAs);
    if (at >= 0) {
        text.replace(at, startedAs.size(), QStringLiteral("quimbra"));
    }
    return text;
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quimbra: gioca con le frazioni."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra questo aiuto ed esce."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Mostra la versione ed esce."));
    const QCommandLineOption whiteboard(
        QStringLiteral("lavagna"),
        QStringLiteral("Avvia il gioco a tutto schermo, per la lavagna interattiva."));
    const QCommandLineOption classSheet(
        QStringLiteral("registro"),
        QStringLiteral("Apre il registro della classe invece del gioco."));
    const QCommandLineOption readAloud(
        QStringLiteral("voce"),
        QStringLiteral("Legge ad alta voce le domande e i messaggi, per chi legge con fatica."));
    parser.addOptions({help, version, whiteboard, classSheet, readAloud});

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.message = parser.errorText() + QLatin1Char('\n') + helpText(parser);
        line.exitCode = 2;
        return line;
    }
    if (parser.isSet(help)) {
        line.message = helpText(parser);
        return line;
    }
    if (parser.isSet(version)) {
        line.message = QCoreApplication::applicationName() + QLatin1Char(' ') +
                       QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return line;
    }
    line.whiteboard = parser.isSet(whiteboard);
    line.classSheet = parser.isSet(classSheet);
    line.readAloud = parser.isSet(readAloud);
    return line;
}

QStringList rawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace quimbra::window
