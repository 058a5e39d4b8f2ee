#pragma once
// The resource names of the window's pictures.

namespace quimbra::window::pictures {
inline constexpr const char* sea = ":/pictures/sea.svg";
inline constexpr const char* stopwatch = ":/pictures/stopwatch.svg";
inline constexpr const char* nextSmile = ":/pictures/next_smile.svg";
inline constexpr const char* nextStraight = ":/pictures/next_straight.svg";
inline constexpr const char* nextLaugh = ":/pictures/next_laugh.svg";
inline constexpr const char* exitNoEntry = ":/pictures/exit_noentry.svg";
inline constexpr const char* cursorBoy = ":/pictures/cursor_boy.svg";
inline constexpr const char* iconPointer = ":/pictures/icon_pointer.svg";
inline constexpr const char* windowIcon = ":/pictures/window_icon.svg";
}  // namespace quimbra::window::pictures
