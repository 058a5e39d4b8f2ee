#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include <QTest>
#include <cstring>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "board/tavola.h"
#include "game/question_generator.h"
#include "game/random_source.h"
#include "recording_events.h"

namespace quimbra::window {
namespace {

using testing::RecordingEvents;

class BehaviourTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.start();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
    }
    void focusAnswer() {
        controls.focus = Focus::txtAnswer;
        window.render();
        ASSERT_EQ(window.focusWidget(), window.txtAnswer());
    }
    Controls controls;
    RecordingEvents events;
    Tavola window{controls, events};
};

// Every typed character goes through the key filter; what it refuses never
// reaches the box, a fifth character is refused, and the box's text is
// written back into the model.
TEST_F(BehaviourTest, TypedCharactersPassTheKeyFilter) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"12", "12"}, {"1a2", "12"}, {"-3", "3"}, {"4.5", "45"}, {" 7", "7"}, {"12345", "1234"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        controls.txtAnswer.clear();
        window.render();
        focusAnswer();
        events.keys.clear();
        QTest::keyClicks(window.txtAnswer(), c.typed);
        EXPECT_EQ(window.txtAnswer()->text(), c.shown);
        EXPECT_EQ(controls.txtAnswer, c.shown);
        // The fifth digit is offered to the filter but the box has no room.
        EXPECT_EQ(events.keys.size(), std::strlen(c.typed));
    }
}

// Copy, paste, cut and Escape do nothing in the box; moving and deleting
// keys work without going through the filter.
TEST_F(BehaviourTest, EditingKeysInTheAnswerBox) {
    focusAnswer();
    AnswerBox* box = window.txtAnswer();
    QTest::keyClicks(box, "123");
    QApplication::clipboard()->setText("99");
    events.keys.clear();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Escape);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "123");
    EXPECT_EQ(QApplication::clipboard()->text(), "99");
    EXPECT_EQ(events.keys, (std::vector<int>{22, 27, 24, 3}));

    events.keys.clear();
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "23");
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "3");
    EXPECT_EQ(controls.txtAnswer, "3");
    EXPECT_EQ(events.keys, std::vector<int>{8});

    // The filter decides about Backspace too.
    events.filter = [](int) { return 0; };
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "3");
}

// The context menu's paste still works: what it brings is left to the game,
// and the model has it at the game's next event.
TEST_F(BehaviourTest, PasteFromTheContextMenuReachesTheModel) {
    focusAnswer();
    QApplication::clipboard()->setText("4x56789");
    window.txtAnswer()->paste();
    EXPECT_EQ(window.txtAnswer()->text(), "4x56");
    QTest::keyClick(window.txtAnswer(), Qt::Key_Return);  // the next event the game sees
    EXPECT_EQ(controls.txtAnswer, "4x56");
}

// Enter anywhere in the window goes to the game, which decides what it
// means; it never reaches the key filter.
TEST_F(BehaviourTest, EnterGoesToTheGameFromEveryControl) {
    controls.cmdNextEnabled = true;
    window.render();
    for (Focus focus : {Focus::txtAnswer, Focus::cmdNext, Focus::cmdExit}) {
        controls.focus = focus;
        window.render();
        events.calls.clear();
        events.keys.clear();
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(events.calls, (std::vector<std::string>{"pressEnter", "pressEnter"}));
        EXPECT_TRUE(events.keys.empty());
    }
}

// Tab runs cmdExit, cmdNext, txtAnswer and skips cmdNext while disabled; the
// model has the focus at the game's next event. A button reached by Tab shows a focus mark; one
// the game gives the focus to does not, as on the desktop.
TEST_F(BehaviourTest, TabOrderSkipsTheDisabledNextButton) {
    const auto marked = [this](QWidget* w) {
        if (w == window.txtAnswer()) {
            return false;
        }
        const QImage image = w->grab().toImage();
        return image.pixel(std::max(4, window.scale().px(60)) + 1, image.height() / 2) ==
               window.palette().color(QPalette::WindowText).rgb();
    };
    struct Case {
        bool nextEnabled;
        std::vector<QWidget*> order;
    };
    const Case cases[] = {
        {true, {window.cmdNext(), window.txtAnswer(), window.cmdExit()}},
        {false, {window.txtAnswer(), window.cmdExit(), window.txtAnswer()}},
    };
    const std::map<QWidget*, Focus> names = {{window.cmdExit(), Focus::cmdExit},
                                             {window.cmdNext(), Focus::cmdNext},
                                             {window.txtAnswer(), Focus::txtAnswer}};
    for (const Case& c : cases) {
        focusAnswer();
        controls.cmdNextEnabled = c.nextEnabled;
        controls.focus = Focus::cmdExit;
        window.render();
        ASSERT_EQ(QApplication::focusWidget(), window.cmdExit());
        EXPECT_FALSE(marked(window.cmdExit()));
        for (QWidget* expected : c.order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), expected);
            window.newGameAction()->trigger();  // an event: the game reads the focus
            EXPECT_EQ(controls.focus, names.at(expected));
            EXPECT_EQ(marked(expected), expected != window.txtAnswer());
        }
    }
}

// The buttons' access keys click them; a disabled button takes no click.
TEST_F(BehaviourTest, AccessKeysClickTheButtons) {
    controls.cmdNextEnabled = true;
    window.render();
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(events.count("clickExit"), 1, 2000);
    EXPECT_EQ(events.count("clickNext"), 1);

    controls.cmdNextEnabled = false;
    window.render();
    QTest::mouseClick(window.cmdNext(), Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(events.count("clickNext"), 1);
}

// F10 highlights the menu bar: the arrows reach "NUOVO GIOCO" and Enter
// chooses it; meanwhile no key reaches the answer box or the game's Enter.
TEST_F(BehaviourTest, MenuBarWorksFromTheKeyboard) {
    focusAnswer();
    QMenuBar* bar = window.menuBar();
    // Keys go where a real keyboard sends them: an open list, else the focus.
    const auto target = [this]() -> QWidget* {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : window.focusWidget();
    };
    QTest::keyClick(target(), Qt::Key_F10);
    ASSERT_EQ(bar->activeAction(), bar->actions().at(0));
    // The first menu's list opens and its read-aloud item reaches the game.
    QTest::keyClick(target(), Qt::Key_Down);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(target(), Qt::Key_Down);
    QTest::keyClick(target(), Qt::Key_Return);
    EXPECT_EQ(events.count("switchReadAloud"), 1);
    QTest::keyClick(target(), Qt::Key_F10);
    ASSERT_EQ(bar->activeAction(), bar->actions().at(0));
    QTest::keyClick(target(), Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), bar->actions().at(1));
    QTest::keyClick(target(), Qt::Key_5);
    EXPECT_EQ(window.txtAnswer()->text(), "");
    QTest::keyClick(target(), Qt::Key_Return);
    EXPECT_EQ(events.count("clickNewGame"), 1);
    EXPECT_EQ(events.count("pressEnter"), 0);
    EXPECT_EQ(bar->activeAction(), nullptr);
    // Escape leaves the menu bar; the box takes digits again.
    QTest::keyClick(target(), Qt::Key_F10);
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QTest::keyClick(popup, Qt::Key_Escape);
    }
    if (bar->activeAction() != nullptr) {
        QTest::keyClick(target(), Qt::Key_Escape);
    }
    EXPECT_EQ(bar->activeAction(), nullptr);
    QTest::keyClick(target(), Qt::Key_7);
    EXPECT_EQ(window.txtAnswer()->text(), "7");
}

// The window's first showing raises resize then activation, once per load;
// showing it again or restoring it does not activate again.
TEST_F(BehaviourTest, ActivationComesOnceAfterTheFirstShowing) {
    EXPECT_EQ(events.calls, (std::vector<std::string>{"resize", "activate"}));
    window.hide();
    window.start();
    window.setWindowState(Qt::WindowMinimized);
    window.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(events.count("activate"), 1);
}

// Minimizing and restoring write the state into the model, then resize.
TEST_F(BehaviourTest, WindowStateChangesReachTheModel) {
    events.calls.clear();
    std::vector<WindowState> seen;
    window.setWindowState(Qt::WindowMinimized);
    seen.push_back(controls.windowState);
    window.setWindowState(Qt::WindowNoState);
    seen.push_back(controls.windowState);
    EXPECT_EQ(seen, (std::vector<WindowState>{WindowState::minimized, WindowState::normal}));
    EXPECT_EQ(events.count("resize"), 2);
}

// The title is exactly what the model holds, leading blanks included.
TEST_F(BehaviourTest, TitleIsTheModelsText) {
    const char* titles[] = {"Sono in attesa...Cliccami!",
                            "                                        Gioca"};
    for (const char* title : titles) {
        controls.title = title;
        window.render();
        EXPECT_EQ(window.windowTitle().toStdString(), title);
    }
}

// Timer1 runs while the model enables it, ticks once a second, and the
// window shows what the tick wrote.
TEST_F(BehaviourTest, TimerFollowsTheModelAndTicks) {
    EXPECT_TRUE(window.timer1().isActive());
    EXPECT_EQ(window.timer1().interval(), 1000);
    events.onTick = [this] { controls.lblconto.caption = "00:14:59"; };
    QTRY_COMPARE_WITH_TIMEOUT(events.count("tick"), 1, 2500);
    EXPECT_EQ(window.label("lblconto")->text(), "00:14:59");

    controls.timer1Enabled = false;
    window.render();
    EXPECT_FALSE(window.timer1().isActive());
    controls.timer1Enabled = true;
    events.isOver = true;
    window.render();
    EXPECT_FALSE(window.timer1().isActive());
}

// Auto-size labels take their text's size keeping the top left corner; a
// line end (CR LF from the record files) gives an empty second line, never
// a visible control character; fixed labels keep their size.
TEST_F(BehaviourTest, AutoSizeLabelsFollowTheirText) {
    QLabel* name = window.label("lblnome");
    const QRect before = name->geometry();
    controls.lblnome.caption = "Giovanna";
    window.render();
    const QRect oneLine = name->geometry();
    EXPECT_EQ(oneLine.topLeft(), before.topLeft());
    EXPECT_GT(oneLine.width(), before.width());

    controls.lblnome.caption = "Giovanna\r\n";
    window.render();
    EXPECT_EQ(name->geometry().topLeft(), before.topLeft());
    EXPECT_EQ(name->geometry().width(), oneLine.width());
    // Two lines: the second one a line's spacing (its height and leading) below.
    EXPECT_EQ(name->geometry().height(),
              oneLine.height() + QFontMetrics(name->font()).lineSpacing());
    EXPECT_EQ(name->text(), "Giovanna\n");

    controls.lblnome.caption = "Al";
    window.render();
    EXPECT_LT(name->geometry().width(), oneLine.width());

    QLabel* score = window.label("lblScore");
    const QRect scoreBefore = score->geometry();
    controls.lblScore.caption = "1";
    window.render();
    const int oneDigit = score->width();
    EXPECT_EQ(oneDigit, window.label("lblScore1")->width()) << "1 and 0 in boxes of one width";
    controls.lblScore.caption = "123";
    window.render();
    EXPECT_GT(score->width(), oneDigit);
    EXPECT_EQ(score->geometry().topLeft(), scoreBefore.topLeft());

    QLabel* numerator = window.label("lblnum2");
    const QRect fixed = numerator->geometry();
    controls.lblnum2.caption = "10";
    controls.lblnum1.caption = "180";
    window.render();
    EXPECT_EQ(numerator->geometry(), fixed);
    EXPECT_EQ(window.label("lblnum1"), nullptr);
    const QList<QLabel*> labels = window.board()->findChildren<QLabel*>();
    EXPECT_TRUE(std::none_of(labels.begin(), labels.end(),
                             [](const QLabel* l) { return l->text() == "180"; }));
}

// Drawing the same model twice gives the same picture.
TEST_F(BehaviourTest, DrawingTwiceChangesNothing) {
    MixingRandom random(7);
    GameState state;
    QuestionGenerator(state, controls, random).poseQuestion();
    window.render();
    const QImage first = window.board()->grab().toImage();
    window.render();
    const QImage second = window.board()->grab().toImage();
    EXPECT_EQ(first, second);
}

// After a question, only the question's row is shown: its first N pieces
// light green, the rest cyan, as sampled from the drawn window.
TEST_F(BehaviourTest, FractionBarIsDrawnAsTheQuestionColoursIt) {
    MixingRandom random(12345);
    GameState state;
    QuestionGenerator generator(state, controls, random);
    std::set<int> kinds;
    for (int question = 0; question < 60 && kinds.size() < 8; ++question) {
        generator.poseQuestion();
        window.render();
        kinds.insert(state.kind);
        const QImage image = window.board()->grab().toImage();
        const int denominator = state.denominator;
        const int numerator = std::stoi(controls.lblnum2.caption);
        for (int row = 1; row <= 9; ++row) {
            const int count = controls.Shape(row).count();
            for (int index = 1; index <= count; ++index) {
                QFrame* piece = window.piece(row, index);
                SCOPED_TRACE(::testing::Message()
                             << "question " << question << " Shape" << row << "(" << index << ")");
                if (count != denominator) {
                    EXPECT_TRUE(piece->isHidden());
                    continue;
                }
                ASSERT_FALSE(piece->isHidden());
                const QColor expected =
                    index <= numerator ? QColor(128, 255, 128) : QColor(0, 255, 255);
                const QPoint centre = piece->geometry().center();
                EXPECT_EQ(image.pixelColor(centre), expected);
            }
        }
    }
    EXPECT_EQ(kinds.size(), 8U);
}

// Piece 2 of the last row shows the window background, whatever its fill.
TEST_F(BehaviourTest, UnfilledPieceShowsTheWindowBackground) {
    controls.Shape(9)(2).fill = colours::red;
    window.render();
    const QImage image = window.board()->grab().toImage();
    const QPoint centre = window.piece(9, 2)->geometry().center();
    EXPECT_EQ(image.pixelColor(centre), window.palette().color(QPalette::Base));
    EXPECT_EQ(image.pixelColor(window.piece(9, 1)->geometry().center()), QColor(Qt::white));
}

// At whiteboard sizes, 5:4 to 21:9: one sea (the board's edges show the sea
// drawn without the board), a grown menu whose
// items stay apart, and wherever the board at its design size leaves room,
// the pad on its right: keys of a fingertip's size, none in the top 30 % of
// the window; a tap types into the box, once however often the board
// registers it.
TEST_F(BehaviourTest, WhiteboardSizesShowOneSeaAGrownMenuAndThePad) {
    focusAnswer();
    QMenuBar* bar = window.menuBar();
    const auto spacing = [bar](int item) {
        QAction* a = bar->actions().at(item);
        return bar->actionGeometry(a).width() -
               QFontMetrics(bar->font()).horizontalAdvance(QString(a->text()).remove(u'&'));
    };
    const int designSpacing = spacing(1);
    struct Case {
        QSize size;
        bool pad;
        int keyWidth;  // a fingertip's: 7 % of the window's width, at least 60 px
    };
    for (const Case& c : {Case{{800, 1000}, false, 0},
                          {{1000, 700}, true, 70},
                          {{1280, 770}, true, 90},
                          {{1280, 994}, true, 90},
                          {{1920, 1040}, true, 134},
                          {{2560, 1040}, true, 179},
                          {{3840, 2120}, true, 269}}) {
        SCOPED_TRACE(c.size.width());
        window.resize(c.size);
        QTest::qWait(200);
        ASSERT_EQ(window.pad() != nullptr, c.pad);
        const double factor = window.scale().factor();
        EXPECT_EQ(bar->font().pixelSize(), std::lround(11 * factor));
        EXPECT_GE(spacing(1), std::lround(designSpacing * factor) - 1);
        // Just outside and inside each side of the board, the window shows
        // the sea as drawn without the board.
        const QImage sea = window.centralWidget()->grab().toImage();
        QImage bare(sea.size(), sea.format());
        window.centralWidget()->render(&bare, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QRect board = window.board()->geometry();
        for (int twips : {3000, 4000, 5000, 5700, 7000}) {  // rows where no label meets an edge
            const int y = board.top() + window.scale().px(twips);
            for (int x : {board.left() - 1, board.left(), board.right(), board.right() + 1}) {
                if (x >= 0 && x < sea.width()) {
                    EXPECT_EQ(sea.pixel(x, y), bare.pixel(x, y)) << x << "," << y;
                }
            }
        }
        // The sea reaches the bottom of a tall window too: blue, not the yellow below it.
        const QRgb bottom = sea.pixel(0, sea.height() - 1);
        EXPECT_GT(qBlue(bottom), qRed(bottom));
        if (!c.pad) {
            continue;
        }
        const QRect pad(window.pad()->mapTo(&window, QPoint(0, 0)), window.pad()->size());
        EXPECT_GT(pad.left(), window.board()->mapTo(&window, QPoint(board.width() - 1, 0)).x());
        EXPECT_LE(pad.right(), window.width());
        EXPECT_GE(pad.top(), 0.3 * window.height());
        for (auto* key : window.pad()->findChildren<QPushButton*>()) {
            EXPECT_GE(std::min(key->width(), key->height()), 60);
            EXPECT_EQ(key->width(), c.keyWidth);
        }
    }
    const std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
    // Invio on the empty box does nothing; "2" registered twice is one "2".
    for (const char* name : {"Invio", "4", "2", "2", "Cancella", "7", "", "Invio"}) {
        if (*name == '\0') {
            QTest::qWait(NumberPad::bounceMs);  // Invio once more, as a second tap
            continue;
        }
        auto* key = window.pad()->findChild<QPushButton*>(QStringLiteral("pad%1").arg(name));
        ASSERT_NE(key, nullptr) << name;
        const QPoint at = key->mapTo(&window, key->rect().center());
        QTest::touchEvent(&window, screen.get()).press(0, at);
        QTest::touchEvent(&window, screen.get()).release(0, at);
    }
    EXPECT_EQ(window.txtAnswer()->text(), "47");
    EXPECT_EQ(events.keys, (std::vector<int>{'4', '2', 8, '7'}));
    EXPECT_EQ(events.count("pressEnter"), 1);
    EXPECT_EQ(QApplication::focusWidget(), window.txtAnswer());

    // The teacher's way out of full screen by touch: the stopwatch held, not tapped.
    QSignalSpy switched(&window, &Tavola::fullScreenSwitched);
    for (const int held : {Tavola::holdMs / 3, Tavola::holdMs + 300}) {
        QTest::mousePress(window.image1(), Qt::LeftButton);
        QTest::qWait(held);
        QTest::mouseRelease(window.image1(), Qt::LeftButton);
    }
    EXPECT_EQ(switched.count(), 1);
}

}  // namespace
}  // namespace quimbra::window
