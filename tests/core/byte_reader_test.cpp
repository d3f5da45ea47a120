#include "core/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ByteReader, ReadsBigEndianFields) {
    const std::vector<std::uint8_t> b = {0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00,
                                         0x3F, 0xF8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    vx::ByteReader r(b);
    EXPECT_EQ(r.u2(), 0x1234);
    EXPECT_EQ(r.u2(), 0x5678);
    EXPECT_EQ(r.i2(), -2);
    EXPECT_EQ(r.f4(), 1.0f);
    EXPECT_EQ(r.f8(), 1.5000000000000002);  // the low word counts
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteReader, ShortReadYieldsZeroAndStopsAtTheEnd) {
    const std::vector<std::uint8_t> b = {0x01, 0x02, 0x03};
    vx::ByteReader r(b);
    EXPECT_EQ(r.u4(), 0u);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.u1(), 0);
    EXPECT_FALSE(r.seek(4));
}

TEST(ByteReader, VariableLengthIndexTakesTwoOrFourBytes) {
    const std::vector<std::uint8_t> b = {0x00, 0x05, 0xFF, 0x01, 0x02, 0x03, 0xFE, 0xFF};
    vx::ByteReader r(b);
    EXPECT_EQ(r.vx(), 5u);
    EXPECT_EQ(r.vx(), 0x010203u);
    EXPECT_EQ(r.vx(), 0xFEFFu);
    EXPECT_TRUE(r.ok());
}

TEST(ByteReader, StringsStopAtTheirNulOrTheEnd) {
    const std::vector<std::uint8_t> b = {'a', 'b', 0, 0, 'c', 0, 'x', 'y'};
    vx::ByteReader r(b);
    EXPECT_EQ(r.evenString(), "ab");  // "ab", NUL and the pad byte
    EXPECT_EQ(r.offset(), 4u);
    EXPECT_EQ(r.evenString(), "c");
    EXPECT_EQ(r.offset(), 6u);
    EXPECT_EQ(r.cstring(), "xy");  // unterminated: runs to the end, no further
    EXPECT_TRUE(r.atEnd());
}

}  // namespace
