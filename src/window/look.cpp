#include "window/look.h"

#include <QStringList>

namespace quimbra::window {

QFont makeFont(const FontChoice& choice, const BoardScale& scale) {
    QFont font;
    switch (choice.face) {
        case Face::arial:
            font.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
            font.setStyleHint(QFont::SansSerif);
            break;
        case Face::msSansSerif: {
            QStringList families{"MS Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"};
#ifdef _WIN32
            // There "MS Sans Serif" is the old bitmap font, ragged at the sizes
            // it lacks; its TrueType successor is drawn cleanly at every size.
            families.prepend("Microsoft Sans Serif");
#endif
            font.setFamilies(families);
            font.setStyleHint(QFont::SansSerif);
            break;
        }
        case Face::arialBlack:
            // Black weight picks the heaviest cut the substitute family has.
            font.setFamilies({"Arial Black", "DejaVu Sans", "Liberation Sans"});
            font.setStyleHint(QFont::SansSerif);
            break;
        case Face::timesNewRoman:
            font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
            font.setStyleHint(QFont::Serif);
            break;
    }
    font.setPixelSize(scale.fontPixels(choice.points));
    font.setWeight(choice.face == Face::arialBlack ? QFont::Black
                   : choice.bold                   ? QFont::Bold
                                                   : QFont::Normal);
    font.setItalic(choice.italic);
    return font;
}

QColor toQColor(Colour colour, const QPalette& palette) {
    if (isSystemColour(colour)) {
        switch (systemColourIndex(colour)) {
            case 5:  // window background: the background of text areas
                return palette.color(QPalette::Base);
            case 18:  // button text
                return palette.color(QPalette::ButtonText);
            case 8:  // window text
            default:
                return palette.color(QPalette::WindowText);
        }
    }
    return {redOf(colour), greenOf(colour), blueOf(colour)};
}

}  // namespace quimbra::window
