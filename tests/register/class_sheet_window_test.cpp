// The teacher's window, on the offscreen platform: what a teacher does with
// the class sheet.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "records/class_sheet.h"
#include "records/class_sheet_file.h"
#include "register/class_sheet_pdf.h"
#include "register/class_sheet_window.h"

QT_BEGIN_NAMESPACE
// Failures show the text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE

namespace quimbra::teacher {
namespace {

// The teacher's window: the name filter and the summary ignore case, the period counts from the
// given day, sorting goes by the number, and the summary is that of the rows shown, its last game
// the newest.
TEST(ClassSheetWindowTest, FilterPeriodAndSortMeetInTheRowsAndTheSummary) {
    QTemporaryDir dir;
    QFile sheet(dir.filePath("registro.csv"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write(
        "2025-05-01;10:00;Ada;9;0;9;05:00;;PC\r\n2026-09-15;10:00;Ada;5;1;6;05:00;;PC\r\n"
        "2026-12-07;09:00;Niccol\xC3\xB2;3;2;5;05:00;;PC\r\n2026-12-07;10:00;Ada;8;0;8;05:00;;"
        "PC\r\n"
        "2026-12-09;9:30;NICCOL\xC3\x92;10;0;10;05:00;s\xC3\xAC;PC\r\n2026-12-09;11:00;Bea;4;0;4;"
        "05:00;;PC\r\n2026-12-09;11:30;Zo\xC3\xA8;4;0;4;05:00;;PC\r\n");
    sheet.close();
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    const auto cell = [](QAbstractItemModel* model, int row, int column) {
        return model->index(row, column).data().toString();
    };
    QAbstractItemModel* rows = window.rowsView()->model();
    for (const char* typed : {"zoe", "ZOÈ", "zoé"}) {  // accents and case aside
        window.nameFilter()->setText(QString::fromUtf8(typed));
        EXPECT_EQ(rows->rowCount(), 1) << typed;
    }
    window.nameFilter()->setText(QString::fromUtf8("niccolo"));
    window.period()->setCurrentIndex(1);  // this week
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(cell(rows, 0, 1), "9:30");  // newest first
    // Sorted from the keyboard: the table's context menu, its column once
    // more the other way.
    const auto sortBy = [&](QTableView* view, const QString& title) {
        for (QAction* action : view->actions()) {
            if (action->text() == "Ordina per " + title) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no action sorts by " << title.toStdString();
    };
    sortBy(window.rowsView(), "Esatte");
    EXPECT_EQ(cell(rows, 0, 3), "3");
    sortBy(window.rowsView(), "Esatte");
    EXPECT_EQ(cell(rows, 0, 3), "10");
    sortBy(window.rowsView(), "Esatte");
    QAbstractItemModel* pupils = window.pupilsView()->model();
    ASSERT_EQ(pupils->rowCount(), 1);  // one pupil, as last typed
    EXPECT_EQ(cell(pupils, 0, 0) + cell(pupils, 0, 1), QString::fromUtf8("NICCOLÒ2"));

    window.nameFilter()->setText("ada");
    window.period()->setCurrentIndex(2);  // this school year, from September 1st
    ASSERT_EQ(rows->rowCount(), 2);
    ASSERT_EQ(pupils->rowCount(), 1);
    const QStringList summary = {cell(pupils, 0, 0), cell(pupils, 0, 1), cell(pupils, 0, 2),
                                 cell(pupils, 0, 3), cell(pupils, 0, 4)};
    EXPECT_EQ(summary, QStringList({"Ada", "2", "8", "8", "6,5"}));
    // The PDF: its title says what it holds, the chosen pupil's chart has
    // the games' dates, and a long sheet is numbered page by page.
    SheetPrint print = window.currentView();
    EXPECT_EQ(print.title, QString::fromUtf8("Registro di Quimbra, anno in corso, periodo: "
                                             "Quest'anno scolastico, nomi con «ada»"));
    EXPECT_EQ(print.chartDates, QStringList({"15/09", "07/12"}));
    EXPECT_EQ(writeSheetPdf(dir.filePath("one.pdf"), print), 1);
    print.rows.resize(300, print.rows.front());
    EXPECT_GT(writeSheetPdf(dir.filePath("many.pdf"), print), 3);
    sortBy(window.pupilsView(), "Partite");
    EXPECT_EQ(window.pupilsView()->horizontalHeader()->sortIndicatorSection(), 1);
}

// "Nuovo anno scolastico" keeps the sheet under its school year, which the
// choice of year opens again, read-only.
TEST(ClassSheetWindowTest, PastYearsOpenReadOnly) {
    QTemporaryDir dir;
    QFile sheet(dir.filePath("registro.csv"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("2026-10-01;10:00;Ada;9;0;9;05:00;;PC\r\n");
    sheet.close();
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    records::ClassSheetFile(dir.path().toStdString(), records::systemFileOperations())
        .startNewYear(2026);
    window.load();
    auto* year = window.findChild<QComboBox*>();
    for (QComboBox* box : window.findChildren<QComboBox*>()) {
        year = box->accessibleName() == "Anno scolastico" ? box : year;
    }
    ASSERT_EQ(year->count(), 2);
    EXPECT_EQ(window.rowsView()->model()->rowCount(), 0);
    year->setCurrentIndex(1);
    emit year->activated(1);
    EXPECT_EQ(year->currentText(), "2026-2027 (archiviato)");
    EXPECT_EQ(window.rowsView()->model()->rowCount(), 1);
    EXPECT_FALSE(window.newYearButton()->isEnabled());
}

#ifndef _WIN32
// With no program for CSV files, "Apri nel foglio di calcolo" says so.
TEST(ClassSheetWindowTest, SaysSoWhenNoProgramOpensTheSheet) {
    QTemporaryDir dir;
    QFile sheet(dir.filePath("registro.csv"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.close();
    // xdg-open's answer when no program takes the file.
    QFile opener(dir.filePath("xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 3\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit() + ":" + path);
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    window.openButton()->click();
    const auto told = [&] {
        for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
            if (box->isVisible() && box->text().startsWith("Nessun programma")) {
                return true;
            }
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(told(), 5000);
    qputenv("PATH", path);
}
#endif

// A sheet that LibreOffice Calc opened and saved again, in Italy, is read
// back whole, and the games that end afterwards are added to it.
TEST(ClassSheetWindowTest, ReadsTheSheetCalcSavedAgain) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "no soffice: LibreOffice Calc (libreoffice-calc-nogui) is not installed";
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("in");
    const char* const names[] = {"Zo\xC3\xA8", "=1+1", "Rossi; Ada", "Il \"Bello\"", "+39", "Bea"};
    std::string bytes = records::classSheetHeader();
    QStringList expected;
    for (int i = 0; i < 6; ++i) {
        const records::SheetRow row{"2026-12-0" + std::to_string(i + 1),
                                    std::to_string(8 + i) + ":52",
                                    names[i],
                                    i,
                                    1,
                                    i + 1,
                                    "1" + std::to_string(i) + ":05",
                                    i % 2 == 0,
                                    "PC-" + std::to_string(i)};
        bytes += records::formatSheetRow(row);
        expected << QString::fromUtf8(names[i]) + " " + QString::fromStdString(row.played);
    }
    QFile in(dir.filePath("in/registro.csv"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(bytes.data(), qsizetype(bytes.size()));
    in.close();
    // ';', '"', UTF-8, from the first line, Italian: as Calc in Italy opens and saves it.
    const QString options = "59,34,76,1,,1040";
    QProcess calc;
    calc.start(
        soffice,
        {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
         "--headless", "--infilter=CSV:" + options, "--convert-to",
         "csv:Text - txt - csv (StarCalc):" + options, "--outdir", dir.path(), in.fileName()});
    ASSERT_TRUE(calc.waitForFinished(100000));
    QFile saved(dir.filePath("registro.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    ASSERT_TRUE(saved.readAll().contains("08:52:00"));  // Calc's own forms
    saved.close();

    records::ClassSheetFile file(dir.path().toStdString(), records::systemFileOperations());
    ASSERT_TRUE(file.append({"2026-12-09", "12:00", "Eva", 3, 0, 3, "02:00", false, "PC"}).ok());
    expected << "Eva 02:00";
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    QAbstractItemModel* rows = window.rowsView()->model();
    QStringList read;
    for (int r = 0; r < rows->rowCount(); ++r) {
        read << rows->index(r, 2).data().toString() + " " + rows->index(r, 6).data().toString();
    }
    expected.sort();
    read.sort();
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(window.status()->text().contains("danneggiat"))
        << window.status()->text().toStdString();
}

}  // namespace
}  // namespace quimbra::teacher
