#include "records/class_sheet_file.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <utility>

#include "records/file_errors.h"
#include "records/record_files.h"

namespace quimbra::records {
namespace {

// The n of "registro-2025-2026-n.csv", 1 for "registro-2025-2026.csv", -1 for any other name.
int pastSheetOrder(std::string_view name) {
    constexpr std::string_view prefix = "registro-", suffix = ".csv";
    const auto number = [](std::string_view digits) {
        int value = -1;
        const char* end = digits.data() + digits.size();
        return !digits.starts_with('-') && std::from_chars(digits.data(), end, value).ptr == end
                   ? value
                   : -1;
    };
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) {
        return -1;
    }
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (name.size() < 9 || name[4] != '-' || number(name.substr(0, 4)) < 0 ||
        number(name.substr(5, 4)) < 0) {
        return -1;
    }
    return name.size() == 9 ? 1 : name[9] == '-' ? number(name.substr(10)) : -1;
}

// The school year of a row's date ("2026-03-14").
int schoolYearOf(const std::string& isoDate) {
    return schoolYearStart(std::stoi(isoDate.substr(0, 4)), std::stoi(isoDate.substr(5, 2)));
}

}  // namespace

ClassSheetFile::ClassSheetFile(std::string recordsDir, FileOperations& files, std::string offReason)
    : dir_(withTrailingSeparator(std::move(recordsDir))),
      files_(files),
      offReason_(std::move(offReason)) {}

std::string ClassSheetFile::path(std::string_view name) const {
    return dir_ + std::string(name);
}

SheetLoad ClassSheetFile::load(std::string_view name) const {
    const std::string file = path(name);
    // Read in growing steps: a sheet is a few megabytes; the whole limit is not set aside for it.
    ReadBytes read;
    for (std::size_t size = 1 << 20;; size = std::min(size * 4, largestClassSheet + 1)) {
        read = files_.readStart(file, size);
        if (!read.ok() || read.bytes.size() < size || size > largestClassSheet) {
            break;
        }
    }
    SheetLoad loaded{{}, {}, read.missing};
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
    // Read under the lock: the rows the archive will hold, a game's last one included.
    const SheetLoad loaded = load();
    if (loaded.missing) {
        return {failed(Action::replace, sheet, "il file non c'è"), {}};
    }
    const std::vector<SheetRow>& rows = loaded.reading.rows;
    const auto [oldest, newest] = std::ranges::minmax_element(rows, {}, &SheetRow::date);
    const int first = rows.empty() ? todaysSchoolYear : schoolYearOf(oldest->date);
    const int last = rows.empty() ? todaysSchoolYear : schoolYearOf(newest->date);
    const std::string base = "registro-" + std::to_string(first) + "-" + std::to_string(last + 1);
    // Names are tried by renaming, never from a listing, which a share may show seconds late.
    for (int n = 1; n < 1000; ++n) {
        const std::string name = base + (n == 1 ? "" : "-" + std::to_string(n)) + ".csv";
        bool taken = false;
        const Status renamed = files_.renameWithoutReplacing(sheet, dir_ + name, taken);
        if (renamed.ok()) {
            // Done; a folder that cannot be synced only leaves the rename less sure.
            files_.syncDirectory(dir_);
            return {{}, name};
        }
        if (!taken) {
            return {renamed, {}};
        }
    }
    return {failed(Action::replace, sheet, "ogni nome per l'archivio è già preso"), {}};
}

std::vector<PastSheet> ClassSheetFile::pastSheets() const {
    std::vector<PastSheet> sheets;
    for (const std::string& name : files_.listDirectory(dir_).names) {
        if (const int order = pastSheetOrder(name); order >= 0) {
            const std::string nth = order > 1 ? " (" + std::to_string(order) + ")" : "";
            sheets.push_back({name, name.substr(9, 9) + nth});
        }
    }
    std::ranges::sort(sheets, std::ranges::greater{}, [](const PastSheet& sheet) {
        return std::pair(sheet.name.substr(9, 9), pastSheetOrder(sheet.name));
    });
    return sheets;
}

}  // namespace quimbra::records
