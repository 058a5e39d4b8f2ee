#pragma once
// Closing a school year: the class sheet is renamed, never deleted, and the
// next game that ends begins a new one.

#include <string>

#include "records/file_operations.h"

namespace quimbra::records {

// "registro-2025-2026.csv" for a year closed on a day of 2026: in January to
// August the year running ends, in September to December the one that ended
// in June. Taken is told whether a name exists already; "-2", "-3"... are
// added until one is free.
template <typename Taken>
std::string archivedSheetName(int year, Taken taken) {
    const std::string base = "registro-" + std::to_string(year - 1) + "-" + std::to_string(year);
    std::string name = base + ".csv";
    for (int n = 2; taken(name); ++n) {
        name = base + "-" + std::to_string(n) + ".csv";
    }
    return name;
}

struct Archived {
    Status status;
    std::string name;  // the name the sheet took, when status is ok
};

// Renames the sheet in recordsDir under the record files' lock, so that no
// game appends to it meanwhile and no second rename takes the same name.
Archived archiveClassSheet(const std::string& recordsDir, int year, FileOperations& files);

}  // namespace quimbra::records
