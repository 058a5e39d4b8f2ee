#include <iterator>
#include <string>
#include <string_view>

#include "records/class_sheet.h"

namespace quimbra::records {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view separator = ";";
constexpr std::string_view rowEnd = "\r\n";

// A field as RFC 4180 wants it: quoted, its quotes doubled, when it holds
// the separator, a quote or a line break; else as it is.
std::string field(std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// What a spreadsheet would take for the start of a formula (a tab or a CR
// before it is skipped by some of them).
bool startsLikeFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

// "0:03:15" from "03:15".
std::string asDuration(const std::string& played) {
    const std::size_t colon = played.find(':');
    if (colon == std::string::npos || played.find(':', colon + 1) != std::string::npos) {
        return played;
    }
    return "0:" + played;
}

}  // namespace

std::string classSheetHeader() {
    std::string header(byteOrderMark);
    for (const std::string_view column : classSheetColumns) {
        header += header.size() == byteOrderMark.size() ? "" : separator;
        header += field(column);
    }
    return header + std::string(rowEnd);
}

std::string formatSheetRow(const SheetRow& row) {
    const std::string name = startsLikeFormula(row.name) ? "'" + row.name : row.name;
    const std::string fields[] = {row.date,
                                  row.time,
                                  name,
                                  std::to_string(row.right),
                                  std::to_string(row.wrong),
                                  std::to_string(row.total),
                                  asDuration(row.played),
                                  row.beatRecord ? "s\xC3\xAC" : "",
                                  row.computer};
    std::string line = field(fields[0]);
    for (std::size_t i = 1; i + 1 < std::size(fields); ++i) {
        line += separator;
        line += field(fields[i]);
    }
    // The last field always quoted: a row cut inside it leaves its quote
    // open, which the reader tells from a whole row.
    const std::string last = field(fields[std::size(fields) - 1]);
    line += separator;
    line += last.starts_with('"') ? last : "\"" + last + "\"";
    return line + std::string(rowEnd);
}

}  // namespace quimbra::records
