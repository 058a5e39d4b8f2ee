#pragma once
// The class sheet: one row for every game that ends through the farewell, kept for the teacher in
// registro.csv beside the record files. A file a spreadsheet opens as it is: UTF-8 with a
// byte-order mark, ';' between the fields (what LibreOffice and Excel expect in Italy), CR LF,
// fields quoted as RFC 4180 says when they hold ';', '"' or a line break, and the last one always:
// its closing quote shows the row was written whole. Rows are only ever appended; a game never
// rewrites the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "game/record_keeper.h"

namespace quimbra::records {

inline constexpr std::string_view classSheetFileName = "registro.csv";
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The header row's fields, in the order of every row: the one list of the
// columns' titles, which the teacher's window shows too.
inline constexpr std::string_view classSheetColumns[] = {
    "Data", "Ora", "Nome", "Esatte", "Sbagliate", "Totale", "Tempo di gioco", "Record", "Computer"};

using quimbra::SheetRow;

// The byte-order mark and the header row, CR LF included.
std::string classSheetHeader();

// What a spreadsheet would run as a formula ('=', '+', '-', '@', or a tab or a CR, which some of
// them skip): a name so begun is written after a '\'', taken off again when read.
bool startsLikeFormula(std::string_view text);

// One row as written, CR LF included, the time played as hours, minutes and
// seconds, so that a spreadsheet takes it for a duration and sums it right.
std::string formatSheetRow(const SheetRow& row);

// The first calendar year of the school year a day (year, month 1 to 12) belongs to: September to
// December begin one, January to August belong to the one begun before.
constexpr int schoolYearStart(int year, int month) {
    return month >= 9 ? year : year - 1;
}

// A whole sheet read as far as it makes sense (the rules are in class_sheet_reading.cpp): its whole
// rows in file order, and how many were skipped, such as one cut short by a crash or a full disk.
struct SheetReading {
    std::vector<SheetRow> rows;
    std::size_t skipped = 0;
};
SheetReading readClassSheet(std::string_view bytes);

}  // namespace quimbra::records
