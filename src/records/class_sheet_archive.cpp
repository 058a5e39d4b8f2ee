#include "records/class_sheet_archive.h"

#include <algorithm>

#include "records/class_sheet.h"
#include "records/file_errors.h"
#include "records/record_files.h"
#include "records/record_paths.h"

namespace quimbra::records {

Archived archiveClassSheet(const std::string& recordsDir, int year, FileOperations& files) {
    const std::string dir = withTrailingSeparator(recordsDir);
    const std::string sheet = dir + std::string(classSheetFileName);
    LockResult locked = files.lockFile(dir + lockFileName, defaultLockWait);
    if (!locked.ok()) {
        return {locked.status, {}};
    }
    const DirectoryList list = files.listDirectory(dir);
    if (!list.status.ok()) {
        return {list.status, {}};
    }
    const auto taken = [&](const std::string& name) {
        return std::find(list.names.begin(), list.names.end(), name) != list.names.end();
    };
    if (!taken(std::string(classSheetFileName))) {
        return {{failureMessage(Action::replace, sheet, "il file non c'è più"), Action::replace},
                {}};
    }
    const std::string name = archivedSheetName(year, taken);
    if (Status renamed = files.replaceFile(sheet, dir + name); !renamed.ok()) {
        return {renamed, {}};
    }
    // The rename is done; a folder that cannot be synced only leaves it less sure.
    files.syncDirectory(dir);
    return {{}, name};
}

}  // namespace quimbra::records
