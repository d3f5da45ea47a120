#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace {

// printf is the reference the model files are defined by.
std::string printfOf(const char* format, double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::vector<double> interestingValues() {
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 0.5, 1.5, 2.5, 1e-5, 1e-4, 0.0001, 123456.0, 999999.5,
                                  1e6, 1e15, 1e-12, 1515.0, 1875.0, 0.03333333333333333, 1.0 / 3.0,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(), std::nan(""), -std::nan(""),
                                  std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                                  5e-324, 0.125, 0.000000000005, 0.000000000015, 2.675};
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<float> small(-10.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 20000; ++i) {
        float f = small(rng);
        values.push_back(f);
        values.push_back(std::ldexp(f, exponent(rng)));
    }
    return values;
}

TEST(NumberFormat, FixedAndGeneralMatchPrintf) {
    for (double v : interestingValues()) {
        std::string fixed11, fixed6, general;
        vx::appendFixed(fixed11, v, 11);
        vx::appendFixed(fixed6, v, 6);
        vx::appendGeneral(general, v);
        ASSERT_EQ(fixed11, printfOf("%.11f", v)) << v;
        ASSERT_EQ(fixed6, printfOf("%f", v)) << v;
        ASSERT_EQ(general, printfOf("%g", v)) << v;
    }
}

// Single-precision values take an exact integer path for "%.11f" and "%f" and
// a shortest-digits path for "%g": every float shape must agree with printf.
// The sweep covers random bit patterns of every exponent, the dyadic
// fractions where the rounding ties lie (2^-10 is 0.0009765625, a "%g" tie),
// and the ranges model coordinates and script values come from.
std::vector<float> floatSweep() {
    std::vector<float> values;
#ifdef NDEBUG
    constexpr int kRandom = 2'000'000;
#else
    constexpr int kRandom = 200'000;  // sanitizer builds are many times slower
#endif
    std::mt19937 rng(11);
    for (int i = 0; i < kRandom; ++i) {
        const std::uint32_t bits = rng();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(f);
    }
    std::uniform_real_distribution<float> coordinate(-2000.0f, 2000.0f);
    for (int i = 0; i < kRandom / 2; ++i) values.push_back(coordinate(rng));
    for (int n = 0; n <= 30; ++n) {
        for (int k = -1100; k <= 1100; ++k) values.push_back(std::ldexp(float(k), -n));
    }
    for (int e = -149; e <= 127; ++e) {
        values.push_back(std::ldexp(1.0f, e));
        values.push_back(std::nextafter(std::ldexp(1.0f, e), 0.0f));
        values.push_back(-std::ldexp(1.5f, e - 1));
    }
    for (float f : {999999.5f, 9999995.0f, 0.000099999f, 0.0001f, 99999.95f, 1e-5f, 123456.5f, -0.0f, 0.0f,
                    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::quiet_NaN()}) {
        values.push_back(f);
    }
    return values;
}

TEST(NumberFormat, FloatsMatchPrintf) {
    std::string text;
    for (float f : floatSweep()) {
        const double d = f;
        text.clear();
        vx::appendFixed(text, f, 11);
        ASSERT_EQ(text, printfOf("%.11f", d)) << d;
        text.clear();
        vx::appendFixed(text, f, 6);
        ASSERT_EQ(text, printfOf("%f", d)) << d;
        text.clear();
        vx::appendGeneral(text, f);
        ASSERT_EQ(text, printfOf("%g", d)) << d;
    }
}

// Doubles print "%g" from their shortest digits too; script durations and
// model radii are doubles.
TEST(NumberFormat, DoublesMatchPrintfInGeneralForm) {
#ifdef NDEBUG
    constexpr int kRandom = 1'000'000;
#else
    constexpr int kRandom = 100'000;
#endif
    std::mt19937_64 rng(13);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    std::string text;
    auto check = [&](double d) {
        text.clear();
        vx::appendGeneral(text, d);
        ASSERT_EQ(text, printfOf("%g", d)) << d;
    };
    for (int i = 0; i < kRandom; ++i) {
        const std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        check(d);
        check(std::ldexp(unit(rng), exponent(rng) / 16));
        // Seven-digit decimals sit on the rounding boundaries of "%g".
        check(double(std::int64_t(rng() % 20000000) - 10000000) * std::pow(10.0, exponent(rng) % 12));
    }
}

TEST(NumberFormat, IntegersMatchPrintf) {
    for (int v : {0, 5, 42, 255, 999, 1000, -5, -42, -999, 2147483647, -2147483647 - 1}) {
        std::string d, d3;
        vx::appendInt(d, v);
        vx::appendInt3(d3, v);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d", v);
        EXPECT_EQ(d, buf);
        std::snprintf(buf, sizeof buf, "%03d", v);
        EXPECT_EQ(d3, buf);
    }
}

}  // namespace
