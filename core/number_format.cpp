#include "core/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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

constexpr std::uint64_t kPow5[] = {1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125};
constexpr std::uint64_t kPow10[] = {1,         10,         100,         1000,         10000,         100000,
                                    1000000,   10000000,   100000000,   1000000000,   10000000000,   100000000000};
constexpr int kMaxExactPrecision = 11;

// `digits` decimal digits of `value`, leading zeros included.
void appendPadded(std::string& out, std::uint64_t value, int digits) {
    char buf[24];
    for (int i = digits - 1; i >= 0; --i) {
        buf[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(buf, static_cast<std::size_t>(digits));
}

// A finite float is m * 2^e with m below 2^24, so value * 10^p is
// m * 5^p * 2^(e + p): an integer (below 2^50 for p up to 11) shifted by a
// power of two. The shift right rounds half to even, as printf does on the
// exact binary value. False when the result would not fit 64 bits.
bool fixedFromFloat(std::string& out, float value, int precision) {
    if (precision < 0 || precision > kMaxExactPrecision) return false;
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint32_t biased = (bits >> 23) & 0xFF;
    if (biased == 0xFF) return false;
    const std::uint64_t m = biased == 0 ? (bits & 0x7FFFFF) : ((bits & 0x7FFFFF) | 0x800000);
    const int e = biased == 0 ? -149 : int(biased) - 150;
    const std::uint64_t n = m * kPow5[precision];
    const int shift = e + precision;
    std::uint64_t q;
    if (shift >= 0) {
        if (shift > 13) return false;  // n < 2^50: 13 more bits stay below 2^63
        q = n << shift;
    } else if (-shift >= 52) {
        q = 0;  // below a quarter of the last place
    } else {
        const int s = -shift;
        q = n >> s;
        const std::uint64_t rest = n & ((std::uint64_t(1) << s) - 1);
        const std::uint64_t half = std::uint64_t(1) << (s - 1);
        if (rest > half || (rest == half && (q & 1))) ++q;
    }
    if (bits >> 31) out += '-';
    const std::uint64_t scale = kPow10[precision];
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, q / scale);
    out.append(buf, r.ptr);
    if (precision > 0) {
        out += '.';
        appendPadded(out, q % scale, precision);
    }
    return true;
}

// "%g" from the shortest round-trip digits. A float carries over 7 decimal
// digits (a double over 15), so the exact value and its shortest digits lie
// on the same side of every 7-digit rounding boundary unless the shortest
// digits are that boundary itself (seven digits ending in 5): only then is
// the exact value needed. Subnormal values carry fewer digits than that.
// False in those cases and for the special values.
template <typename Real>
bool generalFromShortest(std::string& out, Real value) {
    if (!std::isnormal(value) && value != 0) return false;
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[24];
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') digits[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), r.ptr, exponent);
    if (count > 6) {
        if (count == 7 && digits[6] == '5') return false;
        const bool up = digits[6] >= '5';
        count = 6;
        if (up) {
            int i = 5;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i < 0) {
                digits[0] = '1';
                ++exponent;
            } else {
                ++digits[i];
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;  // %g drops trailing zeros

    if (negative) out += '-';
    if (exponent < -4 || exponent >= 6) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        out += exponent < 0 ? "e-" : "e+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        appendPadded(out, static_cast<std::uint64_t>(magnitude), magnitude >= 100 ? 3 : 2);
    } else if (exponent >= 0) {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) out += i < count ? digits[i] : '0';
        if (count > whole) {
            out += '.';
            out.append(digits + whole, static_cast<std::size_t>(count - whole));
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<std::size_t>(count));
    }
    return true;
}

}  // namespace

void appendFixed(std::string& out, double value, int precision) {
    if (appendSpecial(out, value)) return;
    char buf[400];  // 309 integer digits, sign, point and the fraction
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    out.append(buf, r.ptr);
}

void appendFixed(std::string& out, float value, int precision) {
    if (!fixedFromFloat(out, value, precision)) appendFixed(out, double(value), precision);
}

void appendGeneral(std::string& out, double value) {
    if (generalFromShortest(out, value) || appendSpecial(out, value)) return;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    out.append(buf, r.ptr);
}

void appendGeneral(std::string& out, float value) {
    if (!generalFromShortest(out, value)) appendGeneral(out, double(value));
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
