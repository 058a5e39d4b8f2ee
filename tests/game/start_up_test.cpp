#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/game_rig.h"

namespace quimbra::testing {
namespace {

// The greeting is a blank, the name and the 34-character phrase; lblnome1 holds the name.
TEST(StartUp, GreetingAndName) {
    struct Case {
        std::string name;
        std::size_t length;
    };
    const std::vector<Case> cases = {{"Anna", 39}, {"", 35}, {"Luca Bianchi", 47}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameRig rig;
        rig.load(c.name);
        ASSERT_EQ(rig.platform.dialogs.size(), 2U);
        const Dialog& prompt = rig.platform.dialogs[0];
        EXPECT_EQ(prompt.kind, Dialog::Kind::input);
        const Dialog& greeting = rig.platform.dialogs[1];
        EXPECT_EQ(greeting.prompt.size(), c.length);
        EXPECT_EQ(greeting.prompt.substr(0, 1 + c.name.size() + 1), " " + c.name + " ");
        EXPECT_EQ(greeting.style, boxes::okOnly);
        EXPECT_EQ(greeting.title, "");
        EXPECT_EQ(rig.controls.lblnome1.caption, c.name);
    }
    GameRig cancelled;
    cancelled.load("");
    EXPECT_EQ(cancelled.platform.dialogs[1].prompt.substr(0, 3), "  v");
}

// After start-up: counters 0, clock 00:15:00 and running, two reseeds from the time of day.
TEST(StartUp, StateAfterLoad) {
    GameRig rig;
    rig.load();
    const GameState& s = rig.game->state();
    EXPECT_EQ(s.correct, 0);
    EXPECT_EQ(s.wrong, 0);
    EXPECT_EQ(s.secondsLeft, 900);
    EXPECT_EQ(s.minutes, 15);
    EXPECT_EQ(rig.controls.lblconto.caption, "00:15:00");
    EXPECT_TRUE(rig.controls.timer1Enabled);
    ASSERT_EQ(rig.random.reseeds.size(), 2U);
    for (const auto& r : rig.random.reseeds) {
        EXPECT_EQ(r.value, rig.platform.time);
        EXPECT_EQ(r.drawsBefore, 0);
    }
}

// Timer1 is disabled, and ticks do nothing, while the name prompt and the greeting are open.
TEST(StartUp, ClockWaitsForGreeting) {
    GameRig rig;
    int checks = 0;
    const auto whileOpen = [&] {
        EXPECT_FALSE(rig.controls.timer1Enabled);
        rig.ticks(3);
        rig.game->clickExit();
        EXPECT_EQ(rig.controls.lblconto.caption, "00.00.00");
        ++checks;
    };
    rig.platform.expectInput("Come ti chiami?", "Anna", whileOpen)
        .expectMessage(greetingFor("Anna"), Answer::ok, whileOpen);
    rig.game->load();
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(rig.controls.lblconto.caption, "00:15:00");
    EXPECT_EQ(rig.platform.dialogs.size(), 2U);
}

// The record labels show the files' whole text; missing files are created empty first.
TEST(StartUp, RecordLabelsShowWholeFiles) {
    struct Case {
        std::optional<std::string> score;
        std::optional<std::string> name;
    };
    const std::vector<Case> cases = {
        {"12\r\n", "Marco\r\n"}, {std::nullopt, std::nullopt}, {"7\r\n", std::nullopt}};
    for (const Case& c : cases) {
        GameRig rig;
        rig.records.scoreFile = c.score;
        rig.records.nameFile = c.name;
        rig.load();
        EXPECT_EQ(rig.records.createdIn, std::vector<std::string>{rig.records.dir});
        EXPECT_EQ(rig.records.read,
                  (std::vector<std::string>{records::scoreFilePath(rig.records.dir),
                                            records::nameFilePath(rig.records.dir)}));
        EXPECT_EQ(rig.controls.lblpunti.caption, c.score.value_or(""));
        EXPECT_EQ(rig.controls.lblnome.caption, c.name.value_or(""));
    }
}

// An unreadable record is reported, the game goes on, and at the end nothing is written.
TEST(StartUp, RecordFailureMeansNoRecordWritten) {
    enum class Fail { create, readScore, readName };
    for (const Fail fail : {Fail::create, Fail::readScore, Fail::readName}) {
        SCOPED_TRACE(static_cast<int>(fail));
        GameRig rig;
        rig.records.scoreFile = "0\r\n";
        rig.records.nameFile = "Marco\r\n";
        const std::string error =
            "Non riesco ad aprire il file /records/vondu.txt: accesso negato.";
        (fail == Fail::create      ? rig.records.createError
         : fail == Fail::readScore ? rig.records.scoreReadError
                                   : rig.records.nameReadError) = error;
        rig.platform.expectInput("Come ti chiami?", "Anna")
            .expectMessage(greetingFor("Anna"))
            .expectAnyMessage();
        rig.game->load();
        rig.game->activate();
        ASSERT_EQ(rig.platform.dialogs.size(), 3U);
        EXPECT_NE(rig.platform.dialogs[2].prompt.find(error), std::string::npos);
        EXPECT_EQ(rig.controls.lblpunti.caption, "");
        EXPECT_EQ(rig.controls.lblnome.caption, "");
        EXPECT_TRUE(rig.controls.timer1Enabled);
        EXPECT_FALSE(rig.controls.cmdNextEnabled) << "the first question is posed";

        rig.answerRight(2);
        rig.platform.expectMessage(confirmPrompt, Answer::yes)
            .expectMessage("Ciao a presto. Ore 900")
            .expectAnyMessage();
        rig.game->clickExit();
        const std::string last = rig.platform.dialogs.back().prompt;
        EXPECT_NE(last.find("record"), std::string::npos);
        EXPECT_NE(last, recordKept);
        EXPECT_EQ(rig.records.writeAttempts, 0);
        EXPECT_EQ(rig.platform.endCalls, 1);
    }
}

// After a failed start-up, leaving says what could not be done, and only when
// the score would have been a record (1 or more), beside the class sheet's
// failure in the same box; with 0 only the latter.
TEST(StartUp, RecordFailureIsNamedAtTheEndOnlyForARecord) {
    struct Case {
        records::Action failed;
        int rightAnswers;
        std::string said;  // "": no message after the farewell
    };
    const std::vector<Case> cases = {
        {records::Action::createFolder, 1, "non sono riuscito a creare la cartella dei record."},
        {records::Action::reachFolder, 1,
         "non sono riuscito a raggiungere la cartella dei record."},
        {records::Action::createFile, 2, "non sono riuscito a creare i file del record."},
        {records::Action::lock, 1, "non sono riuscito a riservare i file del record."},
        {records::Action::sync, 1,
         "non sono riuscito a confermare la scrittura dei file del record sul disco."},
        {records::Action::replace, 1, "non sono riuscito a sostituire i file del record."},
        {records::Action::remove, 1, "non sono riuscito a eliminare un file del record."},
        {records::Action::createFolder, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        GameRig rig;
        rig.records.createError = "Impossibile fare qualcosa.";
        rig.records.createFailed = c.failed;
        rig.records.sheetError = "Disco pieno.";  // the same box, one reason after the other
        rig.platform.expectInput("Come ti chiami?", "Anna")
            .expectMessage(greetingFor("Anna"))
            .expectAnyMessage();
        rig.game->load();
        rig.game->activate();
        rig.answerRight(c.rightAnswers);
        rig.platform.expectMessage(confirmPrompt, Answer::yes)
            .expectMessage("Ciao a presto. Ore 900");
        const std::string said =
            "Non posso registrare il record: all'inizio della partita " + c.said;
        rig.platform.expectMessage(
            (c.said.empty() ? "" : said + "\n") +
            "Non ho potuto scrivere la partita nel registro della classe: Disco pieno.");
        rig.game->clickExit();
        rig.platform.verifyDone();
        EXPECT_EQ(rig.records.writeAttempts, 0);
    }
}

// Only the first activation poses a question; later ones, and a second load, keep it.
TEST(StartUp, ActivationPosesTheFirstQuestionOnly) {
    GameRig rig;
    rig.load();
    rig.game->activate();
    EXPECT_FALSE(rig.controls.cmdNextEnabled);
    EXPECT_EQ(rig.controls.focus, Focus::txtAnswer);
    EXPECT_GE(rig.game->state().kind, 1);
    rig.controls.txtAnswer = "12";
    const Controls before = rig.controls;
    const GameState stateBefore = rig.game->state();
    rig.game->activate();
    rig.game->load();
    rig.game->activate();
    EXPECT_EQ(rig.controls, before);
    EXPECT_EQ(rig.game->state(), stateBefore);
}

// The title follows the window state on every resize.
TEST(StartUp, ResizeTitles) {
    const std::string full =
        std::string(40, ' ') +
        "Gioca con le frazioni per gli alunni della II Sez.A - Buon carnevale!";
    struct Case {
        WindowState state;
        std::string title;
    };
    GameRig rig;
    rig.load();
    for (const Case& c : std::vector<Case>{{WindowState::normal, full},
                                           {WindowState::minimized, "Sono in attesa...Cliccami!"},
                                           {WindowState::maximized, full},
                                           {WindowState::minimized, "Sono in attesa...Cliccami!"},
                                           {WindowState::normal, full}}) {
        rig.controls.windowState = c.state;
        rig.game->resize();
        EXPECT_EQ(rig.controls.title, c.title);
    }
}

}  // namespace
}  // namespace quimbra::testing
