#include "core/number_format.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vx {

namespace {

// printf spells the special values in lower case, with a sign for negative
// NaN as glibc does.
bool appendSpecial(std::string& out, double value) {
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return true;
    }
    return false;
}

}  // namespace

void appendFixed(std::string& out, double value, int precision) {
    if (appendSpecial(out, value)) return;
    char buf[400];  // 309 integer digits, sign, point and the fraction
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    out.append(buf, r.ptr);
}

void appendGeneral(std::string& out, double value) {
    if (appendSpecial(out, value)) return;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    out.append(buf, r.ptr);
}

void appendInt(std::string& out, long long value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void appendInt3(std::string& out, int value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::size_t digits = static_cast<std::size_t>(r.ptr - buf);
    if (value < 0) {
        // "%03d" of -5 is "-05": the width counts the sign.
        out += '-';
        for (std::size_t i = digits; i < 3; ++i) out += '0';
        out.append(buf + 1, r.ptr);
        return;
    }
    for (std::size_t i = digits; i < 3; ++i) out += '0';
    out.append(buf, r.ptr);
}

}  // namespace vx
