// Draws the window as the child sees it after the first question and after
// a verdict, for the README: screenshot <question.png> <verdict.png>
// [<maximized.png>], the last after maximizing it (under a window manager).
// With QUIMBRA_SHOT_VOCE set, the game reads aloud (to no voice).
// The dialogs are answered by the tool; the records come from a temporary
// directory.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "board/qt_platform.h"
#include "board/session.h"
#include "game/game.h"
#include "game/random_source.h"
#include "records/record_files.h"

namespace {

class AnsweringPlatform final : public quimbra::Platform {
  public:
    std::string inputBox(const std::string&) override { return "Anna"; }
    quimbra::Answer messageBox(const std::string&, quimbra::BoxStyle, const std::string&) override {
        return quimbra::Answer::ok;
    }
    std::string currentDate() override { return "08/12/2026"; }
    double timeOfDay() override { return 36000; }
    quimbra::LocalDateTime localDateTime() override { return {"2026-12-08", "10:00"}; }
    std::string computerName() override { return "LAB-01"; }
    void beep() override {}
    void endProgram() override {}
    void reloadWindow() override {}
};

bool save(QWidget& window, const char* path) {
    QTest::qWait(200);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: screenshot <question.png> <verdict.png> [<maximized.png>]\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(quimbra::window::applicationTitle);
    quimbra::window::installQtTranslations();

    QTemporaryDir dir;
    for (const auto& [file, text] :
         {std::pair{"vondu.txt", "12\r\n"}, {"nvondu.txt", "Luca\r\n"}}) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) < 0) {
            return 1;
        }
    }
    quimbra::records::RecordFiles storage(QDir::toNativeSeparators(dir.path() + "/").toStdString());
    quimbra::MixingRandom random(7);
    AnsweringPlatform platform;
    quimbra::records::GameRecords records(storage);
    quimbra::window::Session session(platform, random, records);
    session.setReadAloud(qEnvironmentVariableIsSet("QUIMBRA_SHOT_VOCE"));
    session.begin();

    quimbra::window::Tavola* window = session.window();
    if (window == nullptr || !save(*window, argv[1])) {
        return 1;
    }
    const int base = session.game()->state().base;
    QTest::keyClicks(window->txtAnswer(), QString::number(base));
    QTest::keyClick(window->txtAnswer(), Qt::Key_Return);
    if (!save(*window, argv[2])) {
        return 1;
    }
    if (argc == 4) {
        const QSize before = window->size();
        window->showMaximized();
        if (!QTest::qWaitFor([&] { return window->size() != before; }, 5000)) {
            std::fprintf(stderr, "the window was not maximized (no window manager?)\n");
            return 1;
        }
        return save(*window, argv[3]) ? 0 : 1;
    }
    return 0;
}
