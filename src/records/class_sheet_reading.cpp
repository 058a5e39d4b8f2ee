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
// - A row is kept only when it holds the nine columns: a date, a time, a
//   name, three whole counts, the time played, the record mark and the
//   computer.
// - A row the game wrote ends with its last field quoted; a write cut
//   inside that field leaves the quote open, and one cut just before it
//   leaves the field empty: both are torn, with a line end after them (the
//   next game's write ends a cut line) or without. A last field that is
//   neither was saved by a person or a spreadsheet, and is kept, also as
//   the file's last line without a line end.
// - What a spreadsheet writes when it saves the sheet again (LibreOffice
//   Calc, Excel, in Italy) is read as the game's own: no byte-order mark,
//   LF, dates as 08/12/2026 or 08/12/26, times with seconds (08:52:00), the
//   time played as a time of day (00:15:00), text in Windows-1252 where it
//   is no UTF-8. A time played longer than the fifteen minutes a game lasts,
//   with no seconds, is an older sheet's minutes:seconds ("15:00") that a
//   spreadsheet took for hours and minutes.
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
#include "records/code_page.h"

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

// "2026-12-08" from itself, from "08/12/2026", "8/12/2026" or "08/12/26"
// (day first, as Italy writes it); empty for anything else.
std::string isoDate(std::string_view text) {
    if (isIsoDate(text)) {
        return std::string(text);
    }
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
    if ((first != 1 && first != 2) || (second != first + 2 && second != first + 3) ||
        !digitsAt(text, 0, first) || !digitsAt(text, first + 1, second - first - 1)) {
        return {};
    }
    const std::size_t yearDigits = text.size() - second - 1;
    if ((yearDigits != 2 && yearDigits != 4) || !digitsAt(text, second + 1, yearDigits)) {
        return {};
    }
    const auto twoDigits = [](std::string_view digits) {
        return digits.size() == 1 ? "0" + std::string(digits) : std::string(digits);
    };
    const std::string_view year = text.substr(second + 1);
    return (yearDigits == 2 ? "20" : "") + std::string(year) + "-" +
           twoDigits(text.substr(first + 1, second - first - 1)) + "-" +
           twoDigits(text.substr(0, first));
}

// The parts of "10:42" or "9:05:00": hours (one or two digits), minutes
// and, when there, seconds; false for anything else.
bool clockParts(std::string_view text, int parts[3], int& count) {
    count = 0;
    std::size_t at = 0;
    while (count < 3) {
        const std::size_t colon = text.find(':', at);
        const std::size_t end = colon == std::string_view::npos ? text.size() : colon;
        const std::size_t width = end - at;
        const bool fits = count == 0 ? (width >= 1 && width <= 2) : width == 2;
        if (!fits || !digitsAt(text, at, width)) {
            return false;
        }
        std::from_chars(text.data() + at, text.data() + end, parts[count++]);
        if (colon == std::string_view::npos) {
            return count >= 2;
        }
        at = colon + 1;
    }
    return false;
}

// "10:42" from "10:42" or "10:42:00" (a spreadsheet adds the seconds).
std::optional<std::string> clockTime(std::string_view text) {
    int parts[3] = {};
    int count = 0;
    if (!clockParts(text, parts, count) || parts[0] > 23 || parts[1] > 59) {
        return std::nullopt;
    }
    return std::string(text.substr(0, text.find(':') + 3));
}

// The time played as "mm:ss", from the game's "0:03:15", an older sheet's
// "03:15", and what a spreadsheet saved of either; other text as it is.
std::string playedTime(std::string text) {
    int parts[3] = {};
    int count = 0;
    if (!clockParts(text, parts, count)) {
        return text;
    }
    int seconds =
        count == 2 ? parts[0] * 60 + parts[1] : parts[0] * 3600 + parts[1] * 60 + parts[2];
    if (count == 3 && seconds > 15 * 60 && parts[2] == 0) {
        seconds = parts[0] * 60 + parts[1];  // minutes:seconds taken for hours:minutes
    }
    const auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return two(seconds / 60) + ":" + two(seconds % 60);
}

// Text that is no UTF-8 was saved in Windows-1252 (Excel's plain CSV).
std::string utf8(std::string text) {
    return isValidUtf8(text) ? text : windows1252ToUtf8(text);
}

// Where a row starts: a date followed by ';'.
bool rowStartsAt(std::string_view bytes, std::size_t at) {
    // Looked for only as far as a date goes: a long damaged line is
    // scanned once, not once for each of its bytes.
    const std::size_t end = bytes.substr(at, 11).find(';');
    return end != std::string_view::npos && !isoDate(bytes.substr(at, end)).empty();
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
    bool lastQuoted = false;
};

std::optional<Record> readRecord(std::string_view bytes, std::size_t at) {
    Record record;
    std::size_t i = at;
    while (true) {
        std::string field;
        record.lastQuoted = i < bytes.size() && bytes[i] == '"';
        if (record.lastQuoted) {
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
            record.next = i;  // the last line, without a line end
            return record;
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

std::optional<SheetRow> toRow(Record& record) {
    std::vector<std::string>& fields = record.fields;
    if (fields.size() != columnCount || (fields.back().empty() && !record.lastQuoted)) {
        return std::nullopt;  // torn: see the rules above
    }
    std::string date = isoDate(fields[0]);
    const std::optional<std::string> time = clockTime(fields[1]);
    if (date.empty() || !time) {
        return std::nullopt;
    }
    const auto right = count(fields[3]);
    const auto wrong = count(fields[4]);
    const auto total = count(fields[5]);
    if (!right || !wrong || !total) {
        return std::nullopt;
    }
    return SheetRow{std::move(date),
                    *time,
                    withoutFormulaGuard(utf8(std::move(fields[2]))),
                    *right,
                    *wrong,
                    *total,
                    playedTime(std::move(fields[6])),
                    !fields[7].empty(),
                    utf8(std::move(fields[8]))};
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
        std::optional<SheetRow> row = record ? toRow(*record) : std::nullopt;
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
