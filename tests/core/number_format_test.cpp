#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
