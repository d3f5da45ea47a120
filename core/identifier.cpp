#include "core/identifier.h"

namespace vx {

std::string makeIdentifier(std::string_view text) {
    constexpr std::size_t kMax = 39;
    std::string gathered;  // everything kept since the last separator
    std::size_t visible = std::string::npos;  // where a "." cut the result
    for (char c : text) {
        if (c == '/' || c == '\\') {
            gathered.clear();
            visible = std::string::npos;
            continue;
        }
        std::size_t n = gathered.size();
        if (c == '.' && n < kMax) {
            if (visible == std::string::npos) visible = n;
            continue;
        }
        if (n >= kMax) continue;
        if (c == ' ' || c == '-') {
            gathered += '_';
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
            gathered += c;
        }
    }
    if (visible != std::string::npos) gathered.resize(visible);
    return gathered;
}

std::string singleLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = ' ';
    }
    return out;
}

}  // namespace vx
