#pragma once
// What a screen reader says about the window's controls.

namespace quimbra::window {

class Tavola;

// Makes the board's labels speak as shown (a hidden one says nothing). Call
// before the first label of a window exists.
void installBoardAccessibility();

// Lets a screen reader read the board: every label says its text, the labels
// that show a value say in their description what the value means, and the
// answer box and the buttons get Italian names. Call once per window, after
// its controls exist.
void describeForScreenReaders(Tavola& window);

}  // namespace quimbra::window
