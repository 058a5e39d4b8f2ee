#include <algorithm>
#include <string>
#include <string_view>

#include "records/class_sheet.h"

namespace quimbra::records {
namespace {

// A field as RFC 4180 wants it: quoted, its quotes doubled, when it holds
// the separator, a quote or a line break, or always; else as it is.
std::string field(std::string_view text, bool always = false) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return always || text.find_first_of(";\"\r\n") != text.npos ? quoted + "\"" : std::string(text);
}

}  // namespace

bool startsLikeFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

std::string classSheetHeader() {
    std::string header(byteOrderMark);
    for (const std::string_view column : classSheetColumns) {
        header += field(column) + ";";
    }
    header.back() = '\r';  // no ';' after the last
    return header + "\n";
}

std::string formatSheetRow(const SheetRow& row) {
    // "0:03:15" from "03:15"
    const bool minutes = std::count(row.played.begin(), row.played.end(), ':') == 1;
    const std::string fields[] = {row.date,
                                  row.time,
                                  startsLikeFormula(row.name) ? "'" + row.name : row.name,
                                  std::to_string(row.right),
                                  std::to_string(row.wrong),
                                  std::to_string(row.total),
                                  (minutes ? "0:" : "") + row.played,
                                  row.beatRecord ? "s\xC3\xAC" : "",
                                  row.computer};
    std::string line;
    for (std::size_t i = 0; i < 8; ++i) {
        line += field(fields[i]) + ";";
    }
    // The last field always quoted: a row cut inside it leaves its quote
    // open, which the reader tells from a whole row.
    return line + field(fields[8], true) + "\r\n";
}

}  // namespace quimbra::records
