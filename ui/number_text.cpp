#include "ui/number_text.h"

#include <charconv>
#include <cmath>

#include "core/number_format.h"

namespace vx::ui {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// from_chars knows no leading "+", which people do type.
std::string_view withoutPlus(std::string_view s) {
    if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.remove_prefix(1);
    return s;
}

}  // namespace

std::optional<double> parseNumberText(std::string_view text) {
    std::string_view s = withoutPlus(trimmed(text));
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> parseIntegerText(std::string_view text) {
    std::string_view s = withoutPlus(trimmed(text));
    int v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string formatNumber(double value, int significantDigits) {
    std::string out;
    if (!std::isfinite(value)) {
        appendGeneral(out, value);  // printf's spelling of nan and inf
        return out;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, significantDigits);
    out.assign(buf, r.ptr);
    return out;
}

}  // namespace vx::ui
