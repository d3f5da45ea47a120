#pragma once
// Scene and script files are read line by line through a fixed buffer: a line
// longer than the buffer arrives as several pieces, each handled as a line of
// its own, so no line ever needs more memory than the buffer.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vx {

struct MemoryFiles;

class TextLineReader {
public:
    explicit TextLineReader(std::size_t bufferSize) : buffer_(bufferSize, '\0') {}
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;
    ~TextLineReader() { close(); }

    // False when the path cannot be opened for reading or is no regular file.
    // With a store (core/memory_files.h), the text is the one stored under
    // the path, read in the same pieces; the disk is never touched.
    bool open(const std::string& path, const MemoryFiles* memory = nullptr);
    // Why the last open() failed, in the system's words.
    const std::string& failureReason() const { return failure_; }
    void close();

    // The next piece: at most bufferSize - 1 characters, ending after a line
    // end when one comes first, and cut at an embedded NUL (the C string
    // functions see no further). None at the end of the file or on a read error.
    bool next(std::string_view& line);

private:
    bool nextStored(std::string_view& line);

    std::FILE* file_ = nullptr;
    const std::string* stored_ = nullptr;  // the text in the store, when read from one
    std::size_t storedAt_ = 0;
    std::string buffer_;
    std::string failure_;
};

}  // namespace vx
