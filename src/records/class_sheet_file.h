#pragma once
// The class sheet's file, registro.csv in the records folder, and the
// sheets of past school years beside it: the one piece of code that reads,
// appends to and renames them. Nothing is ever deleted.

#include <string>
#include <string_view>
#include <vector>

#include "records/class_sheet.h"
#include "records/file_operations.h"

namespace quimbra::records {

// A sheet larger than this is no class's: it is not read at all, rather than filling the memory.
inline constexpr std::size_t largestClassSheet = 512u * 1024 * 1024;

struct SheetLoad {
    SheetReading reading;
    std::string message;   // in Italian, why there is nothing to show (none yet, too large...)
    bool missing = false;  // no sheet at all
};

struct Archived {
    Status status;
    std::string name;  // the name the sheet took, when status is ok
};

// A past school year's sheet: "registro-2025-2026.csv" is "2025-2026",
// "registro-2025-2026-2.csv" (a second one) "2025-2026 (2)".
struct PastSheet {
    std::string name;
    std::string years;
};

class ClassSheetFile {
  public:
    // offReason: why the technician turned the sheet off here (classSheetOffReason), or empty.
    ClassSheetFile(std::string recordsDir, FileOperations& files, std::string offReason = {});

    const std::string& offReason() const { return offReason_; }
    std::string path(std::string_view name = classSheetFileName) const;

    // This school year's sheet, or a past one, as far as it makes sense.
    SheetLoad load(std::string_view name = classSheetFileName) const;

    // Adds the game's row, a new or empty sheet getting the header first.
    // The caller holds the records' lock.
    Status append(const SheetRow& row);

    // Closes the school year: the sheet is renamed after the school years of its rows
    // (todaysSchoolYear's when it has none), "-2", "-3"... added while a name is in use, never
    // replacing a file, all under the records' lock so that no game appends meanwhile and no
    // second rename takes the same name. The next game that ends begins a new sheet.
    Archived startNewYear(int todaysSchoolYear);

    // The past years' sheets in the folder, the latest first.
    std::vector<PastSheet> pastSheets() const;

  private:
    std::string dir_;
    FileOperations& files_;
    std::string offReason_;
};

}  // namespace quimbra::records
