// Quimbra: the fractions game. One window; its switches are read in command_line.cpp.

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QInputDevice>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

#include <random>

#include "board/board_layout.h"
#include "board/qt_platform.h"
#include "board/session.h"
#include "game/random_source.h"
#include "records/record_files.h"
#include "records/settings_file.h"
#include "register/class_sheet_window.h"
#include "window/application.h"
#include "window/command_line.h"
#include "window/read_aloud.h"

int main(int argc, char* argv[]) {
    // Only the application name: a display name would be appended to the
    // window's title on some desktops.
    QApplication::setApplicationName(quimbra::window::applicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(QUIMBRA_VERSION));
    // Read once before Qt starts, for what must be known by then; again once
    // Qt's translations are in, for the help's own words.
    const quimbra::window::CommandLine beforeQt =
        quimbra::window::readCommandLine(quimbra::window::rawArguments(argc, argv));
#ifndef _WIN32
    // --help and --version are answered before Qt looks for a display, so
    // they work where there is none (a terminal, a package's checks).
    if (beforeQt.endsAtOnce()) {
        // Qt's core only: enough for its translations of the help's own words.
        QCoreApplication core(argc, argv);
        quimbra::window::installQtTranslations();
        const auto early =
            quimbra::window::readCommandLine(quimbra::window::rawArguments(argc, argv));
        if (early.endsAtOnce() && early.exitCode == 0) {
            std::fputs(early.message.toLocal8Bit().constData(), stdout);
            return 0;
        }
    }
#endif
#ifdef _WIN32
    // The teacher's window draws with FreeType: Windows' own engine names a
    // face by its unique ID, which some families share between regular and
    // bold, and the class sheet's PDF then embeds one of them for every line.
    // FreeType names a face by its file. A platform the user chose stays, and
    // what the window opens does not inherit ours.
    const bool freetype = beforeQt.classSheet && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (freetype) {
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
    }
#endif
    QApplication app(argc, argv);
#ifdef _WIN32
    if (freetype) {
        qunsetenv("QT_QPA_PLATFORM");
    }
#endif
    // Before the switches are read: the help's own words are Qt's.
    quimbra::window::installQtTranslations();
    const quimbra::window::CommandLine commandLine =
        quimbra::window::readCommandLine(QApplication::arguments());
    if (commandLine.endsAtOnce()) {
#ifdef _WIN32
        // A Windows program without a console has nowhere else to say it.
        // The help's columns line up only unwrapped (a message box wraps a
        // text wider than half the screen) and in a fixed-width face, which
        // Wine may know by another name than Windows' own.
        QDialog help;
        help.setWindowTitle(QApplication::applicationName());
        auto* text = new QLabel(commandLine.message, &help);
        text->setTextFormat(Qt::PlainText);
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setFamilies({fixed.family(), QStringLiteral("Courier New"),
                           QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
        fixed.setStyleHint(QFont::TypeWriter);
        text->setFont(fixed);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &help);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &help, &QDialog::accept);
        auto* layout = new QVBoxLayout(&help);
        layout->addWidget(text);
        layout->addWidget(buttons);
        help.exec();
#else
        std::fputs(commandLine.message.toLocal8Bit().constData(),
                   commandLine.exitCode == 0 ? stdout : stderr);
#endif
        return commandLine.exitCode;
    }
    namespace records = quimbra::records;
    // Read once: the records folder, the class sheet and reading aloud.
    const records::Settings settings = records::technicianSettings();
    if (commandLine.classSheet) {
        if (!settings.unreadable.empty()) {
            // No records folder can be known: any sheet shown would be
            // another folder's, or none, with nothing said.
            QMessageBox::warning(nullptr, QString::fromUtf8(quimbra::teacher::classSheetTitle),
                                 QString::fromStdString(settings.unreadable));
            return 1;
        }
        records::RecordFiles storage(settings);
        // The technician may have turned the sheet off (ClassSheet = 0,
        // class-sheet = no): the window then says why.
        quimbra::teacher::ClassSheetWindow sheet(
            QString::fromStdString(storage.GetSystemDir()), QDate::currentDate(),
            QString::fromStdString(records::classSheetOffReason(settings)));
        sheet.show();
        return QApplication::exec();
    }
    // The dialogs before the first window and between two games must not end
    // the program; the window's own close does.
    QApplication::setQuitOnLastWindowClosed(false);

    std::random_device device;
    quimbra::MixingRandom random((static_cast<std::uint64_t>(device()) << 32) ^ device());
    records::RecordFiles storage(settings);
    records::GameRecords gameRecords(storage);

    using quimbra::window::QtPlatform;
    using quimbra::window::Session;
    QtPlatform platform;
    Session session(platform, random, gameRecords);
    // A whiteboard: started for one, or a touch screen that Qt can tell.
    const QList<const QInputDevice*> devices = QInputDevice::devices();
    platform.setWhiteboard(commandLine.whiteboard ||
                           std::any_of(devices.begin(), devices.end(), [](const QInputDevice* d) {
                               return d->type() == QInputDevice::DeviceType::TouchScreen;
                           }));
    if (commandLine.whiteboard) {
        // The first prompt comes before the window: drawn at the factor the
        // board will fill the screen with.
        session.setFillsScreen(true);
        platform.setDialogScale(
            quimbra::window::fillingFactor(QGuiApplication::primaryScreen()->size()));
    }
    // The pupil turns reading aloud on from the menu; the teacher with
    // --voce, the technician in the settings. The voice is made at its
    // first text, once the name prompt is on screen.
    session.setReadAloud(commandLine.readAloud || settings.readAloud);
    quimbra::window::LateVoice voice([&session, rate = settings.readAloudRate] {
        std::unique_ptr<quimbra::window::ReadAloud> made = quimbra::window::makeSystemVoice(rate);
        QObject::connect(made.get(), &quimbra::window::ReadAloud::trouble, &session,
                         &Session::setVoiceTrouble);
        return made;
    });
    platform.setVoice(&voice);
    QObject::connect(&platform, &QtPlatform::dialogShown, &session, [&voice] { voice.allow(); });
    QObject::connect(&platform, &QtPlatform::endRequested, &session, &Session::end);
    QObject::connect(&platform, &QtPlatform::reloadRequested, &session, &Session::reload);
    QObject::connect(&session, &Session::windowChanged, &platform, &QtPlatform::setWindow);
    // The board is built behind the name prompt, once the prompt is on screen.
    QObject::connect(&platform, &QtPlatform::dialogShown, &session, &Session::buildWindow);

    // Loading opens the name prompt: run it inside the event loop so that an
    // end requested at any point leaves it.
    QTimer::singleShot(0, &session, &Session::begin);
    return QApplication::exec();
}
