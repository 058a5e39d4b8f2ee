#include "game/question_generator.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "support/scripted_random.h"

namespace quimbra {
namespace {

using testing::drawFor;
using testing::ScriptedRandom;

// Pieces in rows 1 to 9; kind k shows row k, so a kind's D is its row's count.
constexpr std::array<int, 9> rowPieces = {4, 3, 5, 6, 7, 8, 9, 10, 2};
// The border colours the rows have when the window is loaded.
constexpr std::array<Colour, 9> layoutBorders = {
    colours::blue,       colours::darkGreen,  colours::windowText,
    colours::darkBlue,   colours::windowText, colours::black,
    colours::windowText, colours::windowText, colours::windowText};

// What is wrong with the figure after a question of this kind and numerator:
// only the kind's row visible, all of it, its first numerator pieces light
// green and the rest cyan, every hidden piece cyan. Empty when nothing is.
std::string figureProblem(const Controls& controls, int kind, int numerator) {
    for (int row = 1; row <= 9; ++row) {
        const ShapeRow& shape = controls.Shape(row);
        if (shape.count() != rowPieces[static_cast<std::size_t>(row - 1)]) {
            return "row " + std::to_string(row) + " has " + std::to_string(shape.count());
        }
        for (int piece = 1; piece <= shape.count(); ++piece) {
            const Piece& p = shape(piece);
            const Colour fill =
                row == kind && piece <= numerator ? colours::lightGreen : colours::cyan;
            if (p.visible != (row == kind) || p.fill != fill) {
                return "Shape" + std::to_string(row) + "(" + std::to_string(piece) + ")" +
                       (p.visible ? " shown" : " hidden") + ", fill " + std::to_string(p.fill);
            }
        }
    }
    return "";
}

// The draws that pose a question of this kind without a redraw: the draw that
// becomes the reseed value 500, the kind, the unit's and the numerator's.
std::vector<float> scriptFor(int kind, float unitDraw, float numeratorDraw) {
    return {drawFor(499, 1000), drawFor(kind - 1, 8), unitDraw, numeratorDraw};
}

struct Scripted {
    const char* name;
    std::vector<float> draws;        // after the kind's draw
    std::vector<std::string> steps;  // after "draw, reseed 500, draw, reseed 0"
    int kind;
    int unit;
    int numerator;
};

// Each question follows the exact order of draws and reseeds: a draw whose
// whole part + 1 reseeds, the kind's draw, a reseed with 0, then the attempts
// (kind 3 drops a unit of 1 before drawing a numerator; a numerator equal to D
// draws both again; kinds 6-8 reseed with the last numerator before each
// numerator draw; kinds 3-5 reseed once with the accepted numerator).
TEST(QuestionGenerator, DrawsAndReseedsInTheExactOrder) {
    const Scripted cases[] = {
        {"kind 1, unit 0, numerator 1 raised",
         {drawFor(0, 5), drawFor(0, 4)},
         {"draw", "draw"},
         1,
         0,
         2},
        {"kind 1, numerator 4 redrawn",
         {drawFor(2, 5), drawFor(3, 4), drawFor(1, 5), drawFor(2, 4)},
         {"draw", "draw", "draw", "draw"},
         1,
         2,
         3},
        {"kind 2, numerator 3 redrawn",
         {drawFor(4, 5), drawFor(2, 3), drawFor(0, 5), drawFor(1, 3)},
         {"draw", "draw", "draw", "draw"},
         2,
         2,
         2},
        {"kind 3, unit 1 and numerator 5 redrawn",
         {drawFor(0, 5), drawFor(2, 5), drawFor(3, 4), drawFor(4, 5), drawFor(1, 4)},
         {"draw", "draw", "draw", "draw", "draw", "reseed 3"},
         3,
         5,
         3},
        {"kind 4, numerator 6 redrawn",
         {drawFor(1, 5), drawFor(4, 5), drawFor(4, 5), drawFor(3, 5)},
         {"draw", "draw", "draw", "draw", "reseed 5"},
         4,
         10,
         5},
        {"kind 5, largest", {drawFor(5, 6), drawFor(4, 5)}, {"draw", "draw", "reseed 6"}, 5, 12, 6},
        {"kind 6, numerator 8 redrawn, then 1 raised",
         {drawFor(6, 7), drawFor(7, 8), drawFor(0, 7), drawFor(0, 8)},
         {"draw", "reseed 0", "draw", "draw", "reseed 8", "draw"},
         6,
         2,
         2},
        {"kind 7, numerator 9 redrawn",
         {drawFor(7, 8), drawFor(8, 9), drawFor(7, 8), drawFor(7, 9)},
         {"draw", "reseed 0", "draw", "draw", "reseed 9", "draw"},
         7,
         16,
         8},
        {"kind 8, largest", {drawFor(8, 9), drawFor(8, 9)}, {"draw", "reseed 0", "draw"}, 8, 18, 9},
    };
    for (const Scripted& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> draws = {drawFor(499, 1000), drawFor(c.kind - 1, 8)};
        draws.insert(draws.end(), c.draws.begin(), c.draws.end());
        std::vector<std::string> steps = {"draw", "reseed 500", "draw", "reseed 0"};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());

        ScriptedRandom random(draws);
        GameState state;
        Controls controls;
        QuestionGenerator(state, controls, random).poseQuestion();

        EXPECT_EQ(random.steps(), steps);
        EXPECT_EQ(random.drawsLeft(), 0U);
        const int d = rowPieces[static_cast<std::size_t>(c.kind - 1)];
        const int base = c.unit * d;
        const int height = c.unit * c.numerator;
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.denominator, d);
        EXPECT_EQ(state.base, base);
        EXPECT_EQ(state.height, height);
        EXPECT_EQ(controls.Lblmisura.caption, std::to_string(height));
        EXPECT_EQ(controls.lblnum1.caption, std::to_string(base));
        EXPECT_EQ(controls.lblnum2.caption, std::to_string(c.numerator));
        EXPECT_EQ(controls.lbldeno.caption, std::to_string(d));
        EXPECT_EQ(figureProblem(controls, c.kind, c.numerator), "");
    }
}

// A generator that returns 1 (or more, or NaN) still asks one of the eight
// kinds: the draw is held below 1 where it is made, so Int(8r + 1) is at most 8.
TEST(QuestionGenerator, DrawsOfOneOrMoreStayWithinTheKinds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float draw;
        int kind;
        int base;
    } cases[] = {{1.0F, 8, 180}, {7.5F, 8, 180}, {nan, 1, 0}, {-1.0F, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.draw);
        ScriptedRandom random(std::vector<float>(4, c.draw));
        GameState state;
        Controls controls;
        QuestionGenerator(state, controls, random).poseQuestion();
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.base, c.base);
    }
}

// Each kind's denominator is the piece count of the row it shows.
TEST(QuestionKinds, DenominatorIsTheRowsPieceCount) {
    const Controls controls;
    for (const QuestionKind& kind : questionKinds) {
        EXPECT_EQ(controls.Shape(kind.row).count(), kind.denominator) << "row " << kind.row;
    }
}

// A question clears the last turn and hands it to the player: empty answer
// box and verdict, cmdNext disabled, the focus in the answer box.
TEST(QuestionGenerator, ClearsTheTurnAndHandsItToThePlayer) {
    ScriptedRandom random(scriptFor(4, 0.5F, 0.3F));
    GameState state;
    Controls controls;
    controls.txtAnswer = "99";
    controls.lblMessage = {"Sbagliato!! 24", colours::red};
    controls.cmdNextEnabled = true;
    controls.focus = Focus::cmdNext;
    QuestionGenerator(state, controls, random).poseQuestion();

    EXPECT_EQ(controls.txtAnswer, "");
    EXPECT_EQ(controls.lblMessage.caption, "");
    EXPECT_FALSE(controls.cmdNextEnabled);
    EXPECT_EQ(controls.focus, Focus::txtAnswer);
}

// Kinds 1, 2 and 4 set their row's border (black, window text, window text)
// and it stays while the row is hidden; other rows keep their layout border;
// no fill survives into the next question.
TEST(QuestionGenerator, BordersStayFillsNeverCarryOver) {
    const struct {
        int kind;
        float numeratorDraw;
        int numerator;
    } questions[] = {{1, 0.6F, 3}, {3, 0.3F, 3}, {1, 0.3F, 2}, {6, 0.8F, 7}, {4, 0.3F, 3},
                     {2, 0.3F, 2}, {5, 0.9F, 6}, {7, 0.3F, 3}, {8, 0.9F, 9}, {3, 0.7F, 4}};
    GameState state;
    Controls controls;
    std::array<Colour, 9> borders = layoutBorders;
    for (const auto& q : questions) {
        SCOPED_TRACE("kind " + std::to_string(q.kind));
        ScriptedRandom random(scriptFor(q.kind, 0.5F, q.numeratorDraw));
        QuestionGenerator(state, controls, random).poseQuestion();
        ASSERT_EQ(state.kind, q.kind);
        EXPECT_EQ(figureProblem(controls, q.kind, q.numerator), "");
        if (q.kind == 1) {
            borders[0] = colours::black;
        } else if (q.kind == 2 || q.kind == 4) {
            borders[static_cast<std::size_t>(q.kind - 1)] = colours::windowText;
        }
        for (int row = 1; row <= 9; ++row) {
            for (const Piece& p : controls.Shape(row).pieces) {
                EXPECT_EQ(p.border, borders[static_cast<std::size_t>(row - 1)]) << "row " << row;
            }
        }
    }
}

// What a kind's unit and numerator can be and how likely each value is.
struct KindTable {
    int d;
    std::vector<int> units;  // all equally likely
    std::map<int, double> numerators;
};

const KindTable& kindTable(int kind) {
    static const std::array<KindTable, 8> tables = {{
        {4, {0, 2, 4, 6, 8}, {{2, 2.0 / 3}, {3, 1.0 / 3}}},
        {3, {2, 4, 6, 8, 10}, {{2, 1.0}}},
        {5, {2, 3, 4, 5}, {{2, 1.0 / 3}, {3, 1.0 / 3}, {4, 1.0 / 3}}},
        {6, {2, 4, 6, 8, 10}, {{2, 0.25}, {3, 0.25}, {4, 0.25}, {5, 0.25}}},
        {7, {2, 4, 6, 8, 10, 12}, {{2, 0.2}, {3, 0.2}, {4, 0.2}, {5, 0.2}, {6, 0.2}}},
        {8,
         {2, 4, 6, 8, 10, 12, 14},
         {{2, 2.0 / 7}, {3, 1.0 / 7}, {4, 1.0 / 7}, {5, 1.0 / 7}, {6, 1.0 / 7}, {7, 1.0 / 7}}},
        {9,
         {2, 4, 6, 8, 10, 12, 14, 16},
         {{2, 0.25}, {3, 0.125}, {4, 0.125}, {5, 0.125}, {6, 0.125}, {7, 0.125}, {8, 0.125}}},
        {10,
         {2, 4, 6, 8, 10, 12, 14, 16, 18},
         {{2, 2.0 / 9},
          {3, 1.0 / 9},
          {4, 1.0 / 9},
          {5, 1.0 / 9},
          {6, 1.0 / 9},
          {7, 1.0 / 9},
          {8, 1.0 / 9},
          {9, 1.0 / 9}}},
    }};
    return tables.at(static_cast<std::size_t>(kind - 1));
}

// Whether count out of n lies within five standard deviations of n x p.
::testing::AssertionResult likely(const char* what, int count, int n, double p) {
    const double mean = n * p;
    const double sigma = std::sqrt(n * p * (1 - p));
    if (std::fabs(count - mean) <= 5 * sigma + 1e-9) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << what << ": " << count << " of " << n
                                         << ", expected about " << mean << " +/- " << 5 * sigma;
}

// The observed values are exactly the expected ones, each about as often as
// its likelihood says.
void expectDistribution(const std::string& what, const std::map<int, int>& observed,
                        const std::map<int, double>& likelihoods, int n) {
    std::vector<int> seen, expected;
    for (const auto& [value, count] : observed) {
        seen.push_back(value);
    }
    for (const auto& [value, p] : likelihoods) {
        expected.push_back(value);
        const auto found = observed.find(value);
        EXPECT_TRUE(likely((what + " " + std::to_string(value)).c_str(),
                           found == observed.end() ? 0 : found->second, n, p));
    }
    EXPECT_EQ(seen, expected) << what;
}

// Over many questions from a seeded generator: kinds are equally likely; each
// kind's units and numerators take exactly the values of its table with their
// likelihoods; base = unit x D, height = unit x numerator, the captions agree
// and the figure shows exactly the kind's row with the right fills.
TEST(QuestionGenerator, ManyQuestionsFollowTheKindTables) {
    constexpr int questions = 120000;
    MixingRandom random(20240611);
    GameState state;
    Controls controls;
    QuestionGenerator generator(state, controls, random);

    std::array<int, 9> kinds{};
    std::array<std::map<int, int>, 9> units;
    std::array<std::map<int, int>, 9> numerators;
    std::string firstProblem;
    for (int i = 0; i < questions && firstProblem.empty(); ++i) {
        generator.poseQuestion();
        const int kind = state.kind;
        if (kind < 1 || kind > 8) {
            firstProblem = "kind " + std::to_string(kind);
            break;
        }
        const int d = kindTable(kind).d;
        const ShapeRow& row = controls.Shape(kind);
        int numerator = 0;
        for (const Piece& p : row.pieces) {
            numerator += p.fill == colours::lightGreen ? 1 : 0;
        }
        const int unit = state.base / d;
        const auto key = static_cast<std::size_t>(kind);
        ++kinds[key];
        ++units[key][unit];
        ++numerators[key][numerator];

        std::string problem = figureProblem(controls, kind, numerator);
        if (problem.empty() && (state.denominator != d || state.base != unit * d ||
                                state.height != unit * numerator)) {
            problem = "numbers do not agree";
        }
        if (problem.empty() && (numerator < 2 || numerator >= d)) {
            problem = "numerator " + std::to_string(numerator);
        }
        if (problem.empty() && (controls.lbldeno.caption != std::to_string(d) ||
                                controls.lblnum2.caption != std::to_string(numerator) ||
                                controls.lblnum1.caption != std::to_string(state.base) ||
                                controls.Lblmisura.caption != std::to_string(state.height))) {
            problem = "captions do not agree";
        }
        if (!problem.empty()) {
            firstProblem =
                "question " + std::to_string(i) + ", kind " + std::to_string(kind) + ": " + problem;
        }
    }
    ASSERT_EQ(firstProblem, "");

    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        const auto key = static_cast<std::size_t>(kind);
        const KindTable& table = kindTable(kind);
        const int n = kinds[key];
        EXPECT_TRUE(likely("kind", n, questions, 1.0 / 8));

        std::map<int, double> unitLikelihoods;
        for (const int u : table.units) {
            unitLikelihoods[u] = 1.0 / static_cast<double>(table.units.size());
        }
        expectDistribution("unit", units[key], unitLikelihoods, n);
        expectDistribution("numerator", numerators[key], table.numerators, n);
    }
}

}  // namespace
}  // namespace quimbra
