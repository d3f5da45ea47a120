#include "core/output_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

// The umask can only be read by setting it, which would race with objects
// written side by side on other threads; nothing here changes it, so it is
// read once, under the guard of a static's initialisation.
mode_t processUmask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

int OutputFile::open(const std::string& target) {
    discard();
    if (target.empty()) return 1;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return 1;                 // a directory, a device
        if (::access(target.c_str(), W_OK) != 0) return 1;  // a read-only model stays read-only
    }
    std::string pattern = target + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return 1;
    // mkstemp creates the file private; give it the mode a plain create would.
    ::fchmod(fd, 0666 & ~processUmask());
    target_ = target;
    tempPath_ = pattern;
    fd_ = fd;
    failed_ = false;
    buffer_.clear();
    buffer_.reserve(kFlushSize * 2);
    return 0;
}

void OutputFile::flush() {
    if (fd_ < 0) return;
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && !failed_) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

int OutputFile::commit() {
    if (fd_ < 0) return 1;
    flush();
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) failed_ = true;
    if (!failed_ && std::rename(tempPath_.c_str(), target_.c_str()) != 0) failed_ = true;
    if (failed_) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
        return 1;
    }
    tempPath_.clear();
    return 0;
}

void OutputFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    buffer_.clear();
}

}  // namespace vx
