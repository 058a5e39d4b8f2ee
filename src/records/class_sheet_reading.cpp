// Reading the class sheet back, as far as it makes sense.
//
// The rules, for a file that was only ever appended to but may have been cut
// by a crash or edited by hand:
// - A byte-order mark at the start is dropped; a line equal to the header is
//   not a row (also further down, where two sheets were pasted together).
// - A line ends with CR LF or a lone LF; blank lines are passed over.
// - Fields are separated by ';' and quoted as RFC 4180 says. A quoted field
//   may hold a line break, but not one followed by the start of a row (an
//   ISO date, then ';'): a quote left open by a row cut short ends there,
//   rather than being read on to the next quote or the end of the file (on
//   a damaged file, once for every line).
// - A row is kept only when it ends with a line end and holds the nine
//   columns: an ISO date, a time h:mm, a name, three whole counts, the time
//   played, the record mark and the computer.
// - Anything else is skipped and counted as one row, and reading goes on
//   at the next line, or earlier, where a row starts in the middle of the
//   damaged line (a cut row followed on the same line by a whole one).

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "records/class_sheet.h"

namespace quimbra::records {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t columnCount = std::size(classSheetColumns);

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (text.size() < at + count) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + count), isDigit);
}

bool isIsoDate(std::string_view text) {
    return text.size() == 10 && digitsAt(text, 0, 4) && text[4] == '-' && digitsAt(text, 5, 2) &&
           text[7] == '-' && digitsAt(text, 8, 2);
}

// "10:42", or "9:05" as a spreadsheet may save it.
bool isClockTime(std::string_view text) {
    const std::size_t colon = text.find(':');
    return (colon == 1 || colon == 2) && text.size() == colon + 3 && digitsAt(text, 0, colon) &&
           digitsAt(text, colon + 1, 2);
}

// Where a row starts: an ISO date followed by ';'.
bool rowStartsAt(std::string_view bytes, std::size_t at) {
    return bytes.size() >= at + 11 && isIsoDate(bytes.substr(at, 10)) && bytes[at + 10] == ';';
}

std::optional<int> count(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), isDigit)) {
        return std::nullopt;
    }
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool isFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

std::string withoutFormulaGuard(std::string name) {
    if (name.size() >= 2 && name[0] == '\'' && isFormulaStart(name[1])) {
        name.erase(0, 1);
    }
    return name;
}

bool lineEndAt(std::string_view bytes, std::size_t at) {
    return bytes[at] == '\n' ||
           (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n');
}

std::size_t pastLineEnd(std::string_view bytes, std::size_t at) {
    return at + (bytes[at] == '\r' ? 2 : 1);
}

// One record's fields from `at`; `next` is where the following record
// starts. Fails (nullopt) on a quote out of place, a quote left open, or no
// line end before the end of the bytes.
struct Record {
    std::vector<std::string> fields;
    std::size_t next = 0;
};

std::optional<Record> readRecord(std::string_view bytes, std::size_t at) {
    Record record;
    std::size_t i = at;
    while (true) {
        std::string field;
        if (i < bytes.size() && bytes[i] == '"') {
            ++i;
            while (true) {
                if (i >= bytes.size()) {
                    return std::nullopt;
                }
                if (bytes[i] == '"') {
                    if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (bytes[i] == '\n' && rowStartsAt(bytes, i + 1)) {
                    return std::nullopt;
                }
                field += bytes[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < bytes.size() && bytes[i] != ';' && bytes[i] != '"' && !lineEndAt(bytes, i)) {
                ++i;
            }
            field.assign(bytes.substr(start, i - start));
        }
        record.fields.push_back(std::move(field));
        if (i >= bytes.size()) {
            return std::nullopt;  // no line end: cut short
        }
        if (bytes[i] == ';') {
            ++i;
        } else if (lineEndAt(bytes, i)) {
            record.next = pastLineEnd(bytes, i);
            return record;
        } else {
            return std::nullopt;  // a quote inside a field, or text after a closing quote
        }
    }
}

bool isHeader(const std::vector<std::string>& fields) {
    return std::equal(fields.begin(), fields.end(), std::begin(classSheetColumns),
                      std::end(classSheetColumns));
}

std::optional<SheetRow> toRow(std::vector<std::string>& fields) {
    if (fields.size() != columnCount || !isIsoDate(fields[0]) || !isClockTime(fields[1])) {
        return std::nullopt;
    }
    const auto right = count(fields[3]);
    const auto wrong = count(fields[4]);
    const auto total = count(fields[5]);
    if (!right || !wrong || !total) {
        return std::nullopt;
    }
    return SheetRow{std::move(fields[0]),
                    std::move(fields[1]),
                    withoutFormulaGuard(std::move(fields[2])),
                    *right,
                    *wrong,
                    *total,
                    std::move(fields[6]),
                    !fields[7].empty(),
                    std::move(fields[8])};
}

// Where reading goes on after a damaged row that began at `at`: the next
// row start on the same line, else the next line.
std::size_t resumeAfter(std::string_view bytes, std::size_t at) {
    for (std::size_t i = at + 1; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            return i + 1;
        }
        if (rowStartsAt(bytes, i)) {
            return i;
        }
    }
    return bytes.size();
}

}  // namespace

SheetReading readClassSheet(std::string_view bytes) {
    SheetReading reading;
    std::size_t at = bytes.starts_with(byteOrderMark) ? byteOrderMark.size() : 0;
    while (at < bytes.size()) {
        if (lineEndAt(bytes, at)) {
            at = pastLineEnd(bytes, at);
            continue;
        }
        if (bytes.substr(at).starts_with(byteOrderMark)) {
            at += byteOrderMark.size();
            continue;
        }
        std::optional<Record> record = readRecord(bytes, at);
        if (record && isHeader(record->fields)) {
            at = record->next;
            continue;
        }
        std::optional<SheetRow> row = record ? toRow(record->fields) : std::nullopt;
        if (!row) {
            ++reading.skipped;
            at = resumeAfter(bytes, at);
            continue;
        }
        reading.rows.push_back(std::move(*row));
        at = record->next;
    }
    return reading;
}

}  // namespace quimbra::records
