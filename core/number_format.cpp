#include "core/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <type_traits>

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
// Every power of ten a 64-bit integer holds.
constexpr std::uint64_t kPow10[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL,
                                    10000000000000000000ULL};
constexpr int kMaxExactPrecision = 11;
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the digits of `whole` so that they end at `end`, two at a time;
// returns where they begin.
char* wholeDigitsEndingAt(char* end, std::uint64_t whole) {
    char* p = end;
    for (; whole >= 100; whole /= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (whole % 100), 2);
    }
    if (whole >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * whole, 2);
    } else {
        *--p = char('0' + whole);
    }
    return p;
}

// Writes q / 10^precision with `precision` decimals: backwards from the
// end, two digits at a time. Precision is a template argument where the
// caller knows it, so that the divisions become multiplications.
template <int kPrecision>
char* fixedDigits(char* to, std::uint64_t q, bool negative, int precision = kPrecision) {
    if constexpr (kPrecision >= 0) precision = kPrecision;
    std::uint64_t fraction = q % kPow10[precision];
    std::uint64_t whole = q / kPow10[precision];
    int wholeDigits = 1;
    while (wholeDigits < 20 && whole >= kPow10[wholeDigits]) ++wholeDigits;
    char* const end = to + negative + wholeDigits + (precision > 0 ? precision + 1 : 0);
    char* p = end;
    int left = precision;
    for (; left >= 2; left -= 2, fraction /= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (fraction % 100), 2);
    }
    if (left) *--p = char('0' + fraction);
    if (precision > 0) *--p = '.';
    p = wholeDigitsEndingAt(p, whole);
    if (negative) *--p = '-';
    return end;
}

// A finite float is m * 2^e with m below 2^24, so value * 10^p is
// m * 5^p * 2^(e + p): an integer (below 2^50 for p up to 11) shifted by a
// power of two. The shift right rounds half to even, as printf does on the
// exact binary value. Null when the result would not fit 64 bits; otherwise
// the end of the text written at `to`.
char* fixedFromFloat(char* to, float value, int precision) {
    if (precision < 0 || precision > kMaxExactPrecision) return nullptr;
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint32_t biased = (bits >> 23) & 0xFF;
    if (biased == 0xFF) return nullptr;
    const std::uint64_t m = biased == 0 ? (bits & 0x7FFFFF) : ((bits & 0x7FFFFF) | 0x800000);
    const int e = biased == 0 ? -149 : int(biased) - 150;
    const std::uint64_t n = m * kPow5[precision];
    const int shift = e + precision;
    std::uint64_t q;
    if (shift >= 0) {
        if (shift > 13) return nullptr;  // n < 2^50: 13 more bits stay below 2^63
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
    const bool negative = bits >> 31;
    // The model's two precisions get divisions by constants.
    switch (precision) {
        case 11: return fixedDigits<11>(to, q, negative);
        case 6: return fixedDigits<6>(to, q, negative);
        default: return fixedDigits<-1>(to, q, negative, precision);
    }
}

// "%g" text of six (or fewer) significant digits with the decimal exponent
// of the first; trailing zeros are dropped as %g drops them.
void appendGeneralDigits(std::string& out, bool negative, const char* digits, int count, int exponent) {
    while (count > 1 && digits[count - 1] == '0') --count;
    char buf[32];
    char* p = buf;
    if (negative) *p++ = '-';
    if (exponent < -4 || exponent >= 6) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            for (int i = 1; i < count; ++i) *p++ = digits[i];
        }
        *p++ = 'e';
        *p++ = exponent < 0 ? '-' : '+';
        int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100) {
            *p++ = char('0' + magnitude / 100);
            magnitude %= 100;
        }
        *p++ = char('0' + magnitude / 10);
        *p++ = char('0' + magnitude % 10);
    } else if (exponent >= 0) {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) *p++ = i < count ? digits[i] : '0';
        if (count > whole) {
            *p++ = '.';
            for (int i = whole; i < count; ++i) *p++ = digits[i];
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = -exponent - 1; i > 0; --i) *p++ = '0';
        for (int i = 0; i < count; ++i) *p++ = digits[i];
    }
    out.append(buf, static_cast<std::size_t>(p - buf));
}

__extension__ typedef unsigned __int128 Int128;
constexpr double kPow10Double[] = {1e-4, 1e-3, 1e-2, 1e-1, 1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

// The integer part of m * 5^(5 - exponent) * 2^(e + 5 - exponent), rounded
// half to even, when it has six digits: 0 with `whole` set. Otherwise the
// step that moves the exponent towards six digits (1 or -1), or kOutOfReach
// when the shift is beyond the integer type.
constexpr int kOutOfReach = 2;
template <typename Wide, int kMaxLeftShift>
int sixDigitsAt(Wide m, int e, int exponent, std::uint64_t& whole) {
    const Wide n = m * kPow5[5 - exponent];  // below 2^80
    const int shift = e + 5 - exponent;
    Wide rest = 0, half = 0;
    if (shift >= 0) {
        if (shift > kMaxLeftShift) return kOutOfReach;
        const Wide shifted = n << shift;
        if (shifted >= 10000000) return 1;
        whole = std::uint64_t(shifted);
    } else {
        if (-shift >= int(sizeof(Wide) * 8) - 8) return kOutOfReach;
        const Wide shifted = n >> -shift;
        if (shifted >= 10000000) return 1;
        whole = std::uint64_t(shifted);
        rest = n & ((Wide(1) << -shift) - 1);
        half = Wide(1) << (-shift - 1);
    }
    if (whole >= 1000000) return 1;
    if (whole < 100000) return -1;
    if (rest > half || (rest == half && rest != 0 && (whole & 1))) ++whole;
    return 0;
}

// "%g" of a value between 1e-4 and 1e6, where it prints without an exponent,
// by exact integer arithmetic: with the value m * 2^e and the decimal
// exponent X, value * 10^(5 - X) = m * 5^(5 - X) * 2^(e + 5 - X), whose
// integer part has six digits exactly when X is right. A wrong first guess
// of X is corrected by that test. False outside the range.
template <typename Real>
bool generalInFixedRange(std::string& out, Real value) {
    constexpr bool isFloat = sizeof(Real) == 4;
    constexpr int kMantissaBits = isFloat ? 23 : 52;
    using Bits = std::conditional_t<isFloat, std::uint32_t, std::uint64_t>;
    // A float's mantissa times 5^9 stays below 2^45; a double's needs more.
    using Wide = std::conditional_t<isFloat, std::uint64_t, Int128>;
    constexpr int kMaxLeftShift = isFloat ? 18 : 40;
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = int((bits >> kMantissaBits) & (isFloat ? 0xFF : 0x7FF));
    if (biased == 0) {
        if ((bits << 1) != 0) return false;  // subnormal
        out += bits >> (sizeof(Bits) * 8 - 1) ? "-0" : "0";
        return true;
    }
    if (biased == (isFloat ? 0xFF : 0x7FF)) return false;  // special
    const Wide m = (bits & ((Bits(1) << kMantissaBits) - 1)) | (Bits(1) << kMantissaBits);
    const int e = biased - (isFloat ? 127 : 1023) - kMantissaBits;
    const double magnitude = std::fabs(double(value));
    if (!(magnitude >= 9e-5 && magnitude < 1.1e6)) return false;
    // From the binary exponent b the decimal one is floor(b log10 2) or one
    // more (1233 / 4096 stands for log10 2); a guess that is still one off,
    // since 1e-4 and 1e-3 are not exact, is put right by the test below.
    int exponent = ((biased - (isFloat ? 127 : 1023)) * 1233) >> 12;
    if (exponent >= -5 && exponent < 5 && magnitude >= kPow10Double[exponent + 5]) ++exponent;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (exponent < -4 || exponent > 5) return false;
        std::uint64_t whole;
        const int miss = sixDigitsAt<Wide, kMaxLeftShift>(m, e, exponent, whole);
        if (miss == kOutOfReach) return false;
        if (miss != 0) {
            exponent += miss;
            continue;
        }
        if (whole == 1000000) {
            whole = 100000;
            ++exponent;
        }
        const auto six = static_cast<std::uint32_t>(whole);
        char digits[6];
        std::memcpy(digits, kDigitPairs + 2 * (six / 10000), 2);
        std::memcpy(digits + 2, kDigitPairs + 2 * (six / 100 % 100), 2);
        std::memcpy(digits + 4, kDigitPairs + 2 * (six % 100), 2);
        appendGeneralDigits(out, bits >> (sizeof(Bits) * 8 - 1), digits, 6, exponent);
        return true;
    }
    return false;
}

// "%g" from the shortest round-trip digits. A float carries over 7 decimal
// digits (a double over 15), so the exact value and its shortest digits lie
// on the same side of every 7-digit rounding boundary unless the shortest
// digits are that boundary itself (seven digits ending in 5): only then is
// the exact value needed. Subnormal values carry fewer digits than that.
// False in those cases and for the special values.
template <typename Real>
bool generalFromShortest(std::string& out, Real value) {
    if (generalInFixedRange(out, value)) return true;
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
    const bool negativeExponent = p[1] == '-';
    int exponent = 0;
    for (p += 2; p < r.ptr; ++p) exponent = exponent * 10 + (*p - '0');
    if (negativeExponent) exponent = -exponent;
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
    appendGeneralDigits(out, negative, digits, count, exponent);
    return true;
}

}  // namespace

void appendFixed(std::string& out, double value, int precision) {
    if (appendSpecial(out, value)) return;
    char buf[400];  // 309 integer digits, sign, point and the fraction
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    out.append(buf, r.ptr);
}

char* writeFixed(char* to, float value, int precision) {
    if (char* end = fixedFromFloat(to, value, precision)) return end;
    if (std::isnan(value)) {
        // printf spells a negative NaN with its sign, as glibc does.
        const bool negative = std::signbit(value);
        std::memcpy(to, negative ? "-nan" : "nan", negative ? 4 : 3);
        return to + (negative ? 4 : 3);
    }
    if (std::isinf(value)) {
        std::memcpy(to, value < 0 ? "-inf" : "inf", value < 0 ? 4 : 3);
        return to + (value < 0 ? 4 : 3);
    }
    return std::to_chars(to, to + kFixedFloatRoom, double(value), std::chars_format::fixed, precision).ptr;
}

void appendFixed(std::string& out, float value, int precision) {
    if (precision < 0 || precision > kMaxExactPrecision) return appendFixed(out, double(value), precision);
    char buf[kFixedFloatRoom];
    out.append(buf, static_cast<std::size_t>(writeFixed(buf, value, precision) - buf));
}

char* writeUnsigned(char* to, std::uint32_t value) {
    int digits = 1;
    while (digits < 10 && value >= kPow10[digits]) ++digits;
    wholeDigitsEndingAt(to + digits, value);
    return to + digits;
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
