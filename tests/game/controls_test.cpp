#include "game/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quimbra {
namespace {

// A freshly loaded window: every label with its design-time text and colour.
TEST(Controls, LabelsStartWithTheirLayoutTextAndColour) {
    const Controls c;
    const struct {
        const char* name;
        const Label& label;
        std::string caption;
        Colour colour;
    } cases[] = {
        {"Label9", c.Label9, "L'altezza di un rettangolo misura cm", colours::blue},
        {"Lblmisura", c.Lblmisura, "", colours::magenta},
        {"Label2", c.Label2, "ed  \u00e8 ", colours::blue},
        {"lblnum2", c.lblnum2, "2", colours::magenta},
        {"lbldeno", c.lbldeno, "3", colours::magenta},
        {"Label10", c.Label10, " della base. Calcolate la dimensione  della base.", colours::blue},
        {"Label4", c.Label4, "=", colours::cyan},
        {"lblnum1", c.lblnum1, "9", colours::buttonText},
        {"Label11", c.Label11, "Tempo restante", colours::magenta},
        {"lblconto", c.lblconto, "00.00.00", colours::blue},
        {"lblMessage", c.lblMessage, "", colours::buttonText},
        {"Label7(0)", c.Label7_0, "A", colours::buttonText},
        {"Label7(1)", c.Label7_1, "B", colours::buttonText},
        {"Label6", c.Label6, "Risposte esatte", colours::darkGreen},
        {"lblScore", c.lblScore, "0", colours::buttonText},
        {"Label1", c.Label1, "Risposte errate", colours::red},
        {"lblScore1", c.lblScore1, "0", colours::red},
        {"Label3", c.Label3, "Risposte totali", colours::blue},
        {"lblScore2", c.lblScore2, "0", colours::blue},
        {"Label8", c.Label8, "Sfidante", colours::green},
        {"lblnome1", c.lblnome1, "Label8", colours::green},
        {"Label12", c.Label12, "Il record  \u00e8 di ", colours::purple},
        {"lblnome", c.lblnome, "nome", colours::blue},
        {"Label13", c.Label13, "con punti", colours::purple},
        {"lblpunti", c.lblpunti, "", colours::purple},
    };
    for (const auto& l : cases) {
        EXPECT_EQ(l.label.caption, l.caption) << l.name;
        EXPECT_EQ(l.label.foreColour, l.colour) << l.name;
    }
}

// The nine rows of the fraction bar, all pieces shown, with the layout's
// borders and fills (piece 1 of Shape1 and of Shape9 differ from the rest).
TEST(Controls, FractionBarRowsStartAsLaidOut) {
    const Controls c;
    const struct {
        int pieces;
        Colour border;
        Colour firstFill;
        Colour otherFill;
    } rows[] = {
        {4, colours::blue, 0xFF8080, colours::cyan},
        {3, colours::darkGreen, colours::black, colours::black},
        {5, colours::windowText, 0xFFC0C0, 0xFFC0C0},
        {6, colours::darkBlue, 0xFF80FF, 0xFF80FF},
        {7, colours::windowText, 0xFF8080, 0xFF8080},
        {8, colours::black, 0x80FFFF, 0x80FFFF},
        {9, colours::windowText, 0xFFFF80, 0xFFFF80},
        {10, colours::windowText, 0xFFFF80, 0xFFFF80},
        {2, colours::windowText, colours::white, colours::black},
    };
    for (int r = 1; r <= 9; ++r) {
        const auto& expected = rows[r - 1];
        const ShapeRow& row = c.Shape(r);
        ASSERT_EQ(row.count(), expected.pieces) << "Shape" << r;
        for (int p = 1; p <= row.count(); ++p) {
            EXPECT_TRUE(row(p).visible) << "Shape" << r << "(" << p << ")";
            EXPECT_EQ(row(p).border, expected.border) << "Shape" << r << "(" << p << ")";
            EXPECT_EQ(row(p).fill, p == 1 ? expected.firstFill : expected.otherFill)
                << "Shape" << r << "(" << p << ")";
        }
    }
}

// The rest of the loaded window: empty answer box, cmdNext disabled (so the
// focus starts on cmdExit), Timer1 running, normal state, design-time title.
TEST(Controls, WindowStartsAsLaidOut) {
    const Controls c;
    EXPECT_EQ(c.txtAnswer, "");
    EXPECT_FALSE(c.cmdNextEnabled);
    EXPECT_TRUE(c.timer1Enabled);
    EXPECT_EQ(c.focus, Focus::cmdExit);
    EXPECT_EQ(c.windowState, WindowState::normal);
    EXPECT_EQ(c.title, std::string(52, ' ') + "Gioca con le frazioni");
    EXPECT_EQ(c.title.size(), 73U);
}

}  // namespace
}  // namespace quimbra
