#include "game/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace quimbra {

double wholePart(double x) {
    return std::floor(x);
}

namespace {

double roundHalfEven(double x) {
    // Doubles this large are whole already (and x + 0.5 would not be exact).
    if (!(std::fabs(x) < 4503599627370496.0)) {
        return x;
    }
    // floor, + 0.5, + 1 and the comparisons are exact, so no rounding mode
    // of the process can move the result (nearbyint follows the mode).
    const double below = std::floor(x);
    const double half = below + 0.5;
    if (x < half) {
        return below;
    }
    if (x > half) {
        return below + 1.0;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

}  // namespace

std::optional<std::int16_t> toInt16(double x) {
    if (std::isnan(x)) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(x);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

std::string numberToText(long long value) {
    return std::to_string(value);
}

std::string formatPattern(double value, std::string_view pattern) {
    const double rounded = roundHalfEven(value);
    const bool negative = rounded < 0;
    // to_chars prints every whole double exactly and ignores the process
    // locale (a window toolkit may set one with digit grouping).
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded),
                                       std::chars_format::fixed, 0);
    std::string digits(buffer, written.ptr);
    if (pattern == "00" && digits.size() < 2) {
        digits.insert(0, 2 - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
}

double textToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    const auto isDigit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    // The mantissa's decimal order of magnitude (digits before the point, or
    // minus the zeros after it), used below only to tell overflow from underflow.
    const std::size_t start = i;
    long order = 0;
    bool nonZeroSeen = false;
    bool anyDigit = false;
    while (isDigit(i)) {
        nonZeroSeen = nonZeroSeen || text[i] != '0';
        order += nonZeroSeen ? 1 : 0;
        ++i;
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (isDigit(i)) {
            if (!nonZeroSeen && text[i] == '0') {
                --order;
            }
            nonZeroSeen = nonZeroSeen || text[i] != '0';
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    // An exponent counts only when digits follow it: "12e" is 12.
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        bool negativeExponent = false;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            negativeExponent = text[k++] == '-';
        }
        long exponent = 0;
        if (isDigit(k)) {
            while (isDigit(k)) {
                exponent = std::min(exponent * 10 + (text[k++] - '0'), 1000000L);
            }
            end = k;
            order += negativeExponent ? -exponent : exponent;
        }
    }
    // from_chars reads the C format whatever the process locale, unlike strtod,
    // which a window toolkit's locale would make stop at the decimal point.
    // It takes no '+', so the sign is applied here.
    double value = 0.0;
    const char* first = text.data() + start;
    const std::errc error = std::from_chars(first, text.data() + end, value).ec;
    if (error == std::errc::result_out_of_range) {
        value = nonZeroSeen && order > 0 ? HUGE_VAL : 0.0;
    } else if (error != std::errc{}) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace quimbra
