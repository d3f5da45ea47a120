#pragma once
// A model or script file written safely: the text goes to a temporary file
// beside the target, which replaces the target only when commit() succeeds.
// A run that fails, or an OutputFile destroyed without commit, leaves any
// earlier file untouched and no temporary behind, also when the program is
// interrupted (see core/interrupt_cleanup.h). A replaced file keeps its mode,
// and its owner and group where the process may give them; a target that is
// a symbolic link is written through to the file it points to.

#include <string>
#include <string_view>

namespace vx {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // 0 when the temporary file could be created, 1 otherwise (nothing created).
    // An existing target must be a regular file we may write.
    int open(const std::string& target);

    // Buffered; a failed write is remembered and reported by commit().
    void write(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kFlushSize) flush();
    }
    std::string& buffer() { return buffer_; }  // for formatting straight into it
    void flushIfFull() {
        if (buffer_.size() >= kFlushSize) flush();
    }

    // Flushes, closes and renames over the target: 0 on success, 1 on any
    // write, close or rename failure (the temporary is then removed).
    int commit();

    // Drops the temporary file; the target stays as it was.
    void discard();

    bool isOpen() const { return fd_ >= 0; }

    // The system's error number behind the last failed open() or commit()
    // (0 when the failure had no system cause, such as an empty target).
    int systemError() const { return error_; }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void flush();

    std::string target_;
    std::string tempPath_;
    std::string buffer_;
    int fd_ = -1;
    bool failed_ = false;
    int error_ = 0;
};

}  // namespace vx
