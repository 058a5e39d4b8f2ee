#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/leaving_sequence.h"
#include "support/game_rig.h"

namespace quimbra::testing {
namespace {

// A game in the middle of play: answers given, clock running, a half-typed answer.
void playABit(GameRig& rig) {
    rig.start();
    rig.answerRight(2);
    rig.answer(false);
    rig.ticks(100);
    rig.controls.txtAnswer = "4";
}

// No at the confirmation returns with nothing changed, from cmdExit or Enter on it.
TEST(Leaving, NoChangesNothing) {
    for (const bool byEnter : {false, true}) {
        SCOPED_TRACE(byEnter ? "Enter on cmdExit" : "click");
        GameRig rig;
        playABit(rig);
        if (byEnter) {
            rig.controls.focus = Focus::cmdExit;
        }
        const Controls before = rig.controls;
        const GameState stateBefore = rig.game->state();
        rig.platform.expectMessage(confirmPrompt, Answer::no);
        byEnter ? rig.game->pressEnter() : rig.game->clickExit();
        rig.platform.verifyDone();
        EXPECT_EQ(rig.controls, before);
        EXPECT_EQ(rig.game->state(), stateBefore);
        EXPECT_FALSE(rig.game->over());
        EXPECT_EQ(rig.platform.endCalls, 0);
        EXPECT_TRUE(rig.records.rows.empty()) << "no row for a game that goes on";
        const Dialog& asked = rig.platform.dialogs.back();
        EXPECT_EQ(asked.title, "Uscire dal programma");
        EXPECT_EQ(asked.style, boxes::yesNoQuestionDefaultNo);
    }
}

// The farewell names the seconds left and today's date, literal text first.
TEST(Leaving, Farewell) {
    GameRig rig;
    rig.start();
    rig.ticks(100);
    rig.platform.date = "08/12/2026";
    rig.platform.expectMessage(confirmPrompt, Answer::yes).expectMessage("Ciao a presto. Ore 800");
    rig.game->clickExit();
    const Dialog& farewell = rig.platform.dialogs.back();
    EXPECT_EQ(farewell.title, "Data 08/12/2026");
    EXPECT_EQ(farewell.style, boxes::okOnly);
    EXPECT_TRUE(rig.game->over());
    EXPECT_EQ(rig.platform.endCalls, 1);
    EXPECT_EQ(rig.records.rows.at(0).played, "01:40");
}

// Only a score strictly above the record replaces it; an empty or non-numeric record is 0.
TEST(Leaving, RecordComparison) {
    struct Case {
        std::string record;
        int rightAnswers;
        bool written;
    };
    const std::vector<Case> cases = {
        {"", 0, false},       {"", 1, true},       {"abc\r\n", 0, false}, {"abc\r\n", 1, true},
        {"3\r\n", 3, false},  {"3\r\n", 4, true},  {"  5\r\n", 4, false}, {"12", 2, false},
        {"2.5\r\n", 3, true}, {"-1\r\n", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("record \"" + c.record + "\", score " + std::to_string(c.rightAnswers));
        GameRig rig;
        rig.records.scoreFile = c.record;
        rig.records.nameFile = "Marco\r\n";
        rig.start("Anna");
        rig.answerRight(c.rightAnswers);
        rig.answer(false);
        rig.platform.expectMessage(confirmPrompt, Answer::yes).expectAnyMessage();
        if (c.written) {
            rig.platform.expectMessage(recordKept);
        }
        rig.game->clickExit();
        rig.platform.verifyDone();
        ASSERT_EQ(rig.records.writes.size(), c.written ? 1U : 0U);
        if (c.written) {
            EXPECT_EQ(rig.records.writes[0].recordsDir, rig.records.dir);
            EXPECT_EQ(rig.records.writes[0].score, std::to_string(c.rightAnswers));
            EXPECT_EQ(rig.records.writes[0].name, "Anna");
            EXPECT_EQ(rig.records.scoreFile, std::to_string(c.rightAnswers) + "\r\n");
        } else {
            EXPECT_EQ(rig.records.scoreFile, c.record);
            EXPECT_EQ(rig.records.nameFile, "Marco\r\n");
        }
        // One row for the game, whether or not it beat the record.
        EXPECT_EQ(
            rig.records.rows,
            (std::vector<records::SheetRow>{{"2026-12-08", "10:42", "Anna", c.rightAnswers, 1,
                                             c.rightAnswers + 1, "00:00", c.written, "LAB-07"}}));
        EXPECT_EQ(rig.platform.endCalls, 1);
    }
}

// A failed write is shown with its reason, never as a success, and the game ends.
TEST(Leaving, FailedWriteIsReported) {
    GameRig rig;
    rig.records.scoreFile = "1\r\n";
    const std::string error = "Non riesco a scrivere il file /records/vondu.txt: disco pieno.";
    rig.records.writeError = error;
    rig.records.sheetError = error;  // the folder could not be had: told once for both
    rig.start();
    rig.answerRight(3);
    rig.platform.expectMessage(confirmPrompt, Answer::yes)
        .expectMessage("Ciao a presto. Ore 900")
        .expectAnyMessage();
    rig.game->clickExit();
    EXPECT_EQ(rig.records.writeAttempts, 1);
    const std::string shown = rig.platform.dialogs.back().prompt;
    EXPECT_NE(shown.find(error), std::string::npos);
    EXPECT_EQ(shown.find("Ok ho registrato"), std::string::npos);
    EXPECT_NE(shown.find("record né la partita nel registro della classe."), std::string::npos);
    EXPECT_EQ(rig.records.scoreFile, "1\r\n");
    EXPECT_EQ(rig.platform.endCalls, 1);
    EXPECT_TRUE(rig.game->over());
}

// Only a record written and confirmed is a success. A record that another
// game beat or equalled meanwhile is no record: nothing more is said. A write
// the disk did not confirm, or one that the next start finishes, says so. A
// write that waits for other games shows first that it is recording.
TEST(Leaving, WriteOutcomes) {
    using Outcome = records::WriteResult::Outcome;
    struct Case {
        Outcome outcome;
        std::string otherGameWrote;     // the score file on disk at the end
        std::vector<std::string> said;  // parts of the last message; none: no message
        bool lockBusy = false;
    };
    const std::vector<Case> cases = {
        {Outcome::written, "", {recordKept}},
        {Outcome::written, "9\r\n", {}},
        {Outcome::written, "3\r\n", {}},
        {Outcome::written, "", {recordKept}, true},
        {Outcome::unsure, "", {"Ho registrato il tuo record", "non ha confermato", "Guasto"}},
        {Outcome::pending, "", {"Non sono riuscito a registrare il tuo record.", "Guasto"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        GameRig rig;
        rig.records.writeOutcome = c.outcome;
        rig.records.lockBusy = c.lockBusy;
        // Nothing of the game runs while it waits for the record files.
        rig.platform.whileBusy = [&rig] { rig.ticks(5); };
        rig.start();
        rig.answerRight(3);
        if (!c.otherGameWrote.empty()) {
            rig.records.scoreFile = c.otherGameWrote;
        }
        rig.platform.expectMessage(confirmPrompt, Answer::yes)
            .expectMessage("Ciao a presto. Ore 900");
        if (!c.said.empty()) {
            rig.platform.expectAnyMessage();
        }
        rig.game->clickExit();
        rig.platform.verifyDone();
        EXPECT_EQ(rig.records.writeAttempts, 1);
        for (const std::string& part : c.said) {
            EXPECT_NE(rig.platform.dialogs.back().prompt.find(part), std::string::npos) << part;
        }
        if (c.outcome != Outcome::written) {
            EXPECT_EQ(rig.platform.dialogs.back().prompt.find("Ok ho registrato"),
                      std::string::npos);
        }
        // After the farewell, before the answer.
        using Shown = decltype(rig.platform.busyAfter);
        const Shown busy =
            c.lockBusy ? Shown{{2U, readingRecordText}, {4U, recordingText}} : Shown{};
        EXPECT_EQ(rig.platform.busyAfter, busy);
        EXPECT_EQ(rig.game->state().secondsLeft, 900);
        EXPECT_EQ(rig.platform.endCalls, 1);
    }
}

// After the end no handler changes anything or opens anything.
TEST(Leaving, NothingRunsAfterTheEnd) {
    GameRig rig;
    rig.start();
    rig.platform.expectMessage(confirmPrompt, Answer::yes).expectAnyMessage();
    rig.game->clickExit();
    ASSERT_TRUE(rig.game->over());
    const Controls before = rig.controls;
    const GameState stateBefore = rig.game->state();
    const std::size_t shown = rig.platform.dialogs.size();

    rig.ticks(1000);
    rig.game->load();
    rig.game->activate();
    rig.controls.windowState = WindowState::minimized;
    rig.game->resize();
    rig.controls.windowState = before.windowState;
    rig.game->clickNext();
    rig.game->clickExit();
    rig.game->clickNewGame();
    EXPECT_EQ(rig.game->keyPress('5'), 0);
    EXPECT_EQ(rig.game->keyPress(keyEnter), 0);
    for (const Focus f : {Focus::cmdExit, Focus::cmdNext, Focus::txtAnswer}) {
        rig.controls.focus = f;
        rig.game->pressEnter();
    }
    rig.controls.focus = before.focus;

    EXPECT_EQ(rig.controls, before);
    EXPECT_EQ(rig.game->state(), stateBefore);
    EXPECT_EQ(rig.platform.dialogs.size(), shown);
    EXPECT_EQ(rig.platform.endCalls, 1);
    EXPECT_EQ(rig.platform.reloadCalls, 0);
}

}  // namespace
}  // namespace quimbra::testing
