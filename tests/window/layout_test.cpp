#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>

#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "board/board_layout.h"
#include "board/tavola.h"
#include "recording_events.h"

namespace quimbra::window {
namespace {

using testing::RecordingEvents;

// Twips to pixels at a board scale: 15 twips a pixel at design size, each
// edge rounded to the nearest pixel.
int pixels(int twips, double factor) {
    return static_cast<int>(std::lround(twips * factor / 15));
}

QColor rgb(Colour c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// Every test runs at design size and with the board drawn larger as one.
class LayoutTest : public ::testing::TestWithParam<double> {
  protected:
    QRect fromTwips(int left, int top, int width, int height) const {
        const double f = GetParam();
        const int x = pixels(left, f);
        const int y = pixels(top, f);
        return {x, y, pixels(left + width, f) - x, pixels(top + height, f) - y};
    }
    int scaled(int designPixels) const {
        return static_cast<int>(std::lround(designPixels * GetParam()));
    }
    Controls controls;
    RecordingEvents events;
    Tavola window{controls, events, BoardScale(GetParam())};
};

// 1.33: a whiteboard of 1280x800.
INSTANTIATE_TEST_SUITE_P(Scales, LayoutTest, ::testing::Values(1.0, 2.0, 1.5, 1.33));

// Every label at its place, with its initial text, font and text colour.
TEST_P(LayoutTest, LabelsMatchTheLayoutTables) {
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    struct Row {
        const char* name;
        int left, top, width, height;
        const char* text;
        int fontPixels;
        bool bold;
        bool italic;
        QColor colour;
    };
    const Row rows[] = {
        {"Label9", -120, 120, 5655, 855, "L'altezza di un rettangolo misura cm", 18, true, false,
         rgb(colours::blue)},
        {"Lblmisura", 5400, 0, 165, 555, "", 32, true, false, rgb(colours::magenta)},
        {"Label2", 6360, 120, 1335, 495, "ed  \u00e8 ", 18, true, false, rgb(colours::blue)},
        {"lblnum2", 240, 720, 855, 615, "2", 32, true, false, rgb(colours::magenta)},
        {"lbldeno", 240, 1440, 735, 855, "3", 32, true, false, rgb(colours::magenta)},
        {"Label10", 1080, 1080, 8535, 735, " della base. Calcolate la dimensione  della base.", 18,
         true, false, rgb(colours::blue)},
        {"Label4", 7440, 120, 615, 975, "=", 64, true, false, rgb(colours::cyan)},
        {"Label11", 0, 1920, 2775, 495, "Tempo restante", 18, false, false, rgb(colours::magenta)},
        {"lblconto", 480, 2400, 1575, 495, "00.00.00", 16, true, false, rgb(colours::blue)},
        {"lblMessage", 1800, 2160, 6615, 615, "", 32, true, true, buttonText},
        {"Label7(0)", 1320, 3480, 495, 615, "A", 24, true, false, buttonText},
        {"Label7(1)", 8520, 3480, 375, 495, "B", 24, true, false, buttonText},
        {"Label6", 480, 4440, 2565, 495, "Risposte esatte", 24, false, false,
         rgb(colours::darkGreen)},
        {"lblScore", 1320, 5040, 555, 885, "0", 48, true, false, buttonText},
        {"Label1", 3840, 4440, 2520, 495, "Risposte errate", 24, false, false, rgb(colours::red)},
        {"lblScore1", 4680, 5040, 540, 885, "0", 48, true, false, rgb(colours::red)},
        {"Label3", 7320, 4440, 2340, 495, "Risposte totali", 24, false, false, rgb(colours::blue)},
        {"lblScore2", 8280, 5040, 555, 885, "0", 48, true, false, rgb(colours::blue)},
        {"Label8", 0, 6000, 2055, 735, "Sfidante", 24, true, false, rgb(colours::green)},
        {"lblnome1", 1560, 6000, 1200, 435, "Label8", 24, true, false, rgb(colours::green)},
        {"Label12", 0, 7440, 2295, 375, "Il record  \u00e8 di ", 24, false, false,
         rgb(colours::purple)},
        {"lblnome", 2400, 7440, 990, 435, "nome", 24, true, false, rgb(colours::blue)},
        {"Label13", 7920, 7440, 1455, 435, "con punti", 24, false, false, rgb(colours::purple)},
        {"lblpunti", 9600, 7440, 90, 435, "", 24, false, false, rgb(colours::purple)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QLabel* label = window.label(row.name);
        ASSERT_NE(label, nullptr);
        const QRect table = fromTwips(row.left, row.top, row.width, row.height);
        const bool count = QString(row.name).startsWith("lblScore");  // fitted from the start
        EXPECT_EQ(label->pos(), table.topLeft());
        const QSize expected = count ? window.label("lblScore")->size() : table.size();
        EXPECT_EQ(label->height(), expected.height());
        // Whole at every size: a label that does not wrap is widened to its text, no further.
        const int text =
            label->wordWrap() ? 0 : label->fontMetrics().horizontalAdvance(label->text());
        const int frame = label->width() - label->contentsRect().width();
        EXPECT_GE(label->contentsRect().width(), text);
        EXPECT_EQ(label->width(), std::max(expected.width(), text + frame));
        EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(label->font().pixelSize(), scaled(row.fontPixels));
        EXPECT_EQ(label->font().bold(), row.bold);
        EXPECT_EQ(label->font().italic(), row.italic);
        EXPECT_EQ(label->palette().color(QPalette::Text), row.colour);
    }
}

// The substitutes keep the kind of face: sans for the sans faces, serif for
// the score counts, a heavier cut for the clock.
TEST_P(LayoutTest, FontsFallBackToFacesOfTheSameKind) {
    const QFontInfo sans(window.label("Label9")->font());
    const QFontInfo serif(window.label("lblScore")->font());
    const QFontInfo clock(window.label("lblconto")->font());
    EXPECT_NE(sans.family(), serif.family());
    EXPECT_TRUE(serif.family().contains("Serif") || serif.family().contains("Times"))
        << serif.family().toStdString();
    EXPECT_GE(clock.weight(), QFont::Bold);
}

// The text box and the buttons: place, font, colours, limits, tooltips.
TEST_P(LayoutTest, TextBoxAndButtonsMatchTheLayoutTables) {
    AnswerBox* box = window.txtAnswer();
    EXPECT_EQ(box->geometry(), fromTwips(8160, 120, 2055, 1200));
    EXPECT_EQ(box->maxLength(), 4);
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(box->font().pixelSize(), scaled(64));
    EXPECT_TRUE(box->font().bold());
    EXPECT_EQ(box->palette().color(QPalette::Text), rgb(colours::darkBlue));
    EXPECT_EQ(box->palette().color(QPalette::Base), rgb(colours::cyan));
    EXPECT_EQ(box->toolTip(), "Inserisci il risultato e  premi il tasto  Invio");
    // The four digits the box takes are all in sight: "8888" starts about
    // where "8" does, not scrolled out to the box's left edge.
    std::map<QString, std::pair<int, int>> drawn;  // the text's first and last column
    for (const QString text : {"8", "8888"}) {
        box->setText(text);
        const QImage image = box->grab().toImage();
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, image.height() / 2);
            if (qGreen(p) < 100 && qBlue(p) > 100) {
                drawn.try_emplace(text, x, x).first->second.second = x;
            }
        }
    }
    EXPECT_GE(drawn["8888"].first, drawn["8"].first / 2);
    EXPECT_LT(drawn["8888"].second, box->width() - 2);
    box->clear();

    struct Button {
        PictureButton* button;
        QRect rect;
        const char* caption;
        const char* tooltip;
        bool enabled;
        bool isDefault;
        const char* face;
    };
    const Button buttons[] = {
        {window.cmdNext(), fromTwips(720, 6480, 1815, 975), "&Nuovo calcolo", "Go", false, true,
         ":/pictures/next_straight.svg"},
        {window.cmdExit(), fromTwips(7800, 6480, 1815, 975), "E&xit",
         "Ti prego resta ancora, forse riuscirai a farmi uscire ", true, false,
         ":/pictures/exit_noentry.svg"},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.caption);
        EXPECT_EQ(b.button->geometry(), b.rect);
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->toolTip(), b.tooltip);
        EXPECT_EQ(b.button->isEnabled(), b.enabled);
        EXPECT_EQ(b.button->isDefault(), b.isDefault);
        EXPECT_EQ(b.button->font().pixelSize(), scaled(11));
        EXPECT_EQ(b.button->currentFace(), b.face);
    }
    EXPECT_EQ(window.image1()->geometry(), fromTwips(0, 2400, 480, 480));
    EXPECT_EQ(window.image1()->toolTip(), "Clicca sotto di me per impostare il Timer");
    EXPECT_EQ(window.image2()->geometry(), fromTwips(0, -360, 10440, 9240));
    EXPECT_EQ(window.label("lblScore")->toolTip(),
              "Questo \u00e8 il tuo punteggio. Forza con il  record");
    EXPECT_EQ(window.board()->size(), QSize(scaled(694), scaled(554)));
    window.show();
    // Resizable, never below the board's design size, which it opens at.
    EXPECT_EQ(window.centralWidget()->minimumSize(), window.board()->size());
    EXPECT_EQ(window.pad(), nullptr);
    EXPECT_GT(window.maximumWidth(), window.width());
    EXPECT_EQ(window.board()->mapTo(&window, QPoint(0, 0)),
              QPoint(0, window.menuBar()->geometry().bottom() + 1));
    EXPECT_EQ(window.windowTitle(), QString(52, u' ') + "Gioca con le frazioni");
}

// Every piece of the nine rows at its exact left and width, with the colours
// and visibility it is loaded with.
TEST_P(LayoutTest, FractionBarPiecesMatchTheLayoutTable) {
    struct Row {
        int width;
        std::vector<int> lefts;
        Colour border;
        std::vector<Colour> fills;
    };
    const Row rows[] = {
        {1605, {1920, 3480, 5040, 6600}, colours::blue, {0xFF8080, 0xFFFF00, 0xFFFF00, 0xFFFF00}},
        {2115, {1920, 4020, 6120}, colours::darkGreen, {0, 0, 0}},
        {1290, {1920, 3195, 4470, 5730, 6960}, colours::windowText, {0xFFC0C0}},
        {1155, {1920, 2955, 3975, 5025, 6075, 7080}, colours::darkBlue, {0xFF80FF}},
        {915, {1920, 2775, 3675, 4575, 5475, 6375, 7275}, colours::windowText, {0xFF8080}},
        {810, {1920, 2685, 3480, 4275, 5055, 5835, 6630, 7395}, colours::black, {0x80FFFF}},
        {735,
         {1920, 2640, 3360, 4080, 4755, 5445, 6120, 6795, 7440},
         colours::windowText,
         {0xFFFF80}},
        {690,
         {1920, 2580, 3255, 3885, 4560, 5160, 5760, 6360, 6960, 7560},
         colours::windowText,
         {0xFFFF80}},
        {3195, {1920, 5055}, colours::windowText, {0xFFFFFF}},
    };
    const QPalette palette = window.palette();
    for (int r = 0; r < 9; ++r) {
        const Row& row = rows[r];
        for (std::size_t i = 0; i < row.lefts.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            SCOPED_TRACE(::testing::Message() << "Shape" << r + 1 << "(" << index << ")");
            QFrame* piece = window.piece(r + 1, index);
            ASSERT_NE(piece, nullptr);
            const bool narrow = r == 7 && (index == 1 || index == 10);
            EXPECT_EQ(piece->geometry(),
                      fromTwips(row.lefts[i], 3480, narrow ? 675 : row.width, 495));
            EXPECT_FALSE(piece->isHidden());
            EXPECT_EQ(piece->palette().color(QPalette::WindowText), toQColor(row.border, palette));
            if (r + 1 == 9 && index == 2) {
                continue;  // unfilled
            }
            const Colour fill = row.fills.size() > i ? row.fills[i] : row.fills[0];
            EXPECT_EQ(piece->palette().color(QPalette::Window), rgb(fill));
        }
    }
    // The expected answer stays in the model: no control shows or speaks it.
    EXPECT_EQ(window.label("lblnum1"), nullptr);
    const QRect line = window.line2()->geometry();
    EXPECT_EQ(line.left(), scaled(16));
    EXPECT_EQ(line.right(), scaled(64));
    EXPECT_EQ(line.height(), scaled(5));
    EXPECT_TRUE(line.contains(scaled(40), scaled(88)));
}

// Each row shown alone is drawn in its colours at every scale: the fill
// inside each piece, the border along its top edge as wide as the board's
// borders (one pixel at design size); the unfilled piece shows the window
// background.
TEST_P(LayoutTest, ShownPiecesAreDrawnInTheirColours) {
    const int border = std::max(1, scaled(1));
    const QPalette palette = window.palette();
    for (int row = 1; row <= 9; ++row) {
        for (int r = 1; r <= 9; ++r) {
            for (Piece& p : controls.Shape(r).pieces) {
                p.visible = r == row;
            }
        }
        window.render();
        const QImage image = window.board()->grab().toImage();
        for (int index = 1; index <= controls.Shape(row).count(); ++index) {
            SCOPED_TRACE(::testing::Message() << "Shape" << row << "(" << index << ")");
            const Piece& model = controls.Shape(row)(index);
            const QRect g = window.piece(row, index)->geometry();
            const QColor fill = row == 9 && index == 2 ? palette.color(QPalette::Base)
                                                       : toQColor(model.fill, palette);
            EXPECT_EQ(image.pixelColor(g.center()), fill);
            EXPECT_EQ(image.pixelColor(g.center().x(), g.top() + border - 1),
                      toQColor(model.border, palette));
            EXPECT_EQ(image.pixelColor(g.center().x(), g.top() + border), fill);
        }
    }
}

// Front to back as the layout lists it; the text box and buttons in front,
// the voice's notice and the loudspeaker first.
TEST_P(LayoutTest, ControlsAreStackedInTheLayoutOrder) {
    std::vector<QString> frontToBack = {"avvisoVoce", "cmdVoce",  "cmdExit",   "cmdNext",
                                        "txtAnswer",  "Label10",  "Lblmisura", "Label8",
                                        "lblnome1",   "lblconto", "Label11",   "lblpunti",
                                        "Label13",    "lblnome",  "Label12"};
    for (const char* p : {"Shape9(2)", "Shape9(1)", "lblnum2", "Label2", "Line2"}) {
        frontToBack.push_back(p);
    }
    for (int row = 8; row >= 2; --row) {
        const int count = controls.Shape(row).count();
        for (int i = count; i >= 1; --i) {
            if (row == 4 && i == 2) {
                frontToBack.push_back("Shape4(1)");
                frontToBack.push_back("Shape4(2)");
                i = 1;
                continue;
            }
            frontToBack.push_back(QString("Shape%1(%2)").arg(row).arg(i));
        }
    }
    for (const char* p : {"Shape1(4)", "lbldeno", "Shape1(3)", "Shape1(2)", "Shape1(1)", "Label9",
                          "Label7(1)", "Label7(0)", "Label3", "Label1", "lblScore2", "lblScore1",
                          "Image1", "Label4", "lblScore", "lblMessage", "Label6", "Image2"}) {
        frontToBack.push_back(p);
    }
    const QObjectList children = window.board()->children();
    std::vector<std::string> actual;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if ((*it)->isWidgetType()) {
            actual.push_back((*it)->objectName().toStdString());
        }
    }
    std::vector<std::string> expected;
    for (const QString& name : frontToBack) {
        expected.push_back(name.toStdString());
    }
    EXPECT_EQ(actual, expected);
}

// Four menu bar items; only "NUOVO GIOCO" does anything, and it asks for a
// new game.
TEST_P(LayoutTest, MenuBarHasFourItemsAndOnlyNewGameActs) {
    const QList<QAction*> items = window.menuItems();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[1]->text(), "NUOVO GIOCO");
    ASSERT_NE(items[0]->menu(), nullptr);
    ASSERT_EQ(items[0]->menu()->actions().size(), 2);
    EXPECT_EQ(items[1]->menu(), nullptr);
    ASSERT_NE(items[2]->menu(), nullptr);
    EXPECT_EQ(items[2]->menu()->actions().size(), 1);
    EXPECT_TRUE(items[2]->text().endsWith(".example"));
    EXPECT_TRUE(items[3]->text().startsWith("E-mail autori: "));
    EXPECT_TRUE(items[3]->text().endsWith(".example" + QString(16, u' ')));
    for (QAction* item : items) {
        EXPECT_TRUE(item->isEnabled());
        EXPECT_TRUE(item->isVisible());
    }
    items[3]->trigger();
    items[0]->menu()->actions()[0]->trigger();
    items[2]->menu()->actions()[0]->trigger();
    EXPECT_TRUE(events.calls.empty());
    items[1]->trigger();
    items[0]->menu()->actions()[1]->trigger();
    EXPECT_EQ(events.calls, (std::vector<std::string>{"clickNewGame", "switchReadAloud"}));
}

// On a whiteboard the pad stands level with the board's bottom, where its
// buttons are; the board takes the room the pad's fingertip keys leave it,
// filling the window's width or height (at 1280x800, 1.33 times at least).
TEST(BoardLayoutTest, PadStandsLowAndTheBoardTakesTheRest) {
    struct Row {
        QSize window;  // below the title bar
        double least;
    };
    const Row rows[] = {{{1024, 745}, 1.0}, {{1280, 777}, 1.33}, {{1280, 1001}, 1.0},
                        {{1366, 745}, 1.0}, {{1920, 1057}, 1.0}, {{3840, 2137}, 1.0}};
    const auto menu = [](double factor) { return static_cast<int>(std::lround(22 * factor)); };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window.width());
        const BoardLayout layout(row.window, BoardScale(), menu);
        ASSERT_TRUE(layout.hasPad());
        EXPECT_EQ(layout.pad().bottom(), layout.board().bottom());
        EXPECT_GE(layout.scale().factor(), row.least);
        const int spare =
            std::min(row.window.width() - layout.pad().right() - 1,
                     row.window.height() - layout.menuHeight() - layout.board().height());
        EXPECT_LE(spare, std::lround(layout.scale().px(240) + 2));
    }
}

}  // namespace
}  // namespace quimbra::window
