#pragma once
// The name prompt's letter pad, for a child at a whiteboard who has no
// keyboard.

#include <QSize>

class QLineEdit;
class QWidget;

namespace quimbra::window {

// The letters of a child's name on keys of a size, in the alphabet's order,
// eight to a row, then "Spazio" and "Cancella": a tap types into box as the
// keyboard does, the first letter of a name a capital, the rest small.
QWidget* letterPad(QLineEdit* box, QSize key);

}  // namespace quimbra::window
