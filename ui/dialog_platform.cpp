#include "ui/dialog_platform.h"

#include <algorithm>
#include <cctype>

namespace vx::ui {

std::optional<std::string> firstWithExtension(const std::vector<std::string>& paths, std::string_view extension) {
    auto lower = [](unsigned char c) { return std::tolower(c); };
    for (const std::string& path : paths) {
        if (path.size() <= extension.size()) continue;
        const std::string_view end = std::string_view(path).substr(path.size() - extension.size());
        if (std::equal(end.begin(), end.end(), extension.begin(), extension.end(),
                       [&](char a, char b) { return lower(a) == lower(b); })) {
            return path;
        }
    }
    return std::nullopt;
}

}  // namespace vx::ui
