// Whole model files, byte for byte. After a deliberate change of the output,
// run the tests with VERTEXION_UPDATE_GOLDEN=1 to rewrite the expected files,
// and read the difference before committing it.

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;

std::string goldenPath(const std::string& name) {
    return std::string(VERTEXION_SOURCE_DIR) + "/tests/lwo2/golden/" + name;
}

void expectGolden(const lwo2test::Converted& c, const std::string& name) {
    ASSERT_EQ(c.status, 0);
    EXPECT_TRUE(c.sink.messages.empty());
    if (std::getenv("VERTEXION_UPDATE_GOLDEN")) {
        std::ofstream(goldenPath(name), std::ios::binary) << c.mdl;
        return;
    }
    EXPECT_EQ(c.mdl, readText(goldenPath(name))) << "golden file " << name;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::string text = readText(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The bundled example: textured body with a UV map, a child dish with a
// pivot and named rotations, solar wings, a docking port attach point.
TEST(Golden, ExampleShip) {
    const std::vector<std::uint8_t> ship = readBytes(std::string(VERTEXION_SOURCE_DIR) + "/examples/ship.lwo");
    ASSERT_FALSE(ship.empty());
    expectGolden(lwo2test::convert(ship), "ship.mdl");
}

// A rig of layers out of number order: a hidden layer, a child written
// before its parent, an orientation, includes, an attach effect, pointing and
// extra lines, default codes on an unnamed layer.
std::vector<std::uint8_t> rig() {
    const Data tri = facePols({{0, 1, 2}});
    return form("LWO2", {
        tagsChunk({"Metal"}),
        layr(4, "Turret@Y(Traverse)-170_0_170o0_0_30i6Ae", 0, 1, 2, 0, 1u),
        pnts({{0, 1, 2}, {1, 1, 2}, {0, 2, 2}}), tri, surfPtag({0}),
        layr(1, "Hull", 0, 0, 0),
        pnts({{-3, 0, 0}, {3, 0, 0}, {0, 0, 250}}), tri, surfPtag({0}),
        layr(2, "Secret@x", 9, 9, 9, 1),
        pnts({{900, 0, 0}}),
        layr(5, "Barrel@iP(Elevate)-5_0_60p(Aim)0_0_1e(Parm Glow)1_0", 0, 1, 3),
        pnts({{0, 1, 3}, {0, 1, 5}, {0, 1.2f, 5}}), tri, surfPtag({0}),
        layr(0, "", 0, 0, 0),
        layr(6, "Sensor@Sz(Zoom)0_1_4uvr", 0, 0, 0, 0, 2u),
        surf("Metal", Data().add(colr(0.5f, 0.5f, 0.5f)).add(fp4("SPEC", 0.4f))),
    });
}

TEST(Golden, RigInNumberOrderAsGroundVehicle) {
    expectGolden(lwo2test::convert(rig(), [](vx::ConversionJob& job) { job.modelType = vx::ModelType::GroundVehicle; }),
                 "rig_sorted.mdl");
}

TEST(Golden, RigInFileOrderAsFacility) {
    expectGolden(lwo2test::convert(rig(),
                                   [](vx::ConversionJob& job) {
                                       job.modelType = vx::ModelType::Facility;
                                       job.sortLayers = false;
                                   }),
                 "rig_file_order.mdl");
}

// Surfaces: colour articulation, emission, translucency, two colour images
// with one alpha image, a bump map, texture names without extensions, the
// same surface in two layers, and a surface no polygon uses.
TEST(Golden, SurfacesAndTexturesWithoutImageExtensions) {
    const Data quad = facePols({{0, 1, 2, 3}, {3}});
    const Data lights = Data().add(colr(1, 0.8f, 0.2f)).add(fp4("DIFF", 0.8f)).add(fp4("LUMI", 0.75f))
                            .add(sub("SIDE", Data().u2(3))).add(cmnt("Beacon ColorTranslate ParmTransp"));
    const Data decal = Data().add(colr(1, 1, 1)).add(fp4("TRAN", 0.005f)).add(fp4("SMAN", 1))
                           .add(imageBlock("COLR", 1, wrap(3, 1).add(uvName("Decal"))))
                           .add(imageBlock("COLR", 2, sub("AAST", Data().u2(0).f4(1))))
                           .add(imageBlock("TRAN", 3))
                           .add(imageBlock("BUMP", 4, fp4("TAMP", 0.5f)));
    auto bytes = form("LWO2", {
        tagsChunk({"Lights", "Decal", "Unused"}),
        clip(1, "C:\\art\\logo.v2.tga"), clip(2, "stripes.png"), clip(3, "logo_mask.tga"), clip(4, "rivets.bmp"),
        layr(0, "Fin@"),
        pnts({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}), quad, surfPtag({1, 0}),
        txuv("Decal", {{0, 0, 0}, {1, 0, 1}, {2, 1, 1}, {3, 1, 0}}),
        layr(1, "Lamp@"),
        pnts({{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}), quad, surfPtag({0, 0}),
        surf("Lights", lights), surf("Decal", decal), surf("Unused", colr(0, 0, 0)),
    });
    expectGolden(lwo2test::convert(bytes,
                                   [](vx::ConversionJob& job) {
                                       job.modelType = vx::ModelType::None;
                                       job.allImageFormats = false;
                                   }),
                 "surfaces.mdl");
}

}  // namespace
