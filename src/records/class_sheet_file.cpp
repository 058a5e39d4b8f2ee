#include "records/class_sheet_file.h"

#include <algorithm>
#include <charconv>

#include "records/file_errors.h"
#include "records/record_files.h"

namespace quimbra::records {
namespace {

// "2025-2026" and its number of order from "registro-2025-2026[-n].csv";
// false for any other name.
bool pastSheetName(std::string_view name, std::string& years, int& order) {
    constexpr std::string_view prefix = "registro-", suffix = ".csv";
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) {
        return false;
    }
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const auto digits = [](std::string_view text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (name.size() < 9 || name[4] != '-' || !digits(name.substr(0, 4)) ||
        !digits(name.substr(5, 4))) {
        return false;
    }
    years = std::string(name.substr(0, 9));
    order = 1;
    if (name.size() == 9) {
        return true;
    }
    const std::string_view rest = name.substr(9);
    return rest.size() > 1 && rest[0] == '-' && digits(rest.substr(1)) &&
           std::from_chars(rest.data() + 1, rest.data() + rest.size(), order).ec == std::errc{};
}

}  // namespace

int schoolYearStart(std::string_view isoDate) {
    int year = 0, month = 0;
    std::from_chars(isoDate.data(), isoDate.data() + std::min<std::size_t>(4, isoDate.size()),
                    year);
    if (isoDate.size() >= 7) {
        std::from_chars(isoDate.data() + 5, isoDate.data() + 7, month);
    }
    return month >= 9 ? year : year - 1;
}

std::string archiveBaseName(int firstYear, int lastYear) {
    return "registro-" + std::to_string(firstYear) + "-" + std::to_string(lastYear + 1);
}

ClassSheetFile::ClassSheetFile(std::string recordsDir, FileOperations& files, std::string offReason)
    : dir_(withTrailingSeparator(std::move(recordsDir))),
      files_(files),
      offReason_(std::move(offReason)) {}

std::string ClassSheetFile::path(std::string_view name) const {
    return dir_ + std::string(name);
}

SheetLoad ClassSheetFile::load(std::string_view name) const {
    const std::string file = path(name);
    SheetLoad loaded;
    // Read in growing steps: a class's sheet is a few megabytes, and the
    // whole limit is not set aside for it.
    ReadBytes read;
    for (std::size_t step = std::size_t(1) << 20;; step *= 4) {
        const std::size_t size = std::min(step, largestClassSheet + 1);
        read = files_.readStart(file, size);
        if (!read.ok() || read.bytes.size() < size || size > largestClassSheet) {
            break;
        }
    }
    loaded.missing = read.missing;
    if (read.missing) {
        loaded.message = "Nessuna partita è stata ancora registrata in " + file + ".";
    } else if (!read.ok()) {
        loaded.message = read.error;
    } else if (read.bytes.size() > largestClassSheet) {
        loaded.message = "Il registro " + file +
                         " è troppo grande per essere un registro di classe e non è stato letto.";
    } else {
        loaded.reading = readClassSheet(read.bytes);
        if (loaded.reading.rows.empty() && loaded.reading.skipped == 0) {
            loaded.message = "Nessuna partita è stata ancora registrata.";
        }
    }
    return loaded;
}

Status ClassSheetFile::append(const SheetRow& row) {
    return files_.appendLine(path(), classSheetHeader(), formatSheetRow(row));
}

Archived ClassSheetFile::startNewYear(int todaysSchoolYear) {
    const std::string sheet = path();
    LockResult locked = files_.lockFile(dir_ + lockFileName, defaultLockWait);
    if (!locked.ok()) {
        return {locked.status, {}};
    }
    // Read under the lock: the rows the archive will hold, a game's last
    // one included.
    const SheetLoad loaded = load();
    if (loaded.missing) {
        return {{failureMessage(Action::replace, sheet, "il file non c'è"), Action::replace}, {}};
    }
    int first = todaysSchoolYear, last = todaysSchoolYear;
    if (!loaded.reading.rows.empty()) {
        const auto [oldest, newest] = std::minmax_element(
            loaded.reading.rows.begin(), loaded.reading.rows.end(),
            [](const SheetRow& a, const SheetRow& b) { return a.date < b.date; });
        first = schoolYearStart(oldest->date);
        last = schoolYearStart(newest->date);
    }
    const std::string base = archiveBaseName(first, last);
    // The name is asked of the rename itself, never of a listing, which a
    // share may show as it was some seconds ago.
    for (int n = 1; n < 1000; ++n) {
        const std::string name = base + (n == 1 ? "" : "-" + std::to_string(n)) + ".csv";
        bool taken = false;
        const Status renamed = files_.renameWithoutReplacing(sheet, dir_ + name, taken);
        if (renamed.ok()) {
            // The rename is done; a folder that cannot be synced only leaves
            // it less sure.
            files_.syncDirectory(dir_);
            return {{}, name};
        }
        if (!taken) {
            return {renamed, {}};
        }
    }
    return {{failureMessage(Action::replace, sheet, "ogni nome per l'archivio è già preso"),
             Action::replace},
            {}};
}

std::vector<PastSheet> ClassSheetFile::pastSheets() const {
    struct Found {
        PastSheet sheet;
        int order;
    };
    std::vector<Found> found;
    for (const std::string& name : files_.listDirectory(dir_).names) {
        Found f{{name, {}}, 1};
        if (pastSheetName(name, f.sheet.years, f.order)) {
            if (f.order > 1) {
                f.sheet.years += " (" + std::to_string(f.order) + ")";
            }
            found.push_back(std::move(f));
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        const std::string_view ya = std::string_view(a.sheet.name).substr(9, 9);
        const std::string_view yb = std::string_view(b.sheet.name).substr(9, 9);
        return ya != yb ? ya > yb : a.order > b.order;
    });
    std::vector<PastSheet> sheets;
    for (Found& f : found) {
        sheets.push_back(std::move(f.sheet));
    }
    return sheets;
}

}  // namespace quimbra::records
