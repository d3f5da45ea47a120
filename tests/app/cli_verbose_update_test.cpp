// The command line's --verbose lines and --update's make-like skipping,
// through the real option parsing.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "app/cli.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vx::runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

// Modification times set outright, seconds after a fixed point in the past.
void setTime(const std::string& path, int seconds) {
    static const fs::file_time_type base = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(path, base + std::chrono::seconds(seconds));
}

struct CliFiles : ::testing::Test {
    CliFiles() {
        using namespace vxtest;
        writeFile(object, form("LWO2", {tagsChunk({"Hull"}), layr(0, "Dish@Y"), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                        facePols({{0, 1, 2}}), surfPtag({0}), surf("Hull", colr(1, 1, 1))}));
        writeText(scene,
                  "LoadObjectLayer 1 Objects/dish.lwo\nChannel 3\n{ Envelope\n  2\n  Key 0 0 0 0 0 0 0 0 0\n"
                  "  Key 1.5708 2 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n");
    }
    vxtest::ScratchDir dir;
    std::string object = dir.path("dish.lwo");
    std::string scene = dir.path("dish.lws");
    std::string model = dir.path("dish.mdl");
    std::string script = dir.path("dish.sama");
};

TEST_F(CliFiles, VerboseNamesEachFileWithWhatItHolds) {
    CliRun r = cli({"-v", "--scene", scene, object});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Wrote " + model + ": 3 components, 1 surface, 1 polygon, 1 articulation\nWrote " + script +
                         ": 1 row\n");
    r = cli({"--verbose", "--no-convert", "--scene", scene, "--format", "comma", "--slices", "3", object});
    EXPECT_EQ(r.out, "Wrote " + script + ": 3 rows\n");
    // A script that fails leaves the model named; its message stays on standard error.
    r = cli({"-v", "--scene", dir.path("none.lws"), object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Wrote " + model + ": 3 components, 1 surface, 1 polygon, 1 articulation\n");
    EXPECT_NE(r.err.find("none.lws"), std::string::npos);
}

// Side by side, the lines still come in object order; a LightWave 5
// object's unused surface is no section of its model.
TEST(CliVerbose, LinesKeepObjectOrder) {
    using namespace vxtest;
    ScratchDir dir;
    std::vector<std::string> args = {"-v", "-q", "-j", "3"};
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        const std::string name = dir.path("obj" + std::to_string(i) + ".lwo");
        args.push_back(name);
        if (i == 4) {
            writeText(name, "not an object");
            continue;
        }
        const int polygons = 2 + 3000 * (i % 3);
        Data pols;
        for (int k = 0; k < polygons; ++k) pols.add(lwobPolygon({0, 1, 2}, 1));
        writeFile(name, form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                                      chunk("SRFS", Data().name("Hull").name("Spare")), chunk("POLS", pols)}));
        expected += "Wrote " + dir.path("obj" + std::to_string(i) + ".mdl") + ": 1 component, 1 surface, " +
                    std::to_string(polygons) + " polygons, 0 articulations\n";
    }
    CliRun r = cli(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "vertexion-cli: " + dir.path("obj4.lwo") + ": Not a valid IFF file.\n");
}

// make's rule: remade when missing or older than the object; the same time
// is up to date. A skipped object's model is left as it was.
TEST_F(CliFiles, UpdateSkipsAModelNotOlderThanItsObject) {
    ASSERT_EQ(cli({"-q", object}).status, 0);
    vxtest::writeText(model, "kept\n");
    setTime(object, 0);
    setTime(model, 10);
    EXPECT_EQ(cli({"-u", object}).out, "");
    setTime(model, 0);
    CliRun r = cli({"--update", "-v", object});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Up to date: " + model + "\n");
    EXPECT_EQ(vxtest::readText(model), "kept\n");

    setTime(object, 20);
    r = cli({"-u", "-v", object});
    EXPECT_EQ(r.out, "Wrote " + model + ": 3 components, 1 surface, 1 polygon, 1 articulation\n");
    fs::remove(model);
    setTime(object, 0);
    EXPECT_EQ(cli({"-u", object}).status, 0);
    EXPECT_TRUE(vxtest::fileExists(model));
}

// With --scene, the script and the scene count too.
TEST_F(CliFiles, UpdateWeighsTheScriptAndTheScene) {
    ASSERT_EQ(cli({"-q", "--scene", scene, object}).status, 0);
    vxtest::writeText(model, "kept\n");
    vxtest::writeText(script, "kept\n");
    for (const std::string& input : {object, scene}) setTime(input, 0);
    for (const std::string& output : {model, script}) setTime(output, 10);
    CliRun r = cli({"-u", "-v", "--scene", scene, object});
    EXPECT_EQ(r.out, "Up to date: " + model + ", " + script + "\n");
    EXPECT_EQ(vxtest::readText(script), "kept\n");
    // Only the script matters without a model to write.
    setTime(model, -10);
    EXPECT_EQ(cli({"-u", "-v", "--no-convert", "--scene", scene, object}).out, "Up to date: " + script + "\n");

    const std::string both = "Wrote " + model + ": 3 components, 1 surface, 1 polygon, 1 articulation\nWrote " +
                             script + ": 1 row\n";
    setTime(model, 10);
    setTime(scene, 20);
    EXPECT_EQ(cli({"-u", "-v", "--scene", scene, object}).out, both);
    fs::remove(script);
    setTime(model, 30);
    EXPECT_EQ(cli({"-u", "-v", "--scene", scene, object}).out, both);
}

}  // namespace
