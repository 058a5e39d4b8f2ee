#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "board/session.h"
#include "game/game.h"
#include "game/spoken_text.h"
#include "records/record_files.h"
#include "support/fake_records.h"
#include "support/recording_random.h"
#include "support/scripted_platform.h"
#include "window/read_aloud.h"

namespace quimbra::window {
namespace {

const std::string greeting = " Anna vediamo se sei un vero campione  ";
const std::string confirm = "Vuoi veramente lasciarmi  ?";

// A voice that keeps what it was given, "(stop)" for a stop.
struct FakeVoice final : Voice {
    std::vector<std::string> heard;
    void say(const std::string& text) override { heard.push_back(text); }
    void stop() override { heard.emplace_back("(stop)"); }
};

// A scripted platform whose end and new game reach the session, and whose
// texts reach the voice, as the Qt platform's do.
class SessionPlatform final : public quimbra::testing::ScriptedPlatform {
  public:
    Session* session = nullptr;
    FakeVoice voice;
    void say(const std::string& text) override { voice.say(text); }
    void stopSaying() override { voice.stop(); }
    void endProgram() override {
        ScriptedPlatform::endProgram();
        session->end();
    }
    void reloadWindow() override {
        ScriptedPlatform::reloadWindow();
        session->reload();
    }
};

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.session = &session;
        records.scoreFile = "";
        records.nameFile = "";
        platform.expectInput("Come ti chiami?", "Anna").expectMessage(greeting);
        session.begin();
        ASSERT_NE(session.window(), nullptr);
        window = session.window();
        QApplication::setActiveWindow(window);
    }
    Tavola& w() { return *window; }
    Controls& model() { return *session.controls(); }
    int base() { return session.game()->state().base; }

    SessionPlatform platform;
    quimbra::testing::RecordingRandom random;
    quimbra::testing::FakeRecords records;
    quimbra::records::GameRecords keeper{records};
    Session session{platform, random, keeper};
    Tavola* window = nullptr;
};

// A whole turn with real keys: the answer typed and Enter judge it, Enter
// again asks the next question; the window shows what the game decided.
TEST_F(SessionTest, EnterJudgesTheAnswerThenAsksTheNextQuestion) {
    EXPECT_TRUE(w().isVisible());
    EXPECT_EQ(w().focusWidget(), w().txtAnswer());
    EXPECT_FALSE(w().cmdNext()->isEnabled());

    struct Turn {
        bool right;
        QColor colour;
    };
    const Turn turns[] = {{true, QColor(0, 0, 255)}, {false, QColor(255, 0, 0)}};
    for (const Turn& turn : turns) {
        const int expected = base();
        QTest::keyClicks(w().txtAnswer(), QString::number(turn.right ? expected : expected + 1));
        QTest::keyClick(w().txtAnswer(), Qt::Key_Return);
        QLabel* message = w().label("lblMessage");
        EXPECT_EQ(message->text().toStdString(), turn.right
                                                     ? "Esatto, \u00e8 incredibile!!!"
                                                     : "Sbagliato!! " + std::to_string(expected));
        EXPECT_EQ(message->palette().color(QPalette::Text), turn.colour);
        EXPECT_TRUE(w().cmdNext()->isEnabled());
        EXPECT_EQ(w().focusWidget(), w().cmdNext());

        QTest::keyClick(w().cmdNext(), Qt::Key_Return);
        EXPECT_EQ(message->text(), "");
        EXPECT_FALSE(w().cmdNext()->isEnabled());
        EXPECT_EQ(w().focusWidget(), w().txtAnswer());
        EXPECT_EQ(w().txtAnswer()->text(), "");
    }
    EXPECT_EQ(w().label("lblScore")->text(), "1");
    EXPECT_EQ(w().label("lblScore1")->text(), "1");
    EXPECT_EQ(w().label("lblScore2")->text(), "2");
}

// Enter on the focused exit button asks to leave; No keeps the game as it was.
TEST_F(SessionTest, EnterOnTheExitButtonAsksToLeave) {
    QTest::keyClicks(w().txtAnswer(), "12");
    QTest::keyClick(w().txtAnswer(), Qt::Key_Tab);
    ASSERT_EQ(w().focusWidget(), w().cmdExit());
    platform.expectMessage(confirm, Answer::no);
    QTest::keyClick(w().cmdExit(), Qt::Key_Return);
    ASSERT_FALSE(platform.dialogs.empty());
    EXPECT_EQ(platform.dialogs.back().style, boxes::yesNoQuestionDefaultNo);
    EXPECT_EQ(platform.dialogs.back().title, "Uscire dal programma");
    EXPECT_TRUE(w().isVisible());
    EXPECT_EQ(model().txtAnswer, "12");
    EXPECT_TRUE(w().timer1().isActive());
}

// Reading aloud, turned on from the menu: the question (again by F2 and by
// the loudspeaker), the verdict, each dialog as it opens, and after a new
// game the name prompt, the greeting and the new question; off, silence.
TEST_F(SessionTest, ReadingAloudFollowsTheGameInOrder) {
    EXPECT_FALSE(w().speaker()->isVisible());
    QTest::keyClick(&w(), Qt::Key_F2);
    EXPECT_TRUE(platform.voice.heard.empty());

    w().readAloudAction()->trigger();
    EXPECT_TRUE(w().speaker()->isVisible());
    EXPECT_TRUE(w().readAloudAction()->isChecked());
    const std::string question = spokenQuestion(model());
    QTest::keyClick(w().txtAnswer(), Qt::Key_F2);
    QTest::mouseClick(w().speaker(), Qt::LeftButton);
    QTest::keyClicks(w().txtAnswer(), QString::number(base() + 1));
    QTest::keyClick(w().txtAnswer(), Qt::Key_Return);
    const std::string verdict = "Sbagliato, la risposta era " + numberInWords(base()) + ".";
    platform.expectMessage(confirm, Answer::no);
    QTest::mouseClick(w().cmdExit(), Qt::LeftButton);
    platform.expectInput("Come ti chiami?", "Anna").expectMessage(greeting);
    w().newGameAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(session.loads(), 2, 2000);
    window = session.window();
    EXPECT_TRUE(w().speaker()->isVisible());
    const std::string next = spokenQuestion(model());
    w().readAloudAction()->trigger();
    QTest::keyClick(w().txtAnswer(), Qt::Key_F2);

    const std::vector<std::string> expected{question,
                                            question,
                                            question,
                                            verdict,
                                            spokenText(confirm),
                                            "Come ti chiami?",
                                            spokenText(greeting),
                                            next,
                                            "(stop)"};
    EXPECT_EQ(platform.voice.heard, expected);
    EXPECT_FALSE(w().speaker()->isVisible());

    // The voice's trouble stays on the loudspeaker of every later window.
    session.setVoiceTrouble(QString::fromUtf8(noItalianVoice));
    platform.expectInput("Come ti chiami?", "Anna").expectMessage(greeting);
    w().newGameAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(session.loads(), 3, 2000);
    EXPECT_TRUE(session.window()->speaker()->toolTip().endsWith(noItalianVoice));
}

// "NUOVO GIOCO" discards the window and loads a fresh one, name prompt first.
TEST_F(SessionTest, NewGameLoadsAFreshWindow) {
    QTest::keyClicks(w().txtAnswer(), QString::number(base()));
    QTest::keyClick(w().txtAnswer(), Qt::Key_Return);
    ASSERT_EQ(w().label("lblScore")->text(), "1");

    // The name prompt comes before the new window is built.
    platform.expectInput("Come ti chiami?", "Anna", [&] { EXPECT_EQ(session.window(), nullptr); })
        .expectMessage(greeting);
    w().newGameAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(session.loads(), 2, 2000);
    Tavola* fresh = session.window();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->label("lblScore")->text(), "0");
    EXPECT_EQ(fresh->label("lblconto")->text(), "00:15:00");
    EXPECT_EQ(fresh->focusWidget(), fresh->txtAnswer());
    EXPECT_EQ(session.controls()->cmdNextEnabled, false);
}

// Maximized, the board grows as one and the title stays the game's long one;
// restored, the board has its design size again; minimized, the short title.
TEST_F(SessionTest, MaximizingScalesTheBoardAndKeepsTheTitles) {
    const QString title =
        QString(40, u' ') + "Gioca con le frazioni per gli alunni della II Sez.A - Buon carnevale!";
    const QSize design = w().board()->size();
    EXPECT_EQ(w().windowTitle(), title);

    w().showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(w().board()->width() > design.width(), 2000);
    EXPECT_GT(w().scale().factor(), 1.0);
    EXPECT_EQ(w().windowTitle(), title);

    w().showNormal();
    QTRY_COMPARE_WITH_TIMEOUT(w().board()->size(), design, 2000);
    EXPECT_EQ(w().scale().factor(), 1.0);
    EXPECT_EQ(w().windowTitle(), title);

    w().showMinimized();
    QTRY_COMPARE_WITH_TIMEOUT(w().windowTitle(), QString("Sono in attesa...Cliccami!"), 2000);
}

// Leaving closes the window and stops the clock.
TEST_F(SessionTest, LeavingClosesTheWindow) {
    platform.expectMessage(confirm, Answer::yes).expectAnyMessage();
    w().cmdExit()->click();
    EXPECT_EQ(platform.endCalls, 1);
    EXPECT_FALSE(w().isVisible());
    EXPECT_FALSE(w().timer1().isActive());

    // Then the event loop ends with code 0, and no exit is left pending for
    // whatever runs next in this process.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace quimbra::window
