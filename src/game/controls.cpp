#include "game/controls.h"

namespace quimbra {
namespace {

ShapeRow row(int pieces, Colour border, Colour fill) {
    ShapeRow r;
    r.pieces.assign(static_cast<std::size_t>(pieces), Piece{true, fill, border});
    return r;
}

}  // namespace

Controls::Controls()
    : Label9{"L'altezza di un rettangolo misura cm", colours::blue},
      Lblmisura{"", colours::magenta},
      Label2{"ed  \u00e8 ", colours::blue},
      lblnum2{"2", colours::magenta},
      lbldeno{"3", colours::magenta},
      Label10{" della base. Calcolate la dimensione  della base.", colours::blue},
      Label4{"=", colours::cyan},
      lblnum1{"9", colours::buttonText},
      Label11{"Tempo restante", colours::magenta},
      lblconto{"00.00.00", colours::blue},
      lblMessage{"", colours::buttonText},
      Label7_0{"A", colours::buttonText},
      Label7_1{"B", colours::buttonText},
      Label6{"Risposte esatte", colours::darkGreen},
      lblScore{"0", colours::buttonText},
      Label1{"Risposte errate", colours::red},
      lblScore1{"0", colours::red},
      Label3{"Risposte totali", colours::blue},
      lblScore2{"0", colours::blue},
      Label8{"Sfidante", colours::green},
      lblnome1{"Label8", colours::green},
      Label12{"Il record  \u00e8 di ", colours::purple},
      lblnome{"nome", colours::blue},
      Label13{"con punti", colours::purple},
      lblpunti{"", colours::purple},
      title(std::string(52, ' ') + "Gioca con le frazioni") {
    shapes[0] = row(4, colours::blue, colours::cyan);
    shapes[0](1).fill = 0xFF8080;
    shapes[1] = row(3, colours::darkGreen, colours::black);
    shapes[2] = row(5, colours::windowText, 0xFFC0C0);
    shapes[3] = row(6, colours::darkBlue, 0xFF80FF);
    shapes[4] = row(7, colours::windowText, 0xFF8080);
    shapes[5] = row(8, colours::black, 0x80FFFF);
    shapes[6] = row(9, colours::windowText, 0xFFFF80);
    shapes[7] = row(10, colours::windowText, 0xFFFF80);
    shapes[8] = row(2, colours::windowText, colours::white);
    // Piece 2 of the last row is drawn unfilled whatever its fill says.
    shapes[8](2).fill = colours::black;
}

}  // namespace quimbra
