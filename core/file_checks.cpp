#include "core/file_checks.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "core/message_sink.h"

namespace vx {

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string notRegularReason(unsigned mode) {
    return S_ISDIR(mode) ? MessageSink::systemReason(EISDIR) : std::string("Not a regular file");
}

std::string fileIdentity(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return "file " + std::to_string(st.st_dev) + ' ' + std::to_string(st.st_ino);
    std::error_code ec;
    const std::filesystem::path place = std::filesystem::weakly_canonical(path, ec);
    return "place " + (ec ? path : place.string());
}

bool sameFile(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && fileIdentity(a) == fileIdentity(b);
}

}  // namespace vx
