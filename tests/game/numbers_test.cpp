#include "game/numbers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace quimbra {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// The process's rounding modes: the game's rounding must not follow them.
constexpr int roundingModes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};

// Runs check under each rounding mode in turn, then restores the default.
template <typename Check>
void underEveryRoundingMode(Check check) {
    for (const int mode : roundingModes) {
        ASSERT_EQ(std::fesetround(mode), 0);
        SCOPED_TRACE(::testing::Message() << "rounding mode " << mode);
        check();
    }
    std::fesetround(FE_TONEAREST);
}

// Whole part is the largest whole number not above x, also for negatives.
TEST(WholePart, RoundsDownTowardsMinusInfinity) {
    const struct {
        double x;
        double expected;
    } cases[] = {{2.7, 2}, {2.0, 2}, {0.999, 0}, {0.0, 0}, {-0.1, -1}, {-2.3, -3}, {-2.0, -2}};
    for (const auto& c : cases) {
        EXPECT_EQ(wholePart(c.x), c.expected) << c.x;
    }
}

// To 16-bit integer: nearest, ties to even, under every rounding mode of the
// process; a result outside -32768..32767 is an overflow, reported and never
// wrapped.
TEST(ToInt16, RoundsTiesToEvenAndReportsOverflow) {
    const struct {
        double x;
        std::optional<int> expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {2.1, 2},
        {-2.1, -2},
        {2.9, 3},
        {-7.0, -7},
        {32767.0, 32767},
        {32767.4, 32767},
        {32766.5, 32766},
        {32767.5, std::nullopt},  // the tie goes to 32768
        {32768.0, std::nullopt},
        {-32768.0, -32768},
        {-32768.4, -32768},
        {-32768.5, -32768},  // the tie goes to the even -32768, still inside
        {-32768.6, std::nullopt},
        {-32769.5, std::nullopt},
        {65536.0, std::nullopt},  // would wrap to 0
        {1e10, std::nullopt},
        {-1e9, std::nullopt},
        {inf, std::nullopt},
        {-inf, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    underEveryRoundingMode([&] {
        for (const auto& c : cases) {
            const std::optional<std::int16_t> got = toInt16(c.x);
            ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.x;
            if (got) {
                EXPECT_EQ(*got, *c.expected) << c.x;
            }
        }
    });
}

// Number to text: plain decimal digits, "-" before a negative, no blank.
TEST(NumberToText, PlainDigits) {
    const struct {
        long long value;
        const char* expected;
    } cases[] = {{0, "0"},   {7, "7"},         {162, "162"},
                 {-4, "-4"}, {32767, "32767"}, {-32768, "-32768"}};
    for (const auto& c : cases) {
        EXPECT_EQ(numberToText(c.value), c.expected);
    }
}

// "00" pads to two digits; "#0" ... "####0" give the digits without leading
// zeros and zero as "0"; no pattern drops digits or groups them.
TEST(FormatPattern, EveryPatternOnTheGamesValues) {
    const double values[] = {0, 5, 10, 99, 1620};
    const struct {
        const char* pattern;
        const char* expected[5];
    } cases[] = {
        {"00", {"00", "05", "10", "99", "1620"}},  {"#0", {"0", "5", "10", "99", "1620"}},
        {"##0", {"0", "5", "10", "99", "1620"}},   {"###0", {"0", "5", "10", "99", "1620"}},
        {"####0", {"0", "5", "10", "99", "1620"}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(formatPattern(values[i], c.pattern), c.expected[i])
                << c.pattern << " on " << values[i];
        }
    }
}

// Formatting rounds to a whole number first (ties to even, under every
// rounding mode) and never groups digits, however large the value.
TEST(FormatPattern, RoundsAndNeverGroups) {
    const struct {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {2.5, "#0", "2"},           {3.5, "#0", "4"},
        {14.4, "00", "14"},         {0.4, "00", "00"},
        {-0.4, "#0", "0"},          {32767, "####0", "32767"},
        {1234567, "#0", "1234567"}, {1e20, "#0", "100000000000000000000"},
        {2.1, "#0", "2"},           {-2.5, "#0", "-2"},
    };
    underEveryRoundingMode([&] {
        for (const auto& c : cases) {
            EXPECT_EQ(formatPattern(c.value, c.pattern), c.expected) << c.value;
        }
    });
}

// Text to number: the number at the start of the text after leading blanks;
// 0 when there is none; anything else, a line end included, ends it.
TEST(TextToNumber, ReadsTheNumberAtTheStart) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},        {"  12", 12},   {"\t5", 5},     {"007", 7},     {"12abc", 12},
        {"1e3", 1000},  {"1E3", 1000},  {"-4", -4},     {"+8", 8},      {"abc", 0},
        {"-", 0},       {".", 0},       {"3.7", 3.7},   {".5", 0.5},    {"12.", 12},
        {"1e99", 1e99}, {"9e99", 9e99}, {"1e-2", 0.01}, {"12e", 12},    {"12e+", 12},
        {"12\r\n", 12}, {"12\n7", 12},  {"-1e9", -1e9}, {"1e999", inf}, {"-1e999", -inf},
        {"1e-999", 0},  {"0.5e1", 5},   {"1,5", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textToNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

// The reading does not follow the process locale: a window toolkit may set
// the user's locale, in which the decimal point can be a comma.
TEST(TextToNumber, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "it_IT", "de_DE.UTF-8", "de_DE.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            commaLocale = name;
            break;
        }
    }
    if (commaLocale == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const double point = textToNumber("3.7");
    const double comma = textToNumber("1,5");
    const std::string formatted = formatPattern(1234567, "####0");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(point, 3.7) << commaLocale;
    EXPECT_EQ(comma, 1.0) << commaLocale;
    EXPECT_EQ(formatted, "1234567") << commaLocale;
}

}  // namespace
}  // namespace quimbra
