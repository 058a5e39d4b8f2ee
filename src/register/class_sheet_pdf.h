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
};

// Writes print to the file; false when the file could not be written.
bool writeSheetPdf(const QString& file, const SheetPrint& print);

}  // namespace quimbra::teacher
