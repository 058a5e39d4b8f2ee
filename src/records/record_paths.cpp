#include "records/record_paths.h"

#include "records/class_sheet.h"

namespace quimbra::records {
namespace {

#ifdef _WIN32
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

}  // namespace

std::string withTrailingSeparator(std::string dir) {
    if (!dir.empty() && dir.back() != separator) {
        dir += separator;
    }
    return dir;
}

std::string scoreFilePath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + "vondu.txt";
}
std::string nameFilePath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + "nvondu.txt";
}
std::string classSheetPath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + std::string(classSheetFileName);
}

}  // namespace quimbra::records
