// Single views of small models: which colour stands at a few pixels.

#include <gtest/gtest.h>

#include "preview/preview_sheet.h"
#include "tests/preview/preview_test_support.h"

namespace {

using namespace previewtest;
using vx::Vec3;

constexpr int kSize = 100;
constexpr vx::Rgb kBackground{34, 38, 46};

vx::RgbImage render(const vx::MdlModel& model, vx::ViewKind view, const vx::MdlPose& pose = {}) {
    vx::RgbImage image;
    std::string why;
    EXPECT_EQ(vx::renderView(model, pose, view, kSize, kBackground, image, why), 0) << why;
    return image;
}

// The hues along the middle row, left to right, one character a pixel.
std::string middleRow(const vx::RgbImage& image) {
    std::string row;
    for (int x = 0; x < image.width; ++x) row += hue(image.at(x, image.height / 2));
    return row;
}

// Model type None looks at its front from -z, so +x is on the screen's left.
TEST(RenderView, NearerFacesHideFartherOnesAndBackFacesOnlyWhenCullable) {
    const Plate red{{0, 0, 0}, {0, 0, -1}, {1, 0, 0}};
    const auto centre = [&](Plate green) {
        green.color = "%000255000";
        green.across = {0.4, 0, 0};
        return hue(render(read(platesModel(vx::ModelType::None, {red, green})), vx::ViewKind::Front).at(50, 50));
    };
    EXPECT_EQ(centre({{0, 0, -1}, {0, 0, 1}, {}, "", true}), 'r');   // nearer, turned away, culled
    EXPECT_EQ(centre({{0, 0, -1}, {0, 0, 1}, {}, "", false}), 'g');  // nearer, seen from behind
    EXPECT_EQ(centre({{0, 0, 1}, {0, 0, -1}, {}, "", false}), 'r');  // behind the red plate

    const vx::MdlModel alone = read(platesModel(vx::ModelType::None, {red}));
    const vx::RgbImage front = render(alone, vx::ViewKind::Front);
    EXPECT_EQ(front.at(50, 50).g, 0);
    EXPECT_GT(front.at(50, 50).r, 150);
    EXPECT_EQ(front.at(97, 3), kBackground);  // outside the plate's margin
    // Seen edge-on from the side and the top the plate covers no pixel.
    EXPECT_EQ(render(alone, vx::ViewKind::Side).at(50, 50), kBackground);
    EXPECT_EQ(render(alone, vx::ViewKind::Top).at(50, 50), kBackground);
}

// Every model type's front, top and right side, as the viewer has them: a
// plate facing the view with a red patch on its right, front or front.
TEST(RenderView, EachModelTypeShowsItsFrontTopAndSide) {
    for (const vx::ModelType type :
         {vx::ModelType::SpacecraftAircraft, vx::ModelType::GroundVehicle, vx::ModelType::Facility, vx::ModelType::None}) {
        const vx::ModelAxes a = vx::modelAxes(type);
        const auto scaled = [](const Vec3& v, double s) { return Vec3{v.x * s, v.y * s, v.z * s}; };
        const auto plus = [](const Vec3& v, const Vec3& w) { return Vec3{v.x + w.x, v.y + w.y, v.z + w.z}; };
        const struct {
            vx::ViewKind view;
            Vec3 facing, across, patch;
            bool patchOnLeft;  // else on the right
        } cases[] = {
            {vx::ViewKind::Front, a.front, a.up, a.right, true},  // facing it, its right is on our left
            {vx::ViewKind::Top, a.up, a.right, a.front, false},   // front up the screen: the patch is above
            {vx::ViewKind::Side, a.right, a.up, a.front, false},  // from the right, the front is to the right
        };
        for (const auto& c : cases) {
            const Plate plate{{0, 0, 0}, c.facing, c.across, "%120120120"};
            const Plate patch{plus(scaled(c.patch, 0.5), scaled(c.facing, 0.01)), c.facing, scaled(c.across, 0.3)};
            const vx::RgbImage image = render(read(platesModel(type, {plate, patch})), c.view);
            const bool top = c.view == vx::ViewKind::Top;
            // The patch lies half way out along its direction.
            const int near = 50 - 21, far = 50 + 21;
            const vx::Rgb atNear = top ? image.at(50, near) : image.at(near, 50);
            const vx::Rgb atFar = top ? image.at(50, far) : image.at(far, 50);
            const bool onFirstHalf = c.patchOnLeft || top;
            EXPECT_EQ(hue(onFirstHalf ? atNear : atFar), 'r') << vx::modelTypeName(type) << " " << vx::viewName(c.view);
            EXPECT_EQ(hue(onFirstHalf ? atFar : atNear), '.') << vx::modelTypeName(type) << " " << vx::viewName(c.view);
        }
    }
}

// A blue base and a red arm on a Refer that shifts it right along x (model
// type None: to the screen's left) and turns it under an articulation.
std::string armModel() {
    const Plate base{{0, 0, 0}, {0, 0, -1}, {1, 0, 0}, "%000000255"};
    const Plate arm{{0, 0, -0.5}, {0, 0, -1}, {0.4, 0, 0}, "%255000000"};
    std::string text = header(vx::ModelType::None);
    text += "Component Base\n" + plateBlock(base) + "EndComponent\n";
    std::string armBlock = plateBlock(arm);
    armBlock.insert(armBlock.find("\t\tNumVerts"),
                    "\t\tArticulation L1_Paint\n\t\t\tredColorTranslate Red 0 255 255\n\t\tEndArticulation\n");
    text += "Component Arm\n" + armBlock + "EndComponent\n";
    text += "Component Arm_ROOT\n\tRoot\n\tRefer\n\t\tComponent Base\n\tEndRefer\n"
            "\tRefer\n\t\tTranslate 0.5 0 0\n\t\tArticulation Arm\n\t\t\txTranslate Slide -1 0 1\n"
            "\t\t\tzRotate Turn -180 0 180\n\t\tEndArticulation\n\t\tComponent Arm\n\tEndRefer\n"
            "EndComponent\nBoundRadius 15\n";
    return text;
}

TEST(RenderView, PoseMovesArticulationsWithinTheirRanges) {
    const vx::MdlModel model = read(armModel());
    const std::string rest = middleRow(render(model, vx::ViewKind::Front));
    // At rest the arm stands right of centre along x, left of it on screen.
    EXPECT_LT(rest.find('r'), 50u);
    EXPECT_GT(rest.rfind('r'), 30u);

    const std::string slid = middleRow(render(model, vx::ViewKind::Front, {{"Arm.Slide", 1}}));
    EXPECT_LT(slid.find('r'), slid.find('b'));  // pushed past the base's edge
    EXPECT_EQ(middleRow(render(model, vx::ViewKind::Front, {{"Arm.Slide", 25}})), slid);  // held at the maximum
    EXPECT_EQ(middleRow(render(model, vx::ViewKind::Front, {{"Arm.Slide", -1}, {"Other.Slide", 1}})),
              middleRow(render(model, vx::ViewKind::Front, {{"Arm.Slide", -7}})));

    // The articulation turns the arm about its own origin before the Refer
    // shifts it: a quarter turn of a square leaves it where it was.
    EXPECT_EQ(middleRow(render(model, vx::ViewKind::Front, {{"Arm.Turn", 90}})), rest);
    EXPECT_NE(middleRow(render(model, vx::ViewKind::Front, {{"Arm.Turn", 45}})), rest);

    // A colour articulation sets a level of the surface's colour.
    const vx::RgbImage dark = render(model, vx::ViewKind::Front, {{"L1_Paint.Red", 0}});
    EXPECT_EQ(dark.at(static_cast<int>(rest.find('r')) + 2, 50), (vx::Rgb{0, 0, 0}));
}

}  // namespace
