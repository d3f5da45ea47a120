// The reader's own reading of plain decimals must give exactly the number
// from_chars gives, bit for bit, for every word it takes on itself.

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mdl/mdl_lines.h"

namespace {

template <typename T>
bool referenceNumber(const std::string& word, T& value) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

template <typename T>
void expectLikeFromChars(const std::string& word) {
    T ours = 0, theirs = 0;
    const bool a = vx::parseNumber(word, ours), b = referenceNumber(word, theirs);
    ASSERT_EQ(a, b) << word;
    if (a) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(double(ours)), std::bit_cast<std::uint64_t>(double(theirs))) << word;
    }
}

std::vector<std::string> words() {
    std::vector<std::string> out = {"0", "-0", "-0.00000000000", "5.", ".5", "-", "", "1e5", "00012.5000",
                                    "9007199254740993", "9007199254740992.5", "12345678901234567890",
                                    "340282356779733661637539395458142568448.0", "0.00000000000000000000001",
                                    "0.0000000000000000000000000000000000000117549435", "1.5e-45", "nan", "inf",
                                    "16777217", "16777217.0", "33554435", "0.1", "-3.14159265358979", "1.23 "};
    std::mt19937_64 random(7);
    char text[80];
    for (int k = 0; k < 200000; ++k) {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        const double scaled = double(f) * 1e-30;  // most floats are huge; bring them near the model's range too
        for (const char* format : {"%.11f", "%f", "%g"}) {
            std::snprintf(text, sizeof text, format, k % 2 ? double(f) : scaled);
            out.emplace_back(text);
        }
        // Midpoints of two floats, which a double holds exactly, and their
        // nearest neighbours in six decimals.
        const float big = std::ldexp(1.0f + float(random() % (1u << 23)) / float(1u << 23), 20 + int(k % 4));
        const double mid = (double(big) + double(std::nextafter(big, 1e30f))) / 2;
        for (double v : {mid, mid - 1e-6, mid + 1e-6}) {
            std::snprintf(text, sizeof text, "%.6f", v);
            out.emplace_back(text);
        }
    }
    return out;
}

TEST(MdlNumbers, PlainDecimalsReadAsFromCharsReadsThem) {
    for (const std::string& word : words()) {
        expectLikeFromChars<float>(word);
        expectLikeFromChars<double>(word);
    }
}

}  // namespace
