#include "scene/text_lines.h"

#include <sys/stat.h>

#include "scene/text_scan.h"

namespace vx {

bool TextLineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "r");
    if (!file_) return false;
    struct stat st;
    // A directory or a device (one that never ends, like /dev/zero) is no text file.
    if (::fstat(::fileno(file_), &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return false;
    }
    return true;
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
