#pragma once
// The model text taken line by line, and the words and numbers on a line.
// Every piece is a view into the text: nothing is copied, and no step can
// pass the text's end.

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace vx {

class MdlLines {
public:
    explicit MdlLines(std::string_view text) : text_(text) {}

    // The text not yet read, for a reader that finds a line's end itself,
    // and the step past such a line: `length` bytes with its line end.
    std::string_view ahead() const { return text_.substr(pos_); }
    void skipLine(std::size_t length) {
        pos_ += length;
        ++number_;
    }

    // The next line without its line end ("\n" or "\r\n"); false at the end.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        ++number_;
        return true;
    }
    int number() const { return number_; }
    std::size_t remaining() const { return text_.size() - pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string_view trimStart(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return s.substr(i);
}

inline std::string_view trimEnd(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

// Takes the next word (up to a blank) off the front of `s`, which then starts
// after the blanks that follow it.
inline std::string_view takeWord(std::string_view& s) {
    s = trimStart(s);
    std::size_t n = 0;
    while (n < s.size() && !isBlank(s[n])) ++n;
    const std::string_view word = s.substr(0, n);
    s = trimStart(s.substr(n));
    return word;
}

// The text after a keyword and the one blank that ends it: names keep any
// further blanks they were written with.
inline std::string_view afterKeyword(std::string_view line, std::string_view keyword) {
    return line.size() > keyword.size() ? line.substr(keyword.size() + 1) : std::string_view{};
}

// The plain decimals the converter writes ("-12.50000000000"): an optional
// minus, digits, and a point with digits after it, no exponent, read from
// `s` up to the first character that cannot continue it. Worked out exactly:
// a whole number below 2^53 divided by a power of ten up to 1e22 (both exact
// in a double) is rounded once, correctly, as from_chars rounds. Anything
// else returns false, and is left to from_chars.
inline bool scanPlainDecimal(const char*& s, const char* end, double& value) {
    static constexpr double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s;
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t whole = 0;
    int digits = 0, fraction = 0;
    const char* const first = p;
    for (; p != end && *p >= '0' && *p <= '9'; ++p, ++digits) whole = whole * 10 + std::uint64_t(*p - '0');
    if (p == first) return false;
    if (p != end && *p == '.') {
        const char* const point = ++p;
        for (; p != end && *p >= '0' && *p <= '9'; ++p, ++digits) whole = whole * 10 + std::uint64_t(*p - '0');
        fraction = static_cast<int>(p - point);
        if (fraction == 0) return false;
    }
    // Past 19 digits the whole number may have wrapped.
    if (digits > 19 || whole > (std::uint64_t(1) << 53) || fraction > 22) return false;
    const double magnitude = double(whole) / kPowers[fraction];
    value = negative ? -magnitude : magnitude;
    s = p;
    return true;
}

inline bool scanPlainDecimal(const char*& s, const char* end, float& value) {
    const char* p = s;
    double exact = 0;
    if (!scanPlainDecimal(p, end, exact)) return false;
    const double magnitude = std::fabs(exact);
    if (magnitude != 0 && !(magnitude >= double(FLT_MIN) && magnitude <= double(FLT_MAX))) return false;
    // Rounded to a double first, the number could land on the midpoint of two
    // floats, from where a second rounding may go the other way than rounding
    // the decimal itself: those few go to from_chars.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &exact, sizeof bits);
    if ((bits & 0x1FFFFFFFu) == 0x10000000u) return false;
    value = static_cast<float>(exact);
    s = p;
    return true;
}

// Digits alone, at most 19 of them (so nothing wraps), no larger than `limit`.
inline bool scanWhole(const char*& s, const char* end, std::uint64_t limit, std::uint64_t& value) {
    const char* p = s;
    std::uint64_t v = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) v = v * 10 + std::uint64_t(*p - '0');
    if (p == s || p - s > 19 || v > limit) return false;
    value = v;
    s = p;
    return true;
}

template <typename T>
bool plainDecimal(std::string_view word, T& value) {
    const char* s = word.data();
    const char* const end = s + word.size();
    T v = 0;
    if (!scanPlainDecimal(s, end, v) || s != end) return false;
    value = v;
    return true;
}

// A finite decimal number, the whole word.
inline bool parseNumber(std::string_view word, double& value) {
    if (plainDecimal(word, value)) return true;
    if (word.empty()) return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

inline bool parseNumber(std::string_view word, float& value) {
    if (plainDecimal(word, value)) return true;
    if (word.empty()) return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

// An unsigned whole number, the whole word, no larger than `limit`.
inline bool parseCount(std::string_view word, std::uint64_t limit, std::uint64_t& value) {
    if (word.empty()) return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value <= limit;
}

// A word for a message: cut short and with anything unprintable as "?".
inline std::string shownWord(std::string_view word) {
    constexpr std::size_t kShown = 40;
    std::string out;
    for (std::size_t i = 0; i < word.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (word.size() > kShown) out += "...";
    return out;
}

}  // namespace vx
