#pragma once
// The paths of the two record files, and of the class sheet, in the
// records' directory.

#include <string>

namespace quimbra::records {

// dir with the platform's separator at its end (an empty dir stays empty).
std::string withTrailingSeparator(std::string dir);

// The paths of the two files in recordsDir, joined without a doubled separator.
std::string scoreFilePath(const std::string& recordsDir);
std::string nameFilePath(const std::string& recordsDir);
// The class sheet beside them (class_sheet.h).
std::string classSheetPath(const std::string& recordsDir);

}  // namespace quimbra::records
