#pragma once
#include <string>

namespace vx {

// Whether the path names a regular file. Reading anything else can block (a
// FIFO waiting for a writer) or never end (a device).
bool isRegularFile(const std::string& path);

// Whether two paths name one file: the same file on disk (hard links and
// symbolic links included) or, for files that do not exist yet, the same
// place once "." and ".." are resolved.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace vx
