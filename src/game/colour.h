#pragma once
// Colours as the game's tables give them: 0x00BBGGRR, red in the lowest byte.
// A value with the top bit set names a system colour by its number.

#include <cstdint>

namespace quimbra {

using Colour = std::uint32_t;

namespace colours {
constexpr Colour black = 0x000000;
constexpr Colour white = 0xFFFFFF;
constexpr Colour blue = 0xFF0000;
constexpr Colour darkBlue = 0xC00000;
constexpr Colour red = 0x0000FF;
constexpr Colour green = 0x00FF00;
constexpr Colour darkGreen = 0x00C000;
constexpr Colour cyan = 0xFFFF00;
constexpr Colour magenta = 0xFF00FF;
constexpr Colour purple = 0xC000C0;
constexpr Colour lightGreen = 0x80FF80;  // a filled piece of the fraction bar
constexpr Colour lightYellow = 0xC0FFFF;
constexpr Colour windowBackground = 0x80000005;  // system colour 5
constexpr Colour windowText = 0x80000008;        // system colour 8
constexpr Colour buttonText = 0x80000012;        // system colour 18
}  // namespace colours

constexpr bool isSystemColour(Colour c) {
    return (c & 0x80000000U) != 0;
}
constexpr int systemColourIndex(Colour c) {
    return static_cast<int>(c & 0xFFU);
}
constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFFU);
}
constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFFU);
}
constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFFU);
}

}  // namespace quimbra
