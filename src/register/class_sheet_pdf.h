#pragma once
// The teacher's window as a PDF to hand on: what it shows, as text tables.

#include <QString>
#include <QStringList>

#include <vector>

namespace quimbra::teacher {

struct SheetPrint {
    QString title;
    QStringList lines;  // the date, the period, the filter, what was skipped
    QStringList summaryHeader;
    std::vector<QStringList> summary;
    QStringList rowsHeader;
    std::vector<QStringList> rows;
    // The chosen pupil's chart; no name, no chart.
    QString chartName;
    std::vector<int> chartRight;
    QStringList chartDates;
};

// Writes print to the file, "pagina 2 di 5" at the foot of every page; the
// number of pages, 0 when the file could not be written.
int writeSheetPdf(const QString& file, const SheetPrint& print);

}  // namespace quimbra::teacher
