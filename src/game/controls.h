#pragma once
// The game's model of the window's controls. The rules write captions,
// colours, the fraction bar and the enabled states here and read them back
// (the clock text, the score, the names); the window draws only what this
// holds and writes back what the child changes (the answer box's text, the
// focus, the window state). A fresh Controls is the window as it is loaded.

#include <array>
#include <string>
#include <vector>

#include "game/colour.h"

namespace quimbra {

struct Label {
    std::string caption;
    Colour foreColour = colours::buttonText;
    bool operator==(const Label&) const = default;
};

struct Piece {
    bool visible = true;
    Colour fill = colours::black;
    Colour border = colours::windowText;
    bool operator==(const Piece&) const = default;
};

// One row of the fraction bar; pieces are numbered from 1.
struct ShapeRow {
    std::vector<Piece> pieces;
    Piece& operator()(int index) { return pieces.at(static_cast<std::size_t>(index - 1)); }
    const Piece& operator()(int index) const {
        return pieces.at(static_cast<std::size_t>(index - 1));
    }
    int count() const { return static_cast<int>(pieces.size()); }
    bool operator==(const ShapeRow&) const = default;
};

enum class Focus { none, cmdExit, cmdNext, txtAnswer };

// As the platform numbers them: 1 is minimized.
enum class WindowState { normal = 0, minimized = 1, maximized = 2 };

struct Controls {
    Controls();

    // Rows 1 to 9 of the fraction bar: Shape(1) ... Shape(9).
    ShapeRow& Shape(int row) { return shapes.at(static_cast<std::size_t>(row - 1)); }
    const ShapeRow& Shape(int row) const { return shapes.at(static_cast<std::size_t>(row - 1)); }

    // The question sentence and the fraction.
    Label Label9;
    Label Lblmisura;
    Label Label2;
    Label lblnum2;
    Label lbldeno;
    Label Label10;
    Label Label4;
    Label lblnum1;  // never shown; holds the expected answer
    std::string txtAnswer;

    // Clock and verdict.
    Label Label11;  // element 1, the only one
    Label lblconto;
    Label lblMessage;

    // The fraction bar and its ends.
    std::array<ShapeRow, 9> shapes;
    Label Label7_0;  // "A"
    Label Label7_1;  // "B"

    // Score panel.
    Label Label6;
    Label lblScore;
    Label Label1;
    Label lblScore1;
    Label Label3;
    Label lblScore2;

    // Player, buttons and record.
    Label Label8;
    Label lblnome1;
    bool cmdNextEnabled = false;
    Label Label12;
    Label lblnome;
    Label Label13;
    Label lblpunti;

    bool timer1Enabled = true;
    // The pupil hears the question, the verdict and the dialogs: the
    // loudspeaker button is shown and its menu item ticked.
    bool readAloud = false;
    Focus focus = Focus::cmdExit;
    std::string title;
    WindowState windowState = WindowState::normal;

    bool operator==(const Controls&) const = default;
};

}  // namespace quimbra
