#pragma once
#include <string>

namespace vx {

// Whether the path names a regular file. Reading anything else can block (a
// FIFO waiting for a writer) or never end (a device).
bool isRegularFile(const std::string& path);

// Why a file of this type (st_mode) is not read: "Is a directory" or "Not a
// regular file".
std::string notRegularReason(unsigned mode);

// Whether two paths name one file: the same file on disk (hard links and
// symbolic links included) or, for files that do not exist yet, the same
// place once "." and ".." are resolved.
bool sameFile(const std::string& a, const std::string& b);
// A key equal for exactly the paths sameFile takes as one file.
std::string fileIdentity(const std::string& path);

}  // namespace vx
