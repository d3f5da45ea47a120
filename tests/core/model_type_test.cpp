#include "core/model_type.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sys/stat.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vx::ModelType;

vx::Point3 decodeOne(float x, float y, float z, ModelType type, float& maximum) {
    auto bytes = vxtest::Data().point(x, y, z).bytes;
    vx::decodePoints(bytes, 1, type, maximum);
    return vx::decodedPoint(bytes.data(), 0);
}

void expectPoint(const vx::Point3& p, float x, float y, float z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

TEST(DecodePoints, RotatesAxesPerModelType) {
    float m = 10.0f;
    expectPoint(decodeOne(1, 2, 3, ModelType::SpacecraftAircraft, m), 3, 1, -2);
    expectPoint(decodeOne(1, 2, 3, ModelType::GroundVehicle, m), 3, -1, 2);
    expectPoint(decodeOne(1, 2, 3, ModelType::Facility, m), 1, 3, 2);
    expectPoint(decodeOne(1, 2, 3, ModelType::None, m), 1, 2, -3);
    expectPoint(decodeOne(1, 2, 3, static_cast<ModelType>(7), m), 1, 2, -3);
    EXPECT_EQ(m, 10.0f);
}

TEST(DecodePoints, RaisesTheRunningMaximumOnlyStrictlyAndNeverToNan) {
    for (int t = 0; t < 4; ++t) {
        float m = 10.0f;
        decodeOne(-12.5f, 0, 4, static_cast<ModelType>(t), m);
        EXPECT_EQ(m, 12.5f);
        m = 10.0f;
        decodeOne(10, -10, 10, static_cast<ModelType>(t), m);
        EXPECT_EQ(m, 10.0f);
        decodeOne(std::nanf(""), 1, 1, static_cast<ModelType>(t), m);
        EXPECT_EQ(m, 10.0f);
    }
}

TEST(DecodePoints, ZeroCountAndShortBlocksLeaveBytesAlone) {
    auto bytes = vxtest::Data().point(1, 2, 3).u2(7).bytes;
    const auto before = bytes;
    float m = 10.0f;
    vx::decodePoints(bytes, 0, ModelType::None, m);
    EXPECT_EQ(bytes, before);
    // A count larger than the block decodes only the whole points it holds.
    vx::decodePoints(bytes, 1000, ModelType::None, m);
    EXPECT_EQ(bytes[12], 0);
    EXPECT_EQ(bytes[13], 7);
}

TEST(DecodePoints, NegativeZeroKeepsOnlyTheMappingsSignChange) {
    float m = 10.0f;
    vx::Point3 p = decodeOne(-0.0f, 0.0f, 1e-40f, ModelType::None, m);
    EXPECT_TRUE(std::signbit(p.x));
    EXPECT_FALSE(std::signbit(p.y));
    EXPECT_EQ(p.z, -1e-40f);
}

TEST(AxisRotationLine, NamesEachModelType) {
    EXPECT_EQ(vx::axisRotationLine(ModelType::SpacecraftAircraft),
              "# Axis rotation applied: Spacecraft/Aircraft (+Y to -Z, +X to +Y)\n");
    EXPECT_EQ(vx::axisRotationLine(ModelType::GroundVehicle),
              "# Axis rotation applied: Ground Vehicle (+Y to +Z, +X to -Y)\n");
    EXPECT_EQ(vx::axisRotationLine(ModelType::Facility), "# Axis rotation applied: Facility (+Y to +Z)\n");
    EXPECT_EQ(vx::axisRotationLine(static_cast<ModelType>(-1)), "# Axis rotation applied: None\n");
}

TEST(ReadModelTypeFromMdl, RecallsTheTypeFromTheHeaderOnly) {
    vxtest::ScratchDir dir;
    const std::string p = dir.path("m.mdl");
    auto recall = [&](std::string_view text) {
        vxtest::writeText(p, text);
        return vx::readModelTypeFromMdl(p);
    };
    EXPECT_EQ(recall("# Korvan\n# AXIS ROTATION APPLIED: Ground Vehicle (+Y)\n"), ModelType::GroundVehicle);
    EXPECT_EQ(recall("# Axis rotation applied: Facility (+Y to +Z)\n"), ModelType::Facility);
    EXPECT_EQ(recall("# Axis rotation applied: None"), ModelType::None);
    EXPECT_EQ(recall("# Axis rotation applied: Spacecraft"), ModelType::SpacecraftAircraft);
    EXPECT_EQ(recall("# Axis rotation applied: spacecraft\n"), std::nullopt);  // the type letter is upper case
    EXPECT_EQ(recall("Component x\n# Axis rotation applied: Facility\n"), std::nullopt);
    EXPECT_EQ(recall(std::string(2000, 'x') + "\n# Axis rotation applied: Facility\n"), ModelType::Facility);
    EXPECT_EQ(recall(""), std::nullopt);
    EXPECT_EQ(vx::readModelTypeFromMdl(dir.path("missing.mdl")), std::nullopt);
    EXPECT_EQ(vx::readModelTypeFromMdl(dir.dir().string()), std::nullopt);
}

}  // namespace

namespace {

TEST(ReadModelTypeFromMdl, DoesNotWaitOnAFifo) {
    vxtest::ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.path("pipe.mdl").c_str(), 0600), 0);
    EXPECT_EQ(vx::readModelTypeFromMdl(dir.path("pipe.mdl")), std::nullopt);
}

}  // namespace
