#pragma once
#include <string>

namespace vx {

// Whether two paths name one file: the same file on disk (hard links and
// symbolic links included) or, for files that do not exist yet, the same
// place once "." and ".." are resolved.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace vx
