#include "scene/text_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_checks.h"
#include "core/memory_files.h"
#include "core/message_sink.h"
#include "scene/text_scan.h"

namespace vx {

bool TextLineReader::open(const std::string& path, const MemoryFiles* memory) {
    close();
    if (memory) {
        const auto stored = memory->files.find(path);
        if (stored == memory->files.end()) {
            failure_ = MessageSink::systemReason(ENOENT);
            return false;
        }
        failure_.clear();
        stored_ = &stored->second;
        storedAt_ = 0;
        return true;
    }
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
    stored_ = nullptr;
}

bool TextLineReader::next(std::string_view& line) {
    if (stored_) return nextStored(line);
    if (!file_ || buffer_.size() < 2) return false;
    if (!std::fgets(buffer_.data(), static_cast<int>(buffer_.size()), file_)) return false;
    line = untilNul(std::string_view(buffer_.data(), buffer_.size()));
    return true;
}

// The piece fgets would return: up to a line end or bufferSize - 1
// characters, copied into the buffer so the line outlives later changes to
// the store, as one read from a file does.
bool TextLineReader::nextStored(std::string_view& line) {
    const std::string& text = *stored_;
    if (buffer_.size() < 2 || storedAt_ >= text.size()) return false;
    const char* from = text.data() + storedAt_;
    std::size_t length = std::min(buffer_.size() - 1, text.size() - storedAt_);
    if (const void* end = std::memchr(from, '\n', length)) length = static_cast<const char*>(end) - from + 1;
    std::memcpy(buffer_.data(), from, length);
    buffer_[length] = '\0';
    storedAt_ += length;
    line = untilNul(std::string_view(buffer_.data(), length));
    return true;
}

}  // namespace vx
