#include "game/numbers.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace quimbra {

double wholePart(double x) { return std::floor(x); }

std::optional<std::int16_t> toInt16(double x) {
    if (std::isnan(x)) {
        return std::nullopt;
    }
    // nearbyint follows the default rounding mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(x);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

std::string numberToText(long long value) { return std::to_string(value); }

std::string formatPattern(double value, std::string_view pattern) {
    const double rounded = std::nearbyint(value);
    const bool negative = rounded < 0;
    std::string digits = std::to_string(static_cast<long long>(std::fabs(rounded)));
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
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number += text[i++];
    }
    const auto isDigit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    bool anyDigit = false;
    while (isDigit(i)) {
        number += text[i++];
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (isDigit(i)) {
            number += text[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    // An exponent counts only when digits follow it: "12e" is 12.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        std::string exponent = "e";
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            exponent += text[k++];
        }
        if (isDigit(k)) {
            while (isDigit(k)) {
                exponent += text[k++];
            }
            number += exponent;
        }
    }
    // strtod gives +/-HUGE_VAL on overflow and a tiny or zero value on underflow.
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace quimbra
