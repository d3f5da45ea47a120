// The preview window's logic: a slider for each articulation line that moves
// something, at its default, and a new drawing as a slider or the view changes.

#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "ui/preview_dialog.h"

namespace {

class FakePreviewPlatform final : public vx::ui::PreviewPlatform {
public:
    void report(const vx::Message& m) override { messages.push_back(vxtest::record(m)); }
    void showPicture(const vx::RgbImage& picture) override { pictures.push_back(picture.pixels); }
    std::vector<vxtest::Recorded> messages;
    std::vector<std::vector<std::uint8_t>> pictures;
};

TEST(PreviewDialog, SlidersPoseTheModelWithinTheirRanges) {
    vx::ui::PreviewDialog dialog;
    dialog.size = 96;
    vxtest::RecordingSink sink;
    ASSERT_EQ(vx::ui::openPreview(VERTEXION_SOURCE_DIR "/tests/lwo2/golden/ship.mdl", dialog, sink), 0);
    ASSERT_EQ(dialog.sliders.size(), 3u);
    EXPECT_EQ(dialog.sliders[1].key, "Dish.Elevation");
    EXPECT_EQ(vx::ui::sliderValue(dialog.sliders[1]), 45.0);  // its default, half way from 0 to 90

    FakePreviewPlatform platform;
    vx::ui::redrawPreview(dialog, platform);
    vx::ui::sliderMoved(dialog, 2, vx::ui::kSliderSteps + 50, platform);  // held at the maximum
    EXPECT_EQ(vx::ui::previewPose(dialog).at("SolarWings.Tilt"), 90.0);
    vx::ui::viewChosen(dialog, vx::ViewKind::Top, platform);
    ASSERT_EQ(platform.pictures.size(), 3u);
    EXPECT_NE(platform.pictures[0], platform.pictures[1]);
    EXPECT_NE(platform.pictures[1], platform.pictures[2]);
    EXPECT_TRUE(platform.messages.empty());

    EXPECT_EQ(vx::ui::openPreview("none.mdl", dialog, sink), 1);
    EXPECT_EQ(sink.messages.at(0).text, "Can't read model file.");
}

}  // namespace
