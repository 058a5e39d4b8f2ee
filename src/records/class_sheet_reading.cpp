// Reading the class sheet back, as far as it makes sense, from a file that was only ever appended
// to but may have been cut by a crash or edited:
// - Byte-order marks and blank lines are passed over; a line ends with CR LF or LF; a line equal to
//   the header is no row (also further down, where two sheets were pasted together).
// - Fields are split at ';' and quoted as RFC 4180 says. A quoted line break followed by a row's
//   start (a date, then ';') ends a quote left open by a row cut short, rather than reading on to
//   the next quote (on a damaged file, once for every line).
// - A row holds the nine columns: a date, a time, a name, three whole counts, the time played, the
//   record mark and the computer. The game quotes the last one: left open, or empty and unquoted,
//   it was cut short (with a line end after it or not); else a person or a spreadsheet saved it,
//   and the row is kept, also on a last line without a line end.
// - What Calc or Excel write when saving the sheet again in Italy is read as the game's own: no
//   byte-order mark, LF, dates as 08/12/2026 or 8/12/26, times with seconds, the time played as a
//   time of day (00:15:00), text in Windows-1252 where it is no UTF-8. A time played with no
//   seconds and longer than the fifteen minutes a game lasts is an older sheet's minutes:seconds
//   ("15:00") that a spreadsheet took for hours and minutes.
// - Anything else is skipped and counted as one row; reading goes on at the next line, or where a
//   row starts inside the damaged one (a cut row followed on its line by a whole one).

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/class_sheet.h"
#include "records/code_page.h"

namespace quimbra::records {
namespace {

// The value of text when it is one to nine digits, else -1.
int number(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const bool whole =
        !text.empty() && text.size() <= 9 && std::from_chars(text.data(), end, value).ptr == end;
    return whole ? static_cast<int>(value) : -1;
}

// The numbers in text between separators, when there are as many as widths
// and each has as many digits as its width allows ("12": one or two).
std::vector<int> numbers(std::string_view text, char separator,
                         std::initializer_list<std::string_view> widths) {
    if (std::count(text.begin(), text.end(), separator) + 1 != std::ssize(widths)) {
        return {};
    }
    std::vector<int> values;
    for (const std::string_view width : widths) {
        const std::string_view part = text.substr(0, text.find(separator));
        text.remove_prefix(std::min(text.size(), part.size() + 1));
        values.push_back(number(part));
        if (values.back() < 0 || width.find(static_cast<char>('0' + part.size())) == width.npos) {
            return {};
        }
    }
    return values;
}

std::string twoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// "2026-12-08" from itself, from "08/12/2026", "8/12/2026" or "08/12/26"
// (day first, as Italy writes it); empty for anything else.
std::string isoDate(std::string_view text) {
    if (!numbers(text, '-', {"4", "2", "2"}).empty()) {
        return std::string(text);
    }
    const std::vector<int> dmy = numbers(text, '/', {"12", "12", "24"});
    if (dmy.empty()) {
        return {};
    }
    const std::string year(text.substr(text.rfind('/') + 1));
    return (year.size() == 2 ? "20" : "") + year + "-" + twoDigits(dmy[1]) + "-" +
           twoDigits(dmy[0]);
}

// Hours (one or two digits), minutes and maybe seconds of "10:42" or
// "9:05:00"; none for anything else.
std::vector<int> clock(std::string_view text) {
    const std::vector<int> parts = numbers(text, ':', {"12", "2", "2"});
    return parts.empty() ? numbers(text, ':', {"12", "2"}) : parts;
}

// "10:42" from "10:42" or "10:42:00" (a spreadsheet adds the seconds).
std::string clockTime(std::string_view text) {
    const std::vector<int> parts = clock(text);
    const bool valid = !parts.empty() && parts[0] <= 23 && parts[1] <= 59;
    return valid ? std::string(text.substr(0, text.find(':') + 3)) : std::string();
}

// The time played as "mm:ss", from the game's "0:03:15", an older sheet's
// "03:15", and what a spreadsheet saved of either; other text as it is.
std::string playedTime(std::string text) {
    const std::vector<int> p = clock(text);
    if (p.empty()) {
        return text;
    }
    // minutes:seconds, also where a spreadsheet took them for hours:minutes
    const bool minutes = p.size() == 2 || (p[2] == 0 && p[0] * 60 + p[1] > 15);
    const int seconds = minutes ? p[0] * 60 + p[1] : p[0] * 3600 + p[1] * 60 + p[2];
    return twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60);
}

// Text that is no UTF-8 was saved in Windows-1252 (Excel's plain CSV).
std::string utf8(std::string text) {
    return isValidUtf8(text) ? text : windows1252ToUtf8(text);
}

// Where a row starts: a date, then ';'. Looked for only as far as a date
// goes: a long damaged line is scanned once, not once for each byte.
bool rowStartsAt(std::string_view bytes, std::size_t at) {
    const std::size_t end = bytes.substr(at, 11).find(';');
    return end != std::string_view::npos && !isoDate(bytes.substr(at, end)).empty();
}

// The size of the line end (LF or CR LF) at `at`; 0 for none.
std::size_t lineEnd(std::string_view bytes, std::size_t at) {
    bytes.remove_prefix(at);
    return bytes.starts_with('\n') ? 1 : bytes.starts_with("\r\n") ? 2 : 0;
}

struct Record {
    std::vector<std::string> fields;
    std::size_t next = 0;  // where the following record starts
    bool lastQuoted = false;
};

// One record's fields from `i`; none on a quote out of place or left open.
std::optional<Record> readRecord(std::string_view bytes, std::size_t i) {
    Record record;
    while (true) {
        std::string& field = record.fields.emplace_back();
        record.lastQuoted = i < bytes.size() && bytes[i] == '"';
        if (record.lastQuoted) {
            for (++i; i < bytes.size() && !(bytes[i] == '\n' && rowStartsAt(bytes, i + 1)); ++i) {
                if (bytes[i] == '"' && !bytes.substr(i + 1).starts_with('"')) {
                    break;  // the closing quote; a doubled one is one quote
                }
                field += bytes[i];
                i += bytes[i] == '"';
            }
            if (i == bytes.size() || bytes[i++] != '"') {
                return std::nullopt;
            }
        } else {
            const std::size_t start = i;
            while (i < bytes.size() && bytes[i] != ';' && bytes[i] != '"' && !lineEnd(bytes, i)) {
                ++i;
            }
            field = bytes.substr(start, i - start);
        }
        if (i == bytes.size() || lineEnd(bytes, i)) {
            record.next = i + lineEnd(bytes, i);
            return record;
        }
        if (bytes[i++] != ';') {
            return std::nullopt;  // a quote inside a field, or text after a closing quote
        }
    }
}

std::optional<SheetRow> toRow(const Record& record) {
    const std::vector<std::string>& f = record.fields;
    if (f.size() != std::size(classSheetColumns) || (f.back().empty() && !record.lastQuoted)) {
        return std::nullopt;  // torn: see the rules above
    }
    const std::string date = isoDate(f[0]), time = clockTime(f[1]);
    std::string name = utf8(f[2]);
    name.erase(0, name.starts_with('\'') && startsLikeFormula(name.substr(1)) ? 1 : 0);
    const int right = number(f[3]), wrong = number(f[4]), total = number(f[5]);
    if (date.empty() || time.empty() || std::min({right, wrong, total}) < 0) {
        return std::nullopt;
    }
    return SheetRow{date,          time,      name, right, wrong, total, playedTime(f[6]),
                    !f[7].empty(), utf8(f[8])};
}

// Where reading goes on after a damaged row that began at `at`: the next
// row start on the same line, else the next line.
std::size_t resumeAfter(std::string_view bytes, std::size_t at) {
    for (std::size_t i = at + 1; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || rowStartsAt(bytes, i)) {
            return bytes[i] == '\n' ? i + 1 : i;
        }
    }
    return bytes.size();
}

}  // namespace

SheetReading readClassSheet(std::string_view bytes) {
    SheetReading reading;
    for (std::size_t at = 0; at < bytes.size();) {
        std::optional<Record> record;
        if (const std::size_t end = lineEnd(bytes, at)) {
            at += end;
        } else if (bytes.substr(at).starts_with(byteOrderMark)) {
            at += byteOrderMark.size();
        } else if (record = readRecord(bytes, at);
                   record && std::ranges::equal(record->fields, classSheetColumns)) {
            at = record->next;
        } else if (std::optional<SheetRow> row = record ? toRow(*record) : std::nullopt) {
            reading.rows.push_back(std::move(*row));
            at = record->next;
        } else {
            ++reading.skipped;
            at = resumeAfter(bytes, at);
        }
    }
    return reading;
}

}  // namespace quimbra::records
