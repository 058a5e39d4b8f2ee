#pragma once
// The board's controls as tables: each label and picture one row, and the
// pieces of the fraction bar row by row. Changing a control means editing
// its row.

#include <QRect>

#include <array>
#include <vector>

#include "game/controls.h"
#include "window/look.h"
#include "window/pictures.h"

namespace quimbra::window {

// How a label draws its text.
struct LabelStyle {
    FontChoice font = windowFont;
    bool centred = false;
    bool bordered = false;
    bool autoSize = false;
    // Fitted to its text from the first showing: the counts, so that equal
    // numbers of digits sit in boxes of one width.
    bool fittedAtOnce = false;
};

// A label or picture of the board: its name, the model it shows (none for a
// picture), its rectangle in twips, how it draws, what a screen reader says
// the value means, its tooltip and, for a picture, the picture.
struct BoardRow {
    const char* name;
    Label Controls::*model;
    QRect twips;
    LabelStyle style = {};
    const char* description = nullptr;
    const char* tip = nullptr;
    const char* picture = nullptr;
};

inline constexpr FontChoice sans(double points, bool bold, bool italic = false) {
    return {Face::msSansSerif, points, bold, italic};
}

inline constexpr LabelStyle question{sans(13.5, true), true};
inline constexpr LabelStyle number{sans(24, true), true};
inline constexpr LabelStyle heading{sans(18, false), false, true, true};
inline constexpr LabelStyle count{{Face::timesNewRoman, 36, true, false}, true, true, true, true};
inline constexpr LabelStyle plain{};
inline constexpr LabelStyle plainAuto{windowFont, false, false, true};
inline constexpr LabelStyle record{sans(18, false)};
inline constexpr LabelStyle recordAuto{sans(18, false), false, false, true};

// Back to front. The pieces, the line, the text box and the buttons are not
// rows: they are placed among these.
// clang-format off
inline constexpr BoardRow boardRows[] = {
    {"Image2", nullptr, {0, -360, 10440, 9240}, {}, nullptr, nullptr, pictures::sea},
    {"Label6", &Controls::Label6, {480, 4440, 2565, 495}, {sans(18, false), true, true, true}},
    {"lblMessage", &Controls::lblMessage, {1800, 2160, 6615, 615}, {sans(24, true, true), true},
        "esito della risposta"},
    {"lblScore", &Controls::lblScore, {1320, 5040, 555, 885}, count, "risposte esatte",
        "Questo \u00e8 il tuo punteggio. Forza con il  record"},
    {"Label4", &Controls::Label4, {7440, 120, 615, 975}, {{Face::arial, 48, true, false}, true}},
    {"Image1", nullptr, {0, 2400, 480, 480}, {}, nullptr,
        "Clicca sotto di me per impostare il Timer", pictures::stopwatch},
    {"lblScore1", &Controls::lblScore1, {4680, 5040, 540, 885}, count, "risposte errate"},
    {"lblScore2", &Controls::lblScore2, {8280, 5040, 555, 885}, count, "risposte totali"},
    {"Label1", &Controls::Label1, {3840, 4440, 2520, 495}, heading},
    {"Label3", &Controls::Label3, {7320, 4440, 2340, 495}, heading},
    {"Label7(0)", &Controls::Label7_0, {1320, 3480, 495, 615}, plain},
    {"Label7(1)", &Controls::Label7_1, {8520, 3480, 375, 495}, plain},
    {"Label9", &Controls::Label9, {-120, 120, 5655, 855}, question},
    {"lbldeno", &Controls::lbldeno, {240, 1440, 735, 855}, number, "denominatore della frazione"},
    {"Label2", &Controls::Label2, {6360, 120, 1335, 495}, question},
    {"lblnum2", &Controls::lblnum2, {240, 720, 855, 615}, number, "numeratore della frazione"},
    {"Label12", &Controls::Label12, {0, 7440, 2295, 375}, record},
    {"lblnome", &Controls::lblnome, {2400, 7440, 990, 435}, plainAuto,
        "nome di chi detiene il record"},
    {"Label13", &Controls::Label13, {7920, 7440, 1455, 435}, recordAuto},
    {"lblpunti", &Controls::lblpunti, {9600, 7440, 90, 435}, recordAuto, "punteggio del record"},
    {"Label11", &Controls::Label11, {0, 1920, 2775, 495}, {sans(13.5, false)}},
    {"lblconto", &Controls::lblconto, {480, 2400, 1575, 495},
        {{Face::arialBlack, 12, true, false}, false, true}, "tempo restante"},
    {"lblnome1", &Controls::lblnome1, {1560, 6000, 1200, 435}, plainAuto, "nome del giocatore"},
    {"Label8", &Controls::Label8, {0, 6000, 2055, 735}, plain},
    {"Lblmisura", &Controls::Lblmisura, {5400, 0, 165, 555}, {sans(24, true), false, false, true},
        "altezza del rettangolo, in centimetri"},
    {"Label10", &Controls::Label10, {1080, 1080, 8535, 735}, {sans(13.5, true)}},
};
// clang-format on

// The fraction bar: each row's piece width and lefts in twips, and the
// control its pieces lie just behind. Where a row departs from the plain
// order, it says how.
struct PieceRow {
    int width;
    std::vector<int> lefts;
    const char* behind;
    // The first and last pieces' width, when narrower than the others.
    int endWidth = 0;
    // The pieces back to front by index, when not 1, 2, 3, ...
    std::vector<int> backToFront = {};
    // The first pieces that lie behind another control than the row's.
    int firstBehindCount = 0;
    const char* firstBehind = nullptr;
};

inline const std::array<PieceRow, 9>& pieceRows() {
    static const std::array<PieceRow, 9> rows{{
        {1605, {1920, 3480, 5040, 6600}, "Line2", 0, {}, 3, "lbldeno"},
        {2115, {1920, 4020, 6120}, "Line2"},
        {1290, {1920, 3195, 4470, 5730, 6960}, "Line2"},
        // The first piece covers its second.
        {1155, {1920, 2955, 3975, 5025, 6075, 7080}, "Line2", 0, {2, 1, 3, 4, 5, 6}},
        {915, {1920, 2775, 3675, 4575, 5475, 6375, 7275}, "Line2"},
        {810, {1920, 2685, 3480, 4275, 5055, 5835, 6630, 7395}, "Line2"},
        {735, {1920, 2640, 3360, 4080, 4755, 5445, 6120, 6795, 7440}, "Line2"},
        {690, {1920, 2580, 3255, 3885, 4560, 5160, 5760, 6360, 6960, 7560}, "Line2", 675},
        {3195, {1920, 5055}, "Label12"},
    }};
    return rows;
}

inline constexpr int barTop = 3480;
inline constexpr int barHeight = 495;

// The fraction line between numerator and denominator: its ends and height
// in twips, its thickness in pixels at design size.
struct LineRow {
    int left;
    int right;
    int y;
    int thickness;
};
inline constexpr LineRow fractionLine{240, 960, 1320, 5};

// The answer box, in front of every label.
inline constexpr QRect answerTwips(8160, 120, 2055, 1200);
inline constexpr FontChoice answerFont{Face::arial, 48, true, false};
inline constexpr int answerLength = 4;

// The menu bar's font, small enough for the four items in one row; it grows
// with the board.
inline constexpr FontChoice menuFont = sans(8.25, false);

// The two picture buttons, side by side on one row; the number pad's keys
// take their size where there is room.
struct ButtonRow {
    const char* name;
    const char* caption;
    Colour face;
    // The normal picture, and those held down and disabled (none: the normal).
    const char* pictures[3];
    int left;
    const char* tip;
    const char* accessibleName;
};
inline constexpr int nextButtonLeft = 720;
inline constexpr QRect nextButtonTwips(nextButtonLeft, 6480, 1815, 975);
inline constexpr FontChoice buttonFont = sans(8.25, true);
inline constexpr ButtonRow buttonRows[] = {
    {"cmdNext",
     "&Nuovo calcolo",
     colours::green,
     {pictures::nextSmile, pictures::nextLaugh, pictures::nextStraight},
     nextButtonLeft,
     "Go",
     "Nuovo calcolo"},
    {"cmdExit",
     "E&xit",
     colours::cyan,
     {pictures::exitNoEntry, nullptr, nullptr},
     7800,
     "Ti prego resta ancora, forse riuscirai a farmi uscire ",
     "Esci"},
};

}  // namespace quimbra::window
