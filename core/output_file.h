#pragma once
// A model or script file written safely: the text goes to a temporary file
// beside the target, which replaces the target only when commit() succeeds.
// A run that fails, or an OutputFile destroyed without commit, leaves any
// earlier file untouched and no temporary behind, also when the program is
// interrupted (see core/interrupt_cleanup.h). A replaced file keeps its mode,
// and its owner and group where the process may give them; a target that is
// a symbolic link is written through to the file it points to.
// Opened on a store (core/memory_files.h) instead, the text stays in memory
// and commit() puts it into the store whole; the disk is never touched.

#include <string>
#include <string_view>

namespace vx {

struct MemoryFiles;

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // 0 when the temporary file could be created, 1 otherwise (nothing created).
    // An existing target must be a regular file we may write. With a store,
    // any non-empty target opens and the file system is left alone.
    int open(const std::string& target, MemoryFiles* memory = nullptr);

    // Buffered; a failed write is remembered and reported by commit().
    void write(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kFlushSize) flush();
    }
    std::string& buffer() { return buffer_; }  // for formatting straight into it
    // Writes out a full buffer. False once a write has failed: the caller
    // stops there, so a full disk costs a run one block more, not the rest
    // of its work.
    bool flushIfFull() {
        if (buffer_.size() >= kFlushSize) flush();
        return !failed_;
    }

    // Flushes, closes and renames over the target: 0 on success, 1 on any
    // write, close or rename failure (the temporary is then removed). On a
    // store, replaces the stored text of the target.
    int commit();

    // Drops the temporary file; the target stays as it was.
    void discard();

    bool isOpen() const { return fd_ >= 0 || memory_ != nullptr; }

    // Whether a write has failed since open(): the run can stop there, since
    // commit() will fail anyway. Writes are buffered, so a failure shows once
    // the buffer has been flushed.
    bool failed() const { return failed_; }

    // The system's error number behind the last failed open() or commit()
    // (0 when the failure had no system cause, such as an empty target).
    int systemError() const { return error_; }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    // Room a text in memory starts with: most models and scripts fit, and it
    // stays below the 128 KiB beyond which sanitizer builds map and unmap
    // every block, which would cost the fuzz targets more than the text.
    static constexpr std::size_t kMemoryReserve = 120'000;
    void flush();

    std::string target_;
    std::string tempPath_;
    std::string buffer_;
    int fd_ = -1;
    MemoryFiles* memory_ = nullptr;  // open on a store: buffer_ holds the whole text
    bool failed_ = false;
    int error_ = 0;
};

}  // namespace vx
