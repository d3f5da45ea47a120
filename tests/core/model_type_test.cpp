#include "core/model_type.h"
#include "core/model_type_recall.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(DecodePoints, RotatesAxesPerModelTypeAndRaisesTheMaximumNeverToNan) {
    const std::pair<ModelType, std::array<float, 3>> cases[] = {
        {ModelType::SpacecraftAircraft, {3, 1, -2}}, {ModelType::GroundVehicle, {3, -1, 2}},
        {ModelType::Facility, {1, 3, 2}},           {ModelType::None, {1, 2, -3}},
        {static_cast<ModelType>(7), {1, 2, -3}},
    };
    for (const auto& [type, expected] : cases) {
        float m = 10.0f;
        const vx::Point3 p = decodeOne(1, 2, 3, type, m);
        EXPECT_EQ((std::array<float, 3>{p.x, p.y, p.z}), expected) << int(type);
        decodeOne(10, -10, 10, type, m);
        decodeOne(std::nanf(""), 1, 1, type, m);
        EXPECT_EQ(m, 10.0f) << int(type);
        decodeOne(-12.5f, 0, 4, type, m);
        EXPECT_EQ(m, 12.5f) << int(type);
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

TEST(ReadModelTypeFromMdl, RecallsTheTypeFromTheHeaderOnly) {
    vxtest::ScratchDir dir;
    const std::string p = dir.path("m.mdl");
    auto recall = [&](std::string_view text) {
        vxtest::writeText(p, text);
        return vx::readModelTypeFromMdl(p);
    };
    const std::pair<std::string, std::optional<vx::ModelType>> cases[] = {
        {"# Korvan\n# AXIS ROTATION APPLIED: Ground Vehicle (+Y)\n", ModelType::GroundVehicle},
        {"# Axis rotation applied: Facility (+Y to +Z)\n", ModelType::Facility},
        {"# Axis rotation applied: None", ModelType::None},
        {"# Axis rotation applied: Spacecraft", ModelType::SpacecraftAircraft},
        {"# Axis rotation applied: spacecraft\n", std::nullopt},  // the type letter is upper case
        {"Component x\n# Axis rotation applied: Facility\n", std::nullopt},
        {std::string(2000, 'x') + "\n# Axis rotation applied: Facility\n", ModelType::Facility},
        {"", std::nullopt},
    };
    for (const auto& [text, type] : cases) EXPECT_EQ(recall(text), type) << text;
    // Missing, a directory or a FIFO (not waited on): nothing recalled.
    ASSERT_EQ(::mkfifo(dir.path("pipe.mdl").c_str(), 0600), 0);
    for (const std::string& path : {dir.path("missing.mdl"), dir.dir().string(), dir.path("pipe.mdl")})
        EXPECT_EQ(vx::readModelTypeFromMdl(path), std::nullopt) << path;
}

}  // namespace
