#include "records/record_storage.h"

namespace quimbra::records {
namespace {

#ifdef _WIN32
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

std::string join(const std::string& dir, const char* file) {
    if (dir.empty() || dir.back() == separator) {
        return dir + file;
    }
    return dir + separator + file;
}

}  // namespace

std::string scoreFilePath(const std::string& windowsDir) { return join(windowsDir, "vondu.txt"); }
std::string nameFilePath(const std::string& windowsDir) { return join(windowsDir, "nvondu.txt"); }

}  // namespace quimbra::records
