#include "game/question_generator.h"

#include "game/numbers.h"

namespace quimbra {
namespace {

std::int16_t intOf(double x) {
    // Every value the generator rounds lies far inside the 16-bit range.
    return toInt16(wholePart(x)).value_or(0);
}

}  // namespace

std::int16_t QuestionGenerator::drawValue(const Draw& formula) {
    const double r = random_.next();
    return static_cast<std::int16_t>(formula.factor * intOf(formula.times * r + formula.plus) +
                                     formula.add);
}

QuestionGenerator::Drawn QuestionGenerator::drawQuestionOfKind(const QuestionKind& kind) {
    Drawn d;
    random_.reseed(d.unit);  // the fresh unit, 0
    for (;;) {
        d.unit = drawValue(kind.unit);
        if (kind.unitBelowTwoRedrawn && d.unit < 2) {
            continue;
        }
        if (kind.reseed == NumeratorReseed::beforeEach) {
            // 0 on the first attempt, the rejected numerator on later ones.
            random_.reseed(d.numerator);
        }
        d.numerator = drawValue(kind.numerator);
        if (d.numerator < 2) {
            d.numerator = static_cast<std::int16_t>(d.numerator + 1);
        }
        state_.denominator = static_cast<std::int16_t>(kind.denominator);
        if (d.numerator != kind.denominator) {
            break;
        }
    }
    if (kind.reseed == NumeratorReseed::afterAccepted) {
        random_.reseed(d.numerator);
    }
    return d;
}

void QuestionGenerator::poseQuestion() {
    controls_.txtAnswer.clear();
    controls_.lblMessage.caption.clear();
    state_.kind = static_cast<std::int16_t>(intOf(1000.0 * random_.next()) + 1);
    controls_.Lblmisura.caption.clear();
    for (ShapeRow& row : controls_.shapes) {
        for (Piece& p : row.pieces) {
            p.visible = false;
            p.fill = colours::cyan;
        }
    }
    random_.reseed(state_.kind);
    state_.kind = intOf(8.0 * random_.next() + 1.0);

    const QuestionKind& kind = questionKind(state_.kind);
    const Drawn drawn = drawQuestionOfKind(kind);
    const int d = kind.denominator;
    ShapeRow& row = controls_.Shape(kind.row);
    for (int index = 1; index <= d; ++index) {
        Piece& p = row(index);
        p.visible = true;
        p.border = kind.border.value_or(p.border);
        if (index <= drawn.numerator) {
            p.fill = colours::lightGreen;
        }
    }

    controls_.lblnum1.caption = formatPattern(drawn.unit * d, "##0");
    controls_.lblnum2.caption = formatPattern(drawn.numerator, "#0");
    controls_.lbldeno.caption = formatPattern(d, "#0");

    state_.base = static_cast<std::int16_t>(drawn.unit * d);
    // The product in 16 bits (at most 1,620), the quotient in double precision.
    const auto product = static_cast<std::int16_t>(state_.base * drawn.numerator);
    state_.height = toInt16(static_cast<double>(product) / state_.denominator).value_or(0);
    controls_.Lblmisura.caption = numberToText(state_.height);

    controls_.cmdNextEnabled = false;
    controls_.focus = Focus::txtAnswer;
}

}  // namespace quimbra
