#include "scene/text_scan.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace vx {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal real whose magnitude lies outside the double range: infinite when
// it is too large, zero when it is too small, as strtod gives them.
double outOfRange(std::string_view digits) {
    bool negative = !digits.empty() && digits.front() == '-';
    std::size_t e = digits.find_first_of("eE");
    bool tiny = false;
    if (e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-') {
        tiny = true;
    } else {
        // Without a negative exponent, only a mantissa with nothing but zeros
        // before its point can be too small.
        std::string_view mantissa = digits.substr(0, e);
        tiny = true;
        for (char c : mantissa) {
            if (c == '.') break;
            if (c >= '1' && c <= '9') tiny = false;
        }
    }
    double v = tiny ? 0.0 : HUGE_VAL;
    return negative ? -v : v;
}

}  // namespace

std::string_view untilNul(std::string_view text) {
    std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

void TextScanner::skipSpace() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
}

bool TextScanner::literal(std::string_view word) {
    if (text_.substr(pos_).substr(0, word.size()) != word) return false;
    pos_ += word.size();
    return true;
}

bool TextScanner::readInt(int& value) {
    skipSpace();
    std::size_t at = pos_;
    bool negative = false;
    if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) negative = text_[at++] == '-';
    if (at >= text_.size() || !isDigit(text_[at])) return false;
    long long v = 0;
    for (; at < text_.size() && isDigit(text_[at]); ++at) {
        if (v <= LLONG_MAX / 100) v = v * 10 + (text_[at] - '0');
    }
    if (negative) v = -v;
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
    pos_ = at;
    return true;
}

template <typename Real>
bool TextScanner::readReal(Real& value) {
    skipSpace();
    std::size_t at = pos_;
    // from_chars takes a minus sign but no plus sign.
    if (at < text_.size() && text_[at] == '+' && at + 1 < text_.size() && text_[at + 1] != '-') ++at;
    const char* first = text_.data() + at;
    const char* last = text_.data() + text_.size();
    Real v = 0;
    auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument) return false;
    if (r.ec == std::errc::result_out_of_range) {
        v = static_cast<Real>(outOfRange(std::string_view(first, static_cast<std::size_t>(r.ptr - first))));
    }
    value = v;
    pos_ = static_cast<std::size_t>(r.ptr - text_.data());
    return true;
}

bool TextScanner::readDouble(double& value) { return readReal(value); }
bool TextScanner::readFloat(float& value) { return readReal(value); }

bool TextScanner::readWord(std::string_view& word) {
    skipSpace();
    std::size_t at = pos_;
    while (at < text_.size() && !isSpace(text_[at])) ++at;
    if (at == pos_) return false;
    word = text_.substr(pos_, at - pos_);
    pos_ = at;
    return true;
}

}  // namespace vx
