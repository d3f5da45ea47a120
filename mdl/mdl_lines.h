#pragma once
// The model text taken line by line, and the words and numbers on a line.
// Every piece is a view into the text: nothing is copied, and no step can
// pass the text's end.

#include <cmath>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace vx {

class MdlLines {
public:
    explicit MdlLines(std::string_view text) : text_(text) {}

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

// A finite decimal number, the whole word.
inline bool parseNumber(std::string_view word, double& value) {
    if (word.empty()) return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

inline bool parseNumber(std::string_view word, float& value) {
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
