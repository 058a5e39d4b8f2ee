#include "records/record_storage.h"

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

std::string scoreFilePath(const std::string& windowsDir) {
    return withTrailingSeparator(windowsDir) + "vondu.txt";
}
std::string nameFilePath(const std::string& windowsDir) {
    return withTrailingSeparator(windowsDir) + "nvondu.txt";
}

}  // namespace quimbra::records
