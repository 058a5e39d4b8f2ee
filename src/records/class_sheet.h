#pragma once
// The class sheet: one row for every game that ends through the farewell,
// kept for the teacher in registro.csv beside the record files. A file a
// spreadsheet opens as it is: UTF-8 with a byte-order mark, ';' between the
// fields (what LibreOffice and Excel expect in Italy), CR LF, fields quoted
// as RFC 4180 says when they hold ';', '"' or a line break, and the last
// one always: its closing quote shows the row was written whole. Rows are
// only ever appended; a game never rewrites the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "game/record_keeper.h"

namespace quimbra::records {

inline constexpr std::string_view classSheetFileName = "registro.csv";

// The header row's fields, in the order of every row: the one list of the
// columns' titles, which the teacher's window shows too.
inline constexpr std::string_view classSheetColumns[] = {
    "Data", "Ora", "Nome", "Esatte", "Sbagliate", "Totale", "Tempo di gioco", "Record", "Computer"};

using quimbra::SheetRow;

// The byte-order mark and the header row, CR LF included: what a new sheet
// begins with.
std::string classSheetHeader();

// One row as written, CR LF included. A name beginning with '=', '+', '-',
// '@', a tab or a CR is written with a leading '\'' so that no spreadsheet
// runs it as a formula; the time played as hours, minutes and seconds, so
// that a spreadsheet takes it for a duration and sums it right.
std::string formatSheetRow(const SheetRow& row);

// A whole sheet read as far as it makes sense: the header (when there is
// one), every whole row, in file order, also as a spreadsheet saved it
// again (class_sheet_reading.cpp). A row cut short (as a crash or a full
// disk leaves it) or one that does not hold the columns above is skipped
// and counted, and never joins the next row. The formula guard is taken
// off the name again.
struct SheetReading {
    std::vector<SheetRow> rows;
    std::size_t skipped = 0;
};
SheetReading readClassSheet(std::string_view bytes);

}  // namespace quimbra::records
