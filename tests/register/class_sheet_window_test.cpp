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

namespace quimbra::teacher {
namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The teacher's window: the name filter and the summary ignore case, the period counts from the
// given day, sorting goes by the number, and the summary is that of the rows shown, its last game
// the newest.
TEST(ClassSheetWindowTest, FilterPeriodAndSortMeetInTheRowsAndTheSummary) {
    QTemporaryDir dir;
    write(dir.filePath("registro.csv"),
          "2025-05-01;10:00;Ada;9;0;9;05:00;;PC\r\n2026-09-15;10:00;Ada;5;1;6;05:00;;PC\r\n"
          "2026-12-07;09:00;Niccol\xC3\xB2;3;2;5;05:00;;PC\r\n2026-12-07;10:00;Ada;8;0;8;05:00;;"
          "PC\r\n"
          "2026-12-09;9:30;NICCOL\xC3\x92;10;0;10;05:00;s\xC3\xAC;PC\r\n2026-12-09;11:00;Bea;4;0;4;"
          "05:00;;PC\r\n2026-12-09;11:30;Zo\xC3\xA8;4;0;4;05:00;;PC\r\n");
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
    // Sorted from the keyboard: the table's context menu sorts by each
    // column; the same column once more sorts the other way.
    QAction* byRight = window.rowsView()->actions().value(3);
    ASSERT_TRUE(byRight && byRight->text() == "Ordina per Esatte");
    byRight->trigger();
    EXPECT_EQ(cell(rows, 0, 3), "3");
    byRight->trigger();
    EXPECT_EQ(cell(rows, 0, 3), "10");
    byRight->trigger();
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
    ASSERT_EQ(window.pupilsView()->actions().size(), 5);
    window.pupilsView()->actions()[1]->trigger();
    EXPECT_EQ(window.pupilsView()->horizontalHeader()->sortIndicatorSection(), 1);
}

// "Nuovo anno scolastico" keeps the sheet under its school year, which the
// choice of year opens again, read-only.
TEST(ClassSheetWindowTest, PastYearsOpenReadOnly) {
    QTemporaryDir dir;
    write(dir.filePath("registro.csv"), "2026-10-01;10:00;Ada;9;0;9;05:00;;PC\r\n");
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    records::ClassSheetFile(dir.path().toStdString(), records::systemFileOperations())
        .startNewYear(2026);
    window.load();
    ASSERT_EQ(window.year()->count(), 2);
    EXPECT_EQ(window.rowsView()->model()->rowCount(), 0);
    window.year()->setCurrentIndex(1);
    emit window.year()->activated(1);
    EXPECT_EQ(window.year()->currentText(), "2026-2027 (archiviato)");
    EXPECT_EQ(window.rowsView()->model()->rowCount(), 1);
    EXPECT_FALSE(window.newYearButton()->isEnabled());
}

#ifndef _WIN32
// With no program for CSV files (xdg-open's answer: 3), "Apri nel foglio di
// calcolo" says so.
TEST(ClassSheetWindowTest, SaysSoWhenNoProgramOpensTheSheet) {
    QTemporaryDir dir;
    write(dir.filePath("registro.csv"), "");
    write(dir.filePath("xdg-open"), "#!/bin/sh\nexit 3\n");
    QFile(dir.filePath("xdg-open")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit() + ":" + path);
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    window.openButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QMessageBox*>(), 5000);
    EXPECT_TRUE(window.findChild<QMessageBox*>()->text().startsWith("Nessun programma"));
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
    const char* const names[] = {"Zo\xC3\xA8", "=1+1", "Rossi; Ada", "Il \"Bello\"", "+39", "Eva"};
    std::string bytes = records::classSheetHeader();
    QStringList expected;
    for (int i = 0; i < 6; ++i) {
        const std::string n = std::to_string(i);
        bytes += records::formatSheetRow({"2026-11-1" + n, "8:5" + n, names[i], i, 1, i + 1,
                                          "1" + n + ":05", i % 2 == 0, "PC-" + n});
        expected << QString::fromUtf8(names[i]) + " 1" + QString::number(i) + ":05";
    }
    write(dir.filePath("in/registro.csv"), QByteArray::fromStdString(bytes));
    // ';', '"', UTF-8, from the first line, Italian: as Calc in Italy opens and saves it.
    const QString options = "59,34,76,1,,1040";
    QProcess calc;
    calc.start(
        soffice,
        {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("p")).toString(), "--headless",
         "--infilter=CSV:" + options, "--convert-to", "csv:Text - txt - csv (StarCalc):" + options,
         "--outdir", dir.path(), dir.filePath("in/registro.csv")});
    ASSERT_TRUE(calc.waitForFinished(100000));
    QFile saved(dir.filePath("registro.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("08:50:00"));

    records::ClassSheetFile file(dir.path().toStdString(), records::systemFileOperations());
    ASSERT_TRUE(file.append({"2026-12-09", "12:00", "Eva", 3, 0, 3, "02:00", false, "PC"}).ok());
    expected << "Eva 02:00";
    ClassSheetWindow window(dir.path() + "/", QDate(2026, 12, 9));
    QAbstractItemModel* rows = window.rowsView()->model();
    QStringList read;
    for (int r = 0; r < rows->rowCount(); ++r) {
        read << rows->index(r, 2).data().toString() + " " + rows->index(r, 6).data().toString();
    }
    read.sort();
    expected.sort();
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(window.status()->text().contains("danneggiat"));
}

}  // namespace
}  // namespace quimbra::teacher
