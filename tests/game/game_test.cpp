#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/game_rig.h"

namespace quimbra::testing {
namespace {

// A new game reloads: nothing written, the old game inert, the fresh one starts from the name.
TEST(GameFlow, NewGame) {
    GameRig rig;
    rig.records.scoreFile = "1\r\n";
    rig.records.nameFile = "Marco\r\n";
    rig.start();
    rig.answerRight(3);
    rig.ticks(50);
    rig.game->clickNewGame();
    EXPECT_EQ(rig.platform.reloadCalls, 1);
    EXPECT_TRUE(rig.game->over());
    EXPECT_EQ(rig.records.writeAttempts, 0);
    EXPECT_TRUE(rig.records.rows.empty()) << "a game thrown away leaves no row";
    EXPECT_EQ(rig.platform.endCalls, 0);

    const Controls oldControls = rig.controls;
    const std::size_t shown = rig.platform.dialogs.size();
    rig.ticks(5);
    rig.game->clickExit();
    rig.game->clickNewGame();
    rig.game->pressEnter();
    EXPECT_EQ(rig.controls, oldControls);
    EXPECT_EQ(rig.platform.dialogs.size(), shown);
    EXPECT_EQ(rig.platform.reloadCalls, 1);

    // What the window does on a reload: fresh controls, a fresh game.
    rig.game.reset();
    rig.controls = Controls{};
    rig.game = std::make_unique<Game>(rig.controls, rig.platform, rig.random, rig.keeper);
    rig.start("Bea");
    EXPECT_EQ(rig.platform.dialogs[shown].prompt, "Come ti chiami?");
    EXPECT_EQ(rig.game->state().correct, 0);
    EXPECT_EQ(rig.controls.lblScore.caption, "0");
    EXPECT_EQ(rig.controls.lblconto.caption, "00:15:00");
    EXPECT_EQ(rig.controls.lblnome1.caption, "Bea");
    EXPECT_EQ(rig.controls.lblpunti.caption, "1\r\n");
    EXPECT_EQ(rig.records.read.size(), 4U) << "both files read again";
}

// Enter: judged once, then the next question; a focused cmdExit takes it first.
TEST(GameFlow, EnterRouting) {
    GameRig rig;
    rig.start();
    rig.controls.txtAnswer = numberToText(rig.game->state().base);
    rig.game->pressEnter();
    EXPECT_EQ(rig.game->state().correct, 1);
    EXPECT_TRUE(rig.controls.cmdNextEnabled);

    // The focus back in the box: still the default button's Enter.
    rig.controls.focus = Focus::txtAnswer;
    EXPECT_EQ(rig.game->keyPress(keyEnter), 0);
    EXPECT_EQ(rig.game->state().correct, 1);
    rig.game->pressEnter();
    EXPECT_EQ(rig.game->state().correct, 1);
    EXPECT_FALSE(rig.controls.cmdNextEnabled);
    EXPECT_EQ(rig.controls.lblMessage.caption, "");
    EXPECT_EQ(rig.controls.focus, Focus::txtAnswer);

    // No question replaces the current one while cmdNext is disabled.
    const GameState posed = rig.game->state();
    rig.game->clickNext();
    EXPECT_EQ(rig.game->state(), posed);

    rig.controls.focus = Focus::cmdExit;
    rig.platform.expectMessage(confirmPrompt, Answer::no);
    rig.game->pressEnter();
    EXPECT_EQ(rig.game->state(), posed);
}

// Keys reach the answer box through the key filter: digits and Backspace only.
TEST(GameFlow, KeysAreFiltered) {
    GameRig rig;
    rig.start();
    for (const int key : std::vector<int>{'0', '9', keyBackspace}) {
        EXPECT_EQ(rig.game->keyPress(key), key);
    }
    for (const int key : std::vector<int>{'a', ' ', '-', '.', 22, 27}) {
        EXPECT_EQ(rig.game->keyPress(key), 0);
    }
    EXPECT_EQ(rig.game->state().correct + rig.game->state().wrong, 0);
}

// Nothing happens before the window has been loaded.
TEST(GameFlow, NothingBeforeLoad) {
    GameRig rig;
    const Controls before = rig.controls;
    rig.ticks(3);
    rig.game->activate();
    rig.game->clickExit();
    rig.game->pressEnter();
    EXPECT_EQ(rig.controls, before);
    EXPECT_TRUE(rig.platform.dialogs.empty());
}

}  // namespace
}  // namespace quimbra::testing
