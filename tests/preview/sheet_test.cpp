// Whole sheets: the PNG file holds the picture drawn, frames are added per
// articulation line, and failures are reported and leave nothing behind.

#include <png.h>

#include <gtest/gtest.h>

#include "core/memory_files.h"
#include "preview/bitmap_font.h"
#include "preview/preview_sheet.h"
#include "tests/preview/preview_test_support.h"

namespace {

using vxtest::Recorded;
using vxtest::RecordingSink;

const std::string kShip = std::string(VERTEXION_SOURCE_DIR) + "/tests/lwo2/golden/ship.mdl";

vx::PreviewOptions smallSheet() {
    vx::PreviewOptions options;
    options.viewSize = 128;
    options.frameSize = 64;
    return options;
}

vx::RgbImage decodePng(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    vx::RgbImage image;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return {};
    return image;
}

vx::RgbImage drawn(const vx::MdlModel& model, const vx::PreviewOptions& options) {
    vx::RgbImage sheet;
    std::string why;
    EXPECT_EQ(vx::composeSheet(model, options, sheet, why), 0);
    if (options.articulationFrames) {
        EXPECT_EQ(vx::addArticulationFrames(model, options, sheet, why), 0);
    }
    return sheet;
}

TEST(PreviewSheet, PngHoldsTheSheetWithFramesForEachArticulationLine) {
    vxtest::ScratchDir dir;
    RecordingSink sink;
    ASSERT_EQ(vx::previewModelFile(kShip, smallSheet(), dir.path("ship.png"), sink), 0);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"ship.png"});

    vx::MdlModel model;
    ASSERT_EQ(vx::loadMdlFile(kShip, model, sink), 0);
    const vx::RgbImage sheet = drawn(model, smallSheet());
    const vx::RgbImage png = decodePng(dir.path("ship.png"));
    EXPECT_EQ(std::make_pair(png.width, png.height), std::make_pair(sheet.width, sheet.height));
    EXPECT_TRUE(png.pixels == sheet.pixels);

    // Three articulation lines (Azimuth, Elevation, Tilt): two rows of
    // pairs at two pairs a row; a bound of two frames keeps one row.
    vx::PreviewOptions plain = smallSheet();
    plain.articulationFrames = false;
    vx::PreviewOptions bounded = smallSheet();
    bounded.maxFrames = 2;
    const int bare = drawn(model, plain).height, one = drawn(model, bounded).height;
    EXPECT_EQ(sheet.height - bare - 2 * 64, one - bare - 64 - (vx::kGlyphHeight + 8));
    EXPECT_EQ(sheet.width, 256);
}

TEST(PreviewSheet, FailuresAreReportedAndWriteNothing) {
    vxtest::ScratchDir dir;
    vx::MdlModel model;
    RecordingSink sink;
    ASSERT_EQ(vx::loadMdlFile(kShip, model, sink), 0);

    EXPECT_EQ(vx::writePreviewSheet(model, smallSheet(), dir.path("no/ship.png"), sink), 1);
    EXPECT_EQ(vx::previewModelFile(dir.path("none.mdl"), smallSheet(), dir.path("none.png"), sink), 1);

    // Each component referring to the one before twice: 2^40 placements.
    std::string ordered = previewtest::header(vx::ModelType::None) + "Component C0\nEndComponent\n";
    for (int i = 1; i <= 40; ++i) {
        const std::string refer = "\tRefer\n\t\tComponent C" + std::to_string(i - 1) + "\n\tEndRefer\n";
        ordered += "Component C" + std::to_string(i) + "\n";
        if (i == 40) ordered += "\tRoot\n";
        ordered += refer;
        ordered += refer;
        ordered += "EndComponent\n";
    }
    const vx::MdlModel doubling = previewtest::read(ordered + "BoundRadius 15\n");
    EXPECT_EQ(vx::writePreviewSheet(doubling, smallSheet(), dir.path("doubling.png"), sink), 1);

    EXPECT_EQ(sink.messages,
              (std::vector<Recorded>{
                  {vx::Severity::Error, "Can't open output file.", dir.path("no/ship.png"), "No such file or directory"},
                  {vx::Severity::Error, "Can't read model file.", dir.path("none.mdl"), "No such file or directory"},
                  {vx::Severity::Error, "Can't draw the model.", dir.path("doubling.png"),
                   "The model's references place its components too many times to draw."},
              }));
    EXPECT_TRUE(vxtest::listDir(dir.dir()).empty());
}

TEST(PreviewSheet, StoreInMemoryKeepsTheDiskUntouched) {
    vx::MemoryFiles files;
    files.files["ship.mdl"] = vxtest::readText(kShip);
    vx::PreviewOptions options = smallSheet();
    options.files = &files;
    RecordingSink sink;
    ASSERT_EQ(vx::previewModelFile("ship.mdl", options, "ship.png", sink), 0);
    EXPECT_TRUE(files.files["ship.png"].starts_with("\x89PNG\r\n\x1a\n"));
    EXPECT_FALSE(vxtest::fileExists("ship.png"));
}

}  // namespace
