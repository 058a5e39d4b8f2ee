// Text to number on arbitrary text: never NaN, and what record files and
// answer boxes add around a number (leading blanks, a line end) changes nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = quimbra::textToNumber(text);
    if (std::isnan(value) || quimbra::textToNumber(text + "\r\n") != value ||
        quimbra::textToNumber(" \t " + text) != value) {
        std::abort();
    }
    return 0;
}
