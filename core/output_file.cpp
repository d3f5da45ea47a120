#include "core/output_file.h"

#include <cerrno>
#include <climits>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "core/interrupt_cleanup.h"
#include "core/memory_files.h"

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

// A target that is a symbolic link, or a chain of them, names the file it
// finally points to: that file is replaced and the links stay links, as a
// plain write through the link would do. A link to nothing yet names the file
// to create. 0, or the errno that stops the walk.
int followLinks(std::string& path) {
    constexpr int kMaxLinks = 40;  // the kernel's own limit
    for (int links = 0;; ++links) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;  // the later steps tell why
        if (links == kMaxLinks) return ELOOP;
        std::string to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
        if (n < 0) return errno;
        if (static_cast<std::size_t>(n) == to.size()) return ENAMETOOLONG;
        to.resize(static_cast<std::size_t>(n));
        // A relative link is read from the directory the link is in.
        const std::size_t slash = path.rfind('/');
        if (!to.starts_with('/') && slash != std::string::npos) to.insert(0, path, 0, slash + 1);
        path = std::move(to);
    }
}

// The temporary beside `path`: its name with ".XXXXXX" added, the name cut
// short where that would pass the file system's limit on names, so that a
// target of a legal name can always be written. The cut falls before a UTF-8
// character, so the temporary's name stays readable text.
std::string temporaryPattern(const std::string& path) {
    constexpr std::string_view kUnique = ".XXXXXX";
    const std::size_t slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const long known = ::pathconf(nameAt == 0 ? "." : path.substr(0, nameAt).c_str(), _PC_NAME_MAX);
    const std::size_t limit = known > 0 ? static_cast<std::size_t>(known) : 255;
    const std::size_t room = limit > kUnique.size() ? limit - kUnique.size() : 0;
    std::size_t keep = path.size() - nameAt;
    if (keep > room) {
        keep = room;
        while (keep > 0 && (static_cast<unsigned char>(path[nameAt + keep]) & 0xC0) == 0x80) --keep;
    }
    std::string pattern = path.substr(0, nameAt + keep);
    pattern += kUnique;
    return pattern;
}

// The replacement stays the file its users knew: the same owner and group
// where we may give them (the group alone when only that is ours to give),
// and the same mode. The mode comes last because a change of owner clears
// the set-user and set-group bits.
void takeOwnerAndMode(int fd, const struct stat& old) {
    const bool owned = ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    (void)owned;  // a replacement of our own is no reason to fail the run
    ::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

int OutputFile::open(const std::string& target, MemoryFiles* memory) {
    discard();
    error_ = 0;
    failed_ = false;
    if (target.empty()) return 1;
    if (memory) {
        target_ = target;
        memory_ = memory;
        buffer_.clear();
        buffer_.reserve(kMemoryReserve);
        return 0;
    }
    std::string path = target;
    if (const int error = followLinks(path)) {
        error_ = error;
        return 1;
    }
    struct stat st;
    const bool replacing = ::stat(path.c_str(), &st) == 0;
    if (replacing) {
        if (!S_ISREG(st.st_mode)) {  // a directory, a device
            error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            return 1;
        }
        if (::access(path.c_str(), W_OK) != 0) {  // a read-only model stays read-only
            error_ = errno;
            return 1;
        }
    }
    std::string pattern = temporaryPattern(path);
    target_ = std::move(path);
    const int fd = createTemporary(pattern);
    if (fd < 0) {
        error_ = errno;
        return 1;
    }
    tempPath_ = std::move(pattern);
    fd_ = fd;
    if (replacing) {
        takeOwnerAndMode(fd, st);
    } else {
        // mkstemp creates the file private; give it the mode a plain create would.
        ::fchmod(fd, 0666 & ~processUmask());
    }
    buffer_.clear();
    buffer_.reserve(kFlushSize * 2);
    return 0;
}

void OutputFile::flush() {
    if (memory_) {
        // The text stays whole in memory; only a store without room for it
        // fails, and then what follows is counted and dropped as on disk.
        if (failed_) {
            memory_->writtenAfterFailure += buffer_.size();
            buffer_.clear();
        } else if (buffer_.size() > memory_->room) {
            failed_ = true;
            error_ = ENOSPC;
            buffer_.clear();
        }
        return;
    }
    if (fd_ < 0) return;
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && !failed_) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            error_ = errno;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

int OutputFile::commit() {
    if (memory_) {
        flush();
        if (failed_) {
            memory_ = nullptr;
            buffer_.clear();
            return 1;
        }
        // The entry is made before the text moves in, so running out of memory
        // here leaves the earlier text, as a failed rename would.
        std::string& stored = memory_->files[target_];
        memory_ = nullptr;
        stored = std::move(buffer_);
        buffer_.clear();
        return 0;
    }
    if (fd_ < 0) return 1;
    flush();
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && !failed_) {
        failed_ = true;
        error_ = errno;
    }
    if (!failed_ && renameTemporary(tempPath_, target_) != 0) {
        failed_ = true;
        error_ = errno;
    }
    if (failed_) {
        removeTemporary(tempPath_);
        tempPath_.clear();
        return 1;
    }
    tempPath_.clear();
    return 0;
}

void OutputFile::discard() {
    memory_ = nullptr;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        removeTemporary(tempPath_);
        tempPath_.clear();
    }
    buffer_.clear();
}

}  // namespace vx
