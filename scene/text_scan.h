#pragma once
// Reading numbers and words out of scene and script text the way the C
// library's scanf conversions read them ("%d", "%f", "%lf", "%s"): leading
// white space skipped, the longest number that fits taken, the rest left.
// Unlike scanf it never depends on the locale and never overflows: integers
// beyond the int range are clamped, out-of-range reals become infinite or zero.

#include <cstddef>
#include <string_view>

namespace vx {

class TextScanner {
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    // Skips spaces, tabs and line ends (a blank in a scanf format).
    void skipSpace();
    // Matches `word` exactly at the current position.
    bool literal(std::string_view word);
    // Each conversion skips leading white space; on failure nothing is
    // assigned and the position is where the number should have begun.
    bool readInt(int& value);
    bool readDouble(double& value);
    bool readFloat(float& value);
    // A run of characters that are not white space ("%s").
    bool readWord(std::string_view& word);

    std::string_view rest() const { return text_.substr(pos_); }

private:
    template <typename Real>
    bool readReal(Real& value);

    std::string_view text_;
    std::size_t pos_ = 0;
};

// The text up to its first NUL: what the C string functions would see of a
// line read with embedded NUL bytes.
std::string_view untilNul(std::string_view text);

}  // namespace vx
