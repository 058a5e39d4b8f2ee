#include "game/answer_checker.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quimbra {
namespace {

const std::string rightVerdict = "Esatto, \u00e8 incredibile!!!";

// A game with 3 right and 5 wrong answers so far, the labels showing them.
struct Scored {
    GameState state;
    Controls controls;
    AnswerChecker checker{state, controls};

    Scored(int base, const std::string& typed, int correct = 3, int wrong = 5) {
        state.base = static_cast<std::int16_t>(base);
        state.correct = static_cast<std::int16_t>(correct);
        state.wrong = static_cast<std::int16_t>(wrong);
        controls.txtAnswer = typed;
        controls.lblScore.caption = std::to_string(correct);
        controls.lblScore1.caption = std::to_string(wrong);
        controls.lblScore2.caption = std::to_string(correct + wrong);
    }
};

// Enter judges the box's number (read from its start, ties to even) against
// base: a right answer counts in lblScore and lblScore2 with the blue verdict
// and leaves lblScore1 alone; a wrong one counts in lblScore1 and lblScore2
// with the red verdict and the right answer. Values outside 16 bits are wrong
// answers and never wrap. Either way cmdNext is enabled and focused.
TEST(AnswerChecker, JudgesTheTypedAnswer) {
    const struct {
        const char* typed;
        int base;
        bool right;
    } cases[] = {
        {"24", 24, true},   {"23", 24, false},  {"", 12, false},      {"", 0, true},
        {"007", 7, true},   {"0", 0, true},     {"9999", 180, false}, {" 12", 12, true},
        {"12.5", 12, true}, {"13.5", 14, true}, {"9e99", 0, false},   {"1e10", 0, false},
        {"-1e9", 0, false}, {"1e99", 0, false}, {"4e4", 0, false},    {"65536", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.typed + "\" against " + std::to_string(c.base));
        Scored game(c.base, c.typed);
        game.controls.lblScore1.caption = "untouched";
        EXPECT_EQ(game.checker.filterKey(keyEnter), keyEnter);

        EXPECT_EQ(game.state.correct, c.right ? 4 : 3);
        EXPECT_EQ(game.state.wrong, c.right ? 5 : 6);
        EXPECT_EQ(game.controls.lblMessage.caption,
                  c.right ? rightVerdict : "Sbagliato!! " + std::to_string(c.base));
        EXPECT_EQ(game.controls.lblMessage.foreColour, c.right ? colours::blue : colours::red);
        EXPECT_EQ(game.controls.lblScore.caption, c.right ? "4" : "3");
        EXPECT_EQ(game.controls.lblScore1.caption, c.right ? "untouched" : "6");
        EXPECT_EQ(game.controls.lblScore2.caption, "9");
        EXPECT_TRUE(game.controls.cmdNextEnabled);
        EXPECT_EQ(game.controls.focus, Focus::cmdNext);
        EXPECT_EQ(game.controls.txtAnswer, c.typed);
        EXPECT_EQ(game.state.base, c.base);
    }
}

// The verdict's colour follows each verdict: blue, red, blue, red.
TEST(AnswerChecker, VerdictColourAlternates) {
    Scored game(30, "", 0, 0);
    const struct {
        const char* typed;
        Colour colour;
        const char* score;
        const char* wrongScore;
        const char* total;
    } turns[] = {{"30", colours::blue, "1", "0", "1"},
                 {"20", colours::red, "1", "1", "2"},
                 {"30", colours::blue, "2", "1", "3"},
                 {"", colours::red, "2", "2", "4"}};
    for (const auto& t : turns) {
        game.controls.txtAnswer = t.typed;
        game.checker.checkAnswer();
        EXPECT_EQ(game.controls.lblMessage.foreColour, t.colour) << t.typed;
        EXPECT_EQ(game.controls.lblScore.caption, t.score);
        EXPECT_EQ(game.controls.lblScore1.caption, t.wrongScore);
        EXPECT_EQ(game.controls.lblScore2.caption, t.total);
    }
}

// Only digits, Backspace and Enter reach the box; every other code, control
// characters (copy 3, paste 22, cut 24, Escape 27) and accented letters
// included, is replaced by 0. Only Enter judges the answer.
TEST(AnswerChecker, KeyFilterPassesOnlyDigitsBackspaceAndEnter) {
    const std::set<int> passing = {8, 13, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    for (int code = -1; code <= 300; ++code) {
        Scored game(12, "12");
        EXPECT_EQ(game.checker.filterKey(code), passing.count(code) != 0 ? code : 0) << code;
        EXPECT_EQ(game.state.correct, code == keyEnter ? 4 : 3) << code;
        EXPECT_EQ(game.controls.cmdNextEnabled, code == keyEnter) << code;
    }
    for (const int code : std::initializer_list<int>{'a', 'Z', ' ', '-', '.', ',', '+', 'e', 232,
                                                     224, 3, 22, 24, 27, 9}) {
        Scored game(12, "12");
        EXPECT_EQ(game.checker.filterKey(code), 0) << code;
    }
}

// Once right plus wrong answers reach 32767 an answer is still judged and its
// verdict shown, but no counter or score label changes, so nothing wraps.
TEST(AnswerChecker, CountersStopAtTheSixteenBitLimit) {
    const struct {
        int correct;
        int wrong;
        const char* typed;
        bool counts;
    } cases[] = {
        {20000, 12766, "24", true}, {20000, 12766, "5", true}, {20000, 12767, "24", false},
        {20000, 12767, "5", false}, {32767, 0, "24", false},   {0, 32767, "5", false},
        {32766, 0, "24", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.correct) + " + " + std::to_string(c.wrong) + ", " + c.typed);
        Scored game(24, c.typed, c.correct, c.wrong);
        const bool right = std::string(c.typed) == "24";
        game.checker.checkAnswer();

        const int correct = c.correct + (c.counts && right ? 1 : 0);
        const int wrong = c.wrong + (c.counts && !right ? 1 : 0);
        EXPECT_EQ(game.state.correct, correct);
        EXPECT_EQ(game.state.wrong, wrong);
        EXPECT_EQ(game.controls.lblScore.caption, std::to_string(correct));
        EXPECT_EQ(game.controls.lblScore1.caption, std::to_string(wrong));
        EXPECT_EQ(game.controls.lblScore2.caption, std::to_string(correct + wrong));
        EXPECT_EQ(game.controls.lblMessage.caption, right ? rightVerdict : "Sbagliato!! 24");
        EXPECT_EQ(game.controls.lblMessage.foreColour, right ? colours::blue : colours::red);
        EXPECT_TRUE(game.controls.cmdNextEnabled);
        EXPECT_EQ(game.controls.focus, Focus::cmdNext);
    }
}

}  // namespace
}  // namespace quimbra
