#include "lwo2/layer_codes.h"

#include <gtest/gtest.h>

namespace {

using vx::ModelType;

TEST(LayerName, SplitsNameAndCodes) {
    EXPECT_EQ(vx::parseLayerName("SolarPanel", 1).component, "SolarPanel");
    EXPECT_EQ(vx::parseLayerName("SolarPanel", 1).codes, "sRPYxyz");
    EXPECT_EQ(vx::parseLayerName("Dish@Y(Azimuth)", 1).component, "Dish");
    EXPECT_EQ(vx::parseLayerName("Dish@Y(Azimuth)", 1).codes, "Y(Azimuth)");
    EXPECT_EQ(vx::parseLayerName("Antenna@", 1).codes, "");
    EXPECT_EQ(vx::parseLayerName("@R", 1).component, "");
    EXPECT_EQ(vx::parseLayerName("", 4).component, "Layer4");
    EXPECT_EQ(vx::parseLayerName("", 4).codes, "sRPYxyz");
    // The "." ends the name; a second "@" belongs to the codes.
    EXPECT_EQ(vx::parseLayerName("Wing.L@R", 1).component, "Wing");
    EXPECT_EQ(vx::parseLayerName("a@R@P", 1).codes, "R@P");
    EXPECT_EQ(vx::parseLayerName("my part-2", 1).component, "my_part_2");
}

TEST(LayerName, ComponentNamesAreCutAndCodesKeptOnOneLine) {
    const std::string longName(300, 'x');
    EXPECT_EQ(vx::parseLayerName(longName + "@" + longName, 1).component, std::string(31, 'x'));
    EXPECT_EQ(vx::parseLayerName(longName + "@" + longName, 1).codes, longName);
    EXPECT_EQ(vx::parseLayerName("Arm@R(Up\nDown)", 1).codes, "R(Up Down)");
}

TEST(CodeLookup, StepsOverItemsAndTheirArguments) {
    const std::string_view codes = "R(Yaw)-4_5Sx(P)Ae Y";
    EXPECT_EQ(vx::findCode(codes, 'R'), 0u);
    // The "Y" and "P" inside names and the sub-letters are not items.
    EXPECT_EQ(vx::findCode(codes, 'Y'), 18u);
    EXPECT_EQ(vx::findCode(codes, 'P'), std::nullopt);
    EXPECT_EQ(vx::findCode(codes, 'x'), std::nullopt);
    EXPECT_EQ(vx::findCode(codes, 'e'), std::nullopt);
    EXPECT_EQ(vx::findCode(codes, 'A'), 15u);
    EXPECT_EQ(vx::findCodePair(codes, 'S', 'x'), 10u);
    EXPECT_EQ(vx::findCodePair(codes, 'S', 'y'), std::nullopt);
    EXPECT_EQ(vx::findCode("qS", 'S'), 1u);
    EXPECT_EQ(vx::skipArgument("R(a)1_2(b", 1), 9u);  // an unterminated name runs to the end
    EXPECT_EQ(vx::skipArgument("R(a)1x", 1), 5u);
}

TEST(CodeLookup, NamesComeFromParentheses) {
    EXPECT_EQ(vx::codeName("Y(Azimuth)P", 0, "Yaw"), "Azimuth");
    EXPECT_EQ(vx::codeName("Y(Azimuth)P", 10, "Pitch"), "Pitch");
    EXPECT_EQ(vx::codeName("Sx(Stretch)", 0, "ScaleX"), "Stretch");
    EXPECT_EQ(vx::codeName("R(a)(b)", 0, "Roll"), "b");
    EXPECT_EQ(vx::codeName("R(open", 0, "Roll"), "open");
    EXPECT_EQ(vx::codeName("R", 5, "Roll"), "Roll");
}

TEST(ReadArgument, WritesKeywordNameAndRange) {
    std::string out, name = "Roll";
    const std::string_view codes = "R(Rotate)-45_0_45P";
    EXPECT_EQ(vx::readArgument(out, "\t\t\txRotate ", "-360 0 360\n", codes, 1, &name), 17u);
    EXPECT_EQ(out, "\t\t\txRotate Rotate -45 0 45\n");
    EXPECT_EQ(name, "Rotate");

    out.clear();
    name = "Roll";
    vx::readArgument(out, "\t\t\txRotate ", "-360 0 360\n", "R", 1, &name);
    EXPECT_EQ(out, "\t\t\txRotate Roll -360 0 360\n");

    // A one-character range is too short and the default stands; longer ones
    // are copied unchecked.
    out.clear();
    vx::readArgument(out, "K ", "D\n", "R5", 1, nullptr);
    EXPECT_EQ(out, "K D\n");
    out.clear();
    vx::readArgument(out, "K ", "D\n", "R10", 1, nullptr);
    EXPECT_EQ(out, "K 10\n");
    out.clear();
    vx::readArgument(out, "K ", "D\n", "R-4-5_0", 1, nullptr);
    EXPECT_EQ(out, "K -4-5 0\n");
}

TEST(Vocabulary, RotationKeywordsFollowTheModelType) {
    auto keyword = [](char letter, ModelType type) { return std::string(vx::articulationCode(letter, type)->keyword); };
    EXPECT_EQ(keyword('R', ModelType::SpacecraftAircraft), "\t\t\txRotate ");
    EXPECT_EQ(keyword('P', ModelType::GroundVehicle), "\t\t\tyRotate ");
    EXPECT_EQ(keyword('R', ModelType::Facility), "\t\t\tyRotate ");
    EXPECT_EQ(keyword('P', ModelType::Facility), "\t\t\txRotate ");
    EXPECT_EQ(keyword('Y', ModelType::Facility), "\t\t\tzRotate ");
    EXPECT_EQ(keyword('R', ModelType::None), "\t\t\tzRotate ");
    EXPECT_EQ(keyword('P', ModelType::None), "\t\t\txRotate ");
    EXPECT_EQ(keyword('Y', ModelType::None), "\t\t\tyRotate ");
    EXPECT_EQ(keyword('x', ModelType::None), "\t\t\txTranslate ");
    EXPECT_FALSE(vx::articulationCode('q', ModelType::None));
    EXPECT_FALSE(vx::articulationCode('S', ModelType::None));
    EXPECT_EQ(vx::scaleCode('v')->defaultName, "TxScaleV");
    EXPECT_FALSE(vx::scaleCode('w'));
}

}  // namespace
