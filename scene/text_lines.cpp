#include "scene/text_lines.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_checks.h"
#include "core/message_sink.h"
#include "scene/text_scan.h"

namespace vx {

bool TextLineReader::open(const std::string& path) {
    close();
    // Opened without waiting, so a FIFO cannot block the run until some writer
    // comes; a FIFO, a directory or a device (one that never ends, like
    // /dev/zero) is no text file.
    failure_.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure_ = MessageSink::systemReason(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        failure_ = MessageSink::systemReason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        failure_ = notRegularReason(st.st_mode);
    } else if (!(file_ = ::fdopen(fd, "r"))) {
        failure_ = MessageSink::systemReason(errno);
    } else {
        return true;
    }
    ::close(fd);
    return false;
}

void TextLineReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool TextLineReader::next(std::string_view& line) {
    if (!file_ || buffer_.size() < 2) return false;
    if (!std::fgets(buffer_.data(), static_cast<int>(buffer_.size()), file_)) return false;
    line = untilNul(std::string_view(buffer_.data(), buffer_.size()));
    return true;
}

}  // namespace vx
