#include "game/question_generator.h"

#include "game/numbers.h"

namespace quimbra {
std::int16_t QuestionGenerator::intOf(double x) {
    // Every value the generator rounds lies far inside the 16-bit range.
    return toInt16(wholePart(x)).value_or(0);
}

std::int16_t QuestionGenerator::drawUnit() {
    const double r = random_.next();
    switch (state_.kind) {
        case 1: return static_cast<std::int16_t>(2 * intOf(5 * r));
        case 2: return static_cast<std::int16_t>(2 * intOf(5 * r + 1));
        case 3: return intOf(5 * r + 1);
        case 4: return static_cast<std::int16_t>(2 * intOf(5 * r + 1));
        case 5: return static_cast<std::int16_t>(2 * intOf(6 * r + 1));
        case 6: return static_cast<std::int16_t>(2 * intOf(7 * r + 1));
        case 7: return static_cast<std::int16_t>(2 * intOf(8 * r + 1));
        default: return static_cast<std::int16_t>(2 * intOf(9 * r + 1));
    }
}

std::int16_t QuestionGenerator::drawNumerator() {
    const double r = random_.next();
    switch (state_.kind) {
        case 1: return static_cast<std::int16_t>(intOf(4 * r) + 1);
        case 2: return static_cast<std::int16_t>(intOf(3 * r) + 1);
        case 3: return static_cast<std::int16_t>(intOf(4 * r) + 2);
        case 4: return static_cast<std::int16_t>(intOf(5 * r) + 2);
        case 5: return static_cast<std::int16_t>(intOf(5 * r) + 2);
        case 6: return static_cast<std::int16_t>(intOf(8 * r) + 1);
        case 7: return static_cast<std::int16_t>(intOf(9 * r) + 1);
        default: return static_cast<std::int16_t>(intOf(9 * r) + 1);
    }
}

QuestionGenerator::Drawn QuestionGenerator::drawQuestionOfKind(int rowPieces) {
    Drawn d;
    random_.reseed(d.unit);  // the fresh unit, 0
    const int kind = state_.kind;
    for (;;) {
        d.unit = drawUnit();
        if (kind != 1 && kind != 2 && d.unit < 2) {
            continue;
        }
        if (kind >= 6) {
            // 0 on the first attempt, the rejected numerator on later ones.
            random_.reseed(d.numerator);
        }
        d.numerator = drawNumerator();
        if (d.numerator < 2) {
            d.numerator = static_cast<std::int16_t>(d.numerator + 1);
        }
        state_.denominator = static_cast<std::int16_t>(rowPieces);
        if (d.numerator == rowPieces) {
            continue;
        }
        break;
    }
    if (kind >= 3 && kind <= 5) {
        random_.reseed(d.numerator);
    }
    return d;
}

void QuestionGenerator::poseQuestion() {
    controls_.txtAnswer.clear();
    controls_.lblMessage.caption.clear();
    state_.kind = static_cast<std::int16_t>(intOf(1000.0 * random_.next()) + 1);
    controls_.Lblmisura.caption.clear();
    for (state_.piece = 1; state_.piece <= 9; ++state_.piece) {
        ShapeRow& r = controls_.Shape(state_.piece);
        for (state_.rowPiece = 1; state_.rowPiece <= r.count(); ++state_.rowPiece) {
            r(state_.rowPiece).visible = false;
            r(state_.rowPiece).fill = colours::cyan;
        }
    }
    random_.reseed(state_.kind);
    state_.kind = intOf(8.0 * random_.next() + 1.0);

    // Kind k draws on row k, whose piece count is the kind's denominator.
    ShapeRow& row = controls_.Shape(state_.kind);
    const int d = row.count();
    const Drawn drawn = drawQuestionOfKind(d);

    for (state_.rowPiece = 1; state_.rowPiece <= d; ++state_.rowPiece) {
        Piece& p = row(state_.rowPiece);
        p.visible = true;
        if (state_.kind == 1) {
            p.border = colours::black;
        } else if (state_.kind == 2 || state_.kind == 4) {
            p.border = colours::windowText;
        }
    }
    for (state_.rowPiece = 1; state_.rowPiece <= drawn.numerator; ++state_.rowPiece) {
        row(state_.rowPiece).fill = colours::lightGreen;
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
