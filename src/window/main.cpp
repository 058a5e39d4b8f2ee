// Quimbra: the fractions game. One window; no command line, no settings.

#include <QApplication>
#include <QTimer>

#include <random>

#include "game/random_source.h"
#include "records/record_files.h"
#include "window/qt_platform.h"
#include "window/session.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Only the application name: a display name would be appended to the
    // window's title on some desktops.
    QApplication::setApplicationName(quimbra::window::applicationTitle);
    // The dialogs before the first window and between two games must not end
    // the program; the window's own close does.
    QApplication::setQuitOnLastWindowClosed(false);
    quimbra::window::installQtTranslations();

    std::random_device device;
    quimbra::MixingRandom random((static_cast<std::uint64_t>(device()) << 32) ^ device());
    quimbra::records::RecordFiles storage;

    quimbra::window::Session* session = nullptr;
    quimbra::window::QtPlatform platform([&session] { session->end(); },
                                         [&session] { session->reload(); });
    quimbra::window::Session running(
        platform, random, storage,
        [&platform](quimbra::window::Tavola* window) { platform.setWindow(window); });
    session = &running;

    // Loading opens the name prompt: run it inside the event loop so that an
    // end requested at any point leaves it.
    QTimer::singleShot(0, &running, [&running] { running.begin(); });
    return QApplication::exec();
}
