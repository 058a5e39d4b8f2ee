#include <QApplication>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "board/qt_platform.h"
#include "recording_events.h"

namespace quimbra::window {
namespace {

using testing::RecordingEvents;

// Runs answer on the dialog once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog*)> answer) {
    QTimer::singleShot(50, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

class QtPlatformTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { installQtTranslations(); }
    QtPlatform platform;
};

// The confirmation's No is the default and the escape; a Yes/No box with
// its first button the default takes Enter as Yes; OK boxes answer OK; an
// empty title is the application's.
TEST_F(QtPlatformTest, MessageBoxesAnswerAsTheGameNumbersThem) {
    struct Case {
        BoxStyle style;
        const char* title;
        std::function<void(QMessageBox*)> act;
        Answer answer;
        QMessageBox::Icon icon;
        const char* shownTitle;
        double scale = 1.0;
        const char* text = "Vuoi veramente lasciarmi  ?";
        const char* shownText = text;  // a drive's colon joined to its path
    };
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    const auto space = [](QMessageBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Space); };
    const auto yes = [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); };
    const BoxStyle confirm = boxes::yesNoQuestionDefaultNo;
    const BoxStyle yesFirst{BoxStyle::Buttons::yesNo, BoxStyle::Icon::question,
                            BoxStyle::Default::first};
    const BoxStyle ok = boxes::okOnly;
    const Case cases[] = {
        {confirm, "Uscire dal programma", key(Qt::Key_Return), Answer::no, QMessageBox::Question,
         "Uscire dal programma"},
        {confirm, "", key(Qt::Key_Escape), Answer::no, QMessageBox::Question, "Quimbra"},
        {confirm, "", space, Answer::no, QMessageBox::Question, "Quimbra"},
        {confirm, "", yes, Answer::yes, QMessageBox::Question, "Quimbra"},
        {yesFirst, "", key(Qt::Key_Return), Answer::yes, QMessageBox::Question, "Quimbra"},
        {ok, "", key(Qt::Key_Return), Answer::ok, QMessageBox::NoIcon, "Quimbra"},
        {ok, "Data 08/12/2026", key(Qt::Key_Escape), Answer::ok, QMessageBox::NoIcon,
         "Data 08/12/2026"},
        {confirm, "", key(Qt::Key_Return), Answer::no, QMessageBox::Question, "Quimbra", 1.5},
        {ok, "", key(Qt::Key_Return), Answer::ok, QMessageBox::NoIcon, "Quimbra", 1.0,
         "Non scrivo C:\\Dati: vedi D:\\, non D: o \\\\server\\q",
         "Non scrivo C:\u2060\\Dati: vedi D:\u2060\\, non D: o \\\\server\\q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
        QString seenTitle;
        QString seenText;
        QMessageBox::Icon seenIcon = QMessageBox::Critical;
        platform.setDialogScale(c.scale);
        whenOpen<QMessageBox>([&](QMessageBox* box) {
            EXPECT_DOUBLE_EQ(box->findChild<QLabel*>("qt_msgbox_label")->font().pointSizeF(),
                             QApplication::font().pointSizeF() * c.scale);
            const QAbstractButton* no = box->buttons().front();
            EXPECT_GE(no->height(), int(QPushButton(no->text()).sizeHint().height() * c.scale));
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            c.act(box);
        });
        EXPECT_EQ(platform.messageBox(c.text, c.style, c.title), c.answer);
        EXPECT_EQ(seenTitle, c.shownTitle);
        EXPECT_EQ(seenText, QString::fromUtf8(c.shownText));
        EXPECT_EQ(seenIcon, c.icon);
    }
}

// Qt's own translations name the buttons; on this game's systems, in Italian.
TEST_F(QtPlatformTest, ConfirmationButtonsAreTranslated) {
    QString yesText;
    whenOpen<QMessageBox>([&](QMessageBox* box) {
        yesText = box->button(QMessageBox::Yes)->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    platform.messageBox("?", boxes::yesNoQuestionDefaultNo, "");
    const QString language = QLocale::system().name().left(2);
    if (language == "it" || language == "C" || language.isEmpty()) {
        EXPECT_EQ(yesText.remove(u'&'), QString::fromUtf8("S\u00ec"));
    } else {
        EXPECT_FALSE(yesText.isEmpty());
    }
}

// The input box returns what was typed, and nothing on Cancel. Drawn larger,
// or on a whiteboard at any factor, it has a letter pad whose keys, as large
// as its buttons at least, type a name with a capital first letter, and
// leave Enter to OK. On a whiteboard its text is as large as the board's
// question (18 px at design size) and its box below the screen's top 30 %.
TEST_F(QtPlatformTest, InputBoxReturnsTheTextOrNothing) {
    struct Case {
        double scale;
        bool whiteboard;
        QString typed;
        QStringList tapped;  // the letter pad's keys, by their accessible names
        Qt::Key close;
        std::string answer;
    };
    const Case cases[] = {
        {1.0, false, "Anna Maria", {}, Qt::Key_Return, "Anna Maria"},
        {1.0, false, "Anna Maria", {}, Qt::Key_Escape, ""},
        {1.0, true, "", {"A", "N", "N", "A"}, Qt::Key_Return, "Anna"},
        {2.0,
         false,
         "",
         {"N", "I", "X", "Cancella", "C", "C", "O", "L", "\u00f2", "Spazio", "M"},
         Qt::Key_Return,
         "Niccol\u00f2 m"},
        {1.5, false, "Mat", {"T", "\u00e8"}, Qt::Key_Return, "Matt\u00e8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        platform.setDialogScale(c.scale);
        platform.setWhiteboard(c.whiteboard);
        QString title;
        whenOpen<QInputDialog>([&](QInputDialog* dialog) {
            title = dialog->windowTitle();
            EXPECT_EQ(dialog->textValue(), "");
            const QFont font = dialog->findChild<QLabel*>()->font();
            if (c.whiteboard) {
                EXPECT_GE(QFontInfo(font).pixelSize(), 18 * c.scale);
                EXPECT_GE(dialog->findChild<QLineEdit*>()->mapToGlobal(QPoint()).y(),
                          0.3 * dialog->screen()->size().height());
            } else {
                EXPECT_DOUBLE_EQ(font.pointSizeF(), QApplication::font().pointSizeF() * c.scale);
            }
            auto* pad = dialog->findChild<QWidget*>("letterPad");
            ASSERT_EQ(pad != nullptr, c.scale > 1.0 || c.whiteboard);
            const QPushButton* ok =
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            for (const QPushButton* key :
                 pad ? pad->findChildren<QPushButton*>() : QList<QPushButton*>()) {
                // On a narrow screen the eight keys of a row share its width.
                EXPECT_GE(key->width(),
                          std::min(ok->width(), dialog->screen()->size().width() / 10));
                EXPECT_GE(key->height(), ok->height());
            }
            EXPECT_LE(dialog->width(), dialog->screen()->size().width());
            QTest::keyClicks(dialog->focusWidget(), c.typed);
            for (const QString& name : c.tapped) {
                for (QPushButton* key : pad->findChildren<QPushButton*>()) {
                    if (key->accessibleName() == name) {
                        key->click();
                    }
                }
            }
            QTest::keyClick(dialog->focusWidget(), c.close);
        });
        EXPECT_EQ(platform.inputBox("Come ti chiami?"), c.answer);
        EXPECT_EQ(title, "Quimbra");
    }
}

// Before a dialog opens the window shows the current model; the clock keeps
// ticking into the game while the dialog is open.
TEST_F(QtPlatformTest, WindowIsCurrentBehindDialogsAndTheClockRuns) {
    Controls controls;
    RecordingEvents events;
    Tavola window(controls, events);
    window.start();
    platform.setWindow(&window);
    controls.lblMessage.caption = "Sbagliato!! 48";
    QString behind;
    QWidget* parent = nullptr;
    QTimer::singleShot(1300, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        behind = window.label("lblMessage")->text();
        parent = box->parentWidget();
        QTest::keyClick(box, Qt::Key_Return);
    });
    platform.messageBox("Tempo scaduto", boxes::okOnly, "");
    EXPECT_EQ(behind, "Sbagliato!! 48");
    EXPECT_EQ(parent, &window);
    EXPECT_GE(events.count("tick"), 1);

    // The dialogs after a maximized window goes are drawn at its factor.
    window.showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(window.scale().factor() > 1.0, 2000);
    platform.setWindow(nullptr);
    EXPECT_EQ(platform.dialogScale(), window.scale().factor());
}

#ifdef _WIN32
// The user's short date format: whatever its order, day, month and year.
TEST(ShortDate, UsersFormatOnWindows) {
    const std::string date = systemShortDate(QDate(2026, 12, 8));
    EXPECT_NE(date.find("8"), std::string::npos) << date;
    EXPECT_NE(date.find("12"), std::string::npos) << date;
    EXPECT_NE(date.find("26"), std::string::npos) << date;
    EXPECT_EQ(date.find(':'), std::string::npos) << "date only: " << date;
}
#else
// The C library's short date of the current locale: under Italian the year
// has four digits, as `date +%x` writes it (Qt's own short format has two).
TEST(ShortDate, ItalianLocale) {
    const std::string before = std::setlocale(LC_TIME, nullptr);
    if (std::setlocale(LC_TIME, "it_IT.UTF-8") == nullptr) {
        GTEST_SKIP() << "no it_IT.UTF-8 locale";
    }
    const std::string date = systemShortDate(QDate(2026, 12, 8));
    std::setlocale(LC_TIME, "C");
    const std::string plain = systemShortDate(QDate(2026, 12, 8));
    std::setlocale(LC_TIME, before.c_str());
    EXPECT_EQ(date, "08/12/2026");
    EXPECT_EQ(plain, "12/08/26") << "the C locale's own";
}
#endif

}  // namespace
}  // namespace quimbra::window
