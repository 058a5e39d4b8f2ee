#pragma once
// Fonts and colours as the layout names them, turned into Qt's.

#include <QColor>
#include <QFont>
#include <QPalette>

#include "game/colour.h"
#include "window/board_scale.h"

namespace quimbra::window {

enum class Face { msSansSerif, arial, arialBlack, timesNewRoman };

struct FontChoice {
    Face face = Face::msSansSerif;
    double points = 18;
    bool bold = true;
    bool italic = false;
};

// The window's own font, used by every control that names none.
constexpr FontChoice windowFont{Face::msSansSerif, 18, true, false};

// The face where it is installed, else a substitute of the same kind; the
// size and weight stay those of the table.
QFont makeFont(const FontChoice& choice, const BoardScale& scale);

// 0x00BBGGRR, or a system colour (top bit set) taken from the palette.
QColor toQColor(Colour colour, const QPalette& palette);

}  // namespace quimbra::window
