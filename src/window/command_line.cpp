#include "window/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace quimbra::window {

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
        line.message = parser.errorText() + QLatin1Char('\n') + parser.helpText();
        line.exitCode = 2;
        return line;
    }
    if (parser.isSet(help)) {
        // Before the application exists, Qt has no name for the program.
        line.message = parser.helpText().replace(
            QStringLiteral("<executable_name>"),
            arguments.isEmpty() ? QStringLiteral("quimbra")
                                : arguments.first().section(QLatin1Char('/'), -1));
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
