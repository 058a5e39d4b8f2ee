#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/game_rig.h"

namespace quimbra::testing {
namespace {

// Each tick lowers the clock by one second, borrowing so that 60 never shows.
TEST(Countdown, TickTable) {
    GameRig rig;
    rig.start();
    ASSERT_EQ(rig.controls.lblconto.caption, "00:15:00");
    struct Row {
        int tick;
        std::string text;
        int secondsLeft;
    };
    const std::vector<Row> table = {{1, "00:14:59", 899},
                                    {60, "00:14:00", 840},
                                    {61, "00:13:59", 839},
                                    {841, "00:00:59", 59},
                                    {900, "00:00:00", 0}};
    int done = 0;
    for (const Row& row : table) {
        rig.ticks(row.tick - done);
        done = row.tick;
        EXPECT_EQ(rig.controls.lblconto.caption, row.text) << "tick " << row.tick;
        EXPECT_EQ(rig.game->state().secondsLeft, row.secondsLeft) << "tick " << row.tick;
    }
    EXPECT_TRUE(rig.controls.timer1Enabled);
    EXPECT_EQ(rig.platform.dialogs.size(), 2U) << "only the name prompt and the greeting so far";
}

// Tick 901: confirm, "Tempo scaduto", confirm, stop and beep; a Yes ends the game there and then.
TEST(Countdown, EndOfTimeSequence) {
    struct Case {
        const char* name;
        std::vector<Answer> answers;       // to the confirmations, in order
        std::vector<std::string> prompts;  // every dialog after the greeting
        int beeps;
        bool over;
        bool timerEnabled;
    };
    const std::string farewell = "Ciao a presto. Ore 0";
    const std::vector<Case> cases = {
        {"no, no",
         {Answer::no, Answer::no},
         {confirmPrompt, "Tempo scaduto", confirmPrompt},
         1,
         false,
         false},
        {"yes", {Answer::yes}, {confirmPrompt, farewell}, 0, true, true},
        {"no, yes",
         {Answer::no, Answer::yes},
         {confirmPrompt, "Tempo scaduto", confirmPrompt, farewell},
         0,
         true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameRig rig;
        rig.start();
        rig.ticks(900);
        rig.platform.expectMessage(confirmPrompt, c.answers[0]);
        if (c.answers[0] == Answer::no) {
            rig.platform.expectMessage("Tempo scaduto").expectMessage(confirmPrompt, c.answers[1]);
        }
        if (c.over) {
            rig.platform.expectMessage(farewell);
        }
        rig.game->tick();
        rig.platform.verifyDone();

        std::vector<std::string> shown;
        for (std::size_t i = 2; i < rig.platform.dialogs.size(); ++i) {
            shown.push_back(rig.platform.dialogs[i].prompt);
        }
        EXPECT_EQ(shown, c.prompts);
        EXPECT_EQ(rig.platform.beeps, c.beeps);
        EXPECT_EQ(rig.game->over(), c.over);
        EXPECT_EQ(rig.platform.endCalls, c.over ? 1 : 0);
        EXPECT_EQ(rig.controls.timer1Enabled, c.timerEnabled);
        EXPECT_EQ(rig.controls.lblconto.caption, "00:00:00");
        EXPECT_EQ(rig.records.rows.size() == 1 && rig.records.rows[0].played == "15:00", c.over);
        // "Tempo scaduto" is an OK box under the application title.
        for (const Dialog& d : rig.platform.dialogs) {
            if (d.prompt == "Tempo scaduto") {
                EXPECT_EQ(d.style, boxes::okOnly);
                EXPECT_EQ(d.title, "");
            }
        }
    }
}

// While a dialog of the game is open the clock waits and nothing else opens.
TEST(Countdown, TicksNeverStackDialogs) {
    GameRig rig;
    rig.start();
    rig.ticks(900);
    const auto duringConfirmation = [&] {
        EXPECT_TRUE(rig.game->inDialog());
        rig.ticks(5);
        rig.game->clickExit();
        rig.game->pressEnter();
        EXPECT_EQ(rig.controls.lblconto.caption, "00:00:00");
    };
    rig.platform.expectMessage(confirmPrompt, Answer::no, duringConfirmation)
        .expectMessage("Tempo scaduto", Answer::ok, [&] { rig.ticks(3); })
        .expectMessage(confirmPrompt, Answer::no, duringConfirmation);
    rig.game->tick();
    rig.platform.verifyDone();
    EXPECT_FALSE(rig.game->inDialog());
    EXPECT_EQ(rig.platform.beeps, 1);

    // Expired: later ticks do nothing, and the game goes on.
    const std::size_t shown = rig.platform.dialogs.size();
    rig.ticks(10);
    EXPECT_EQ(rig.platform.dialogs.size(), shown);
    EXPECT_EQ(rig.platform.beeps, 1);
}

// The clock's expiry does not stop the questions: answers are still judged.
TEST(Countdown, AnswersJudgedAfterExpiry) {
    GameRig rig;
    rig.start();
    rig.ticks(900);
    rig.platform.expectMessage(confirmPrompt, Answer::no)
        .expectMessage("Tempo scaduto")
        .expectMessage(confirmPrompt, Answer::no);
    rig.game->tick();
    rig.answer(true);
    rig.answer(false);
    EXPECT_EQ(rig.game->state().correct, 1);
    EXPECT_EQ(rig.game->state().wrong, 1);
    EXPECT_EQ(rig.controls.lblScore2.caption, "2");
}

}  // namespace
}  // namespace quimbra::testing
