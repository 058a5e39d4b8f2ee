#pragma once
// The eight kinds of question, one line each: the denominator and the row
// that draws it, how the unit and the numerator are drawn, the extra reseeds
// and the border the row gets when it is shown.

#include <array>
#include <optional>

#include "game/colour.h"

namespace quimbra {

// factor x Int(times x r + plus) + add, for one fresh random r.
struct Draw {
    int factor;
    int times;
    int plus;
    int add;
};

enum class NumeratorReseed {
    none,
    afterAccepted,  // once, with the accepted numerator
    beforeEach,     // before every numerator draw, with the last numerator
};

struct QuestionKind {
    int denominator;
    int row;  // of the fraction bar, Shape1 ... Shape8
    Draw unit;
    bool unitBelowTwoRedrawn;
    Draw numerator;
    NumeratorReseed reseed;
    std::optional<Colour> border;  // set on every shown piece; else the row keeps its own
};

inline constexpr std::array<QuestionKind, 8> questionKinds{{
    {4, 1, {2, 5, 0, 0}, false, {1, 4, 0, 1}, NumeratorReseed::none, colours::black},
    {3, 2, {2, 5, 1, 0}, false, {1, 3, 0, 1}, NumeratorReseed::none, colours::windowText},
    {5, 3, {1, 5, 1, 0}, true, {1, 4, 0, 2}, NumeratorReseed::afterAccepted, std::nullopt},
    {6, 4, {2, 5, 1, 0}, true, {1, 5, 0, 2}, NumeratorReseed::afterAccepted, colours::windowText},
    {7, 5, {2, 6, 1, 0}, true, {1, 5, 0, 2}, NumeratorReseed::afterAccepted, std::nullopt},
    {8, 6, {2, 7, 1, 0}, true, {1, 8, 0, 1}, NumeratorReseed::beforeEach, std::nullopt},
    {9, 7, {2, 8, 1, 0}, true, {1, 9, 0, 1}, NumeratorReseed::beforeEach, std::nullopt},
    {10, 8, {2, 9, 1, 0}, true, {1, 9, 0, 1}, NumeratorReseed::beforeEach, std::nullopt},
}};

// Kinds are numbered from 1.
constexpr const QuestionKind& questionKind(int kind) {
    return questionKinds.at(static_cast<std::size_t>(kind - 1));
}

}  // namespace quimbra
