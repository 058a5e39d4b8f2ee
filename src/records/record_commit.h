#pragma once
// The all-or-nothing replacement of the two record files: its steps, and
// what a crash after each of them leaves, are in record_commit.cpp.

#include <string>

#include "records/file_operations.h"
#include "records/record_storage.h"

namespace quimbra::records {

// Step 2, under the lock: finishes or takes back what an earlier holder left.
Status recover(FileOperations& files, const std::string& dir);

// Steps 3 to 9, under the lock, after recover: both files replaced when
// beats says so of the score file as it is now.
WriteResult commitRecord(FileOperations& files, const std::string& dir, const std::string& score,
                         const std::string& name, const BeatsRecord& beats);

}  // namespace quimbra::records
