// Scripts written by a whole run: the dispatcher shares one conversion
// context between the model file and the script.

#include <gtest/gtest.h>

#include "core/dispatch/run_job.h"
#include "scene_fixture.h"

namespace {

using namespace scenetest;

// A triangle in a layer that moves along its X code, pivot (1, 2, 3).
std::vector<std::uint8_t> armObject() {
    using namespace vxtest;
    return form("LWO2", {tagsChunk({"Hull"}), layr(0, "Arm@x", 1, 2, 3), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                         facePols({{0, 1, 2}}), surfPtag({0}), surf("Hull", colr(1, 1, 1))});
}

constexpr std::string_view kArmScene =
    "LoadObjectLayer 1 Objects/arm.lwo\n"
    "Channel 2\n"
    "{ Envelope\n"
    "  1\n"
    "  Key 5 0 0 0 0 0 0 0 0\n"
    "}\n";

struct RunJob : ::testing::Test {
    RunJob() {
        vxtest::writeFile(dir.path("arm.lwo"), armObject());
        vxtest::writeText(dir.path("arm.lws"), kArmScene);
    }
    std::vector<std::vector<std::string>> scriptRows() { return commaRows(vxtest::readText(job.scriptPath)); }
    vxtest::ScratchDir dir;
    vx::ConversionJob job{.inputPath = dir.path("arm.lwo"), .outputPath = dir.path("arm.mdl"),
                          .scenePath = dir.path("arm.lws"), .scriptPath = dir.path("arm.sama"), .articulate = true,
                          .scriptFormat = vx::ScriptFormat::CommaSeparated};
    vxtest::RecordingSink sink;
};

TEST_F(RunJob, ModelAndScriptShareTheDecodedPivot) {
    // Spacecraft axes: LightWave Z is the model's X, so the pivot's X is 3.
    EXPECT_EQ(vx::runJob(job, sink), 0);
    EXPECT_NE(vxtest::readText(job.outputPath).find("Translate -3 -1 2"), std::string::npos);
    auto rows = scriptRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][Transformation], "MoveX");
    EXPECT_EQ(rows[0][StartValue], "2");

    // Without the model conversion the script decodes the pivot itself.
    std::filesystem::remove(job.outputPath);
    job.convert = false;
    EXPECT_EQ(vx::runJob(job, sink), 0);
    EXPECT_FALSE(vxtest::fileExists(job.outputPath));
    EXPECT_EQ(scriptRows().at(0)[StartValue], "2");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(RunJob, ScriptWrittenWhenTheModelIsNot) {
    job.outputPath = dir.path("missing/arm.mdl");
    job.secondsPerFrame = 1;  // 30 scenario seconds per scene second
    EXPECT_EQ(vx::runJob(job, sink), 1);
    EXPECT_EQ(sink.errors(), std::vector<std::string>{"Can't open output file."});
    auto rows = scriptRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][Duration], "30");

    // A scene without the object fails the run; the model is still written.
    vxtest::writeText(job.scenePath, "LoadObjectLayer 1 Objects/other.lwo\n");
    job.outputPath = dir.path("arm.mdl");
    sink.messages.clear();
    EXPECT_EQ(vx::runJob(job, sink), 1);
    EXPECT_EQ(sink.errors(), std::vector<std::string>{"Warning: Model not found in scene."});
    EXPECT_TRUE(vxtest::fileExists(job.outputPath));
}

TEST_F(RunJob, ExampleSceneAnimatesTheDishAndTheWings) {
    const std::string examples = std::string(VERTEXION_SOURCE_DIR) + "/examples/";
    job.inputPath = examples + "ship.lwo";
    job.scenePath = examples + "ship.lws";
    job.convert = false;
    ASSERT_EQ(vx::runJob(job, sink), 0);
    EXPECT_TRUE(sink.messages.empty());
    std::vector<std::string> moved;
    for (const auto& row : scriptRows()) moved.push_back(row[Articulation] + " " + row[Transformation]);
    EXPECT_EQ(moved, (std::vector<std::string>{"Dish Azimuth", "Dish Azimuth", "Dish Azimuth", "Dish Elevation",
                                               "SolarWings Tilt", "SolarWings Tilt", "SolarWings Tilt"}));
}

TEST_F(RunJob, CorpusScenesGiveCompleteScripts) {
    const std::filesystem::path corpus = vxtest::corpusDir();
    if (corpus.empty() || !std::filesystem::exists(corpus / "lws" / "simple_cube.lwo")) GTEST_SKIP() << "no corpus";
    job.inputPath = (corpus / "lws" / "simple_cube.lwo").string();
    job.convert = false;
    int scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus / "lws")) {
        job.scenePath = entry.path().string();
        if (entry.path().extension() != ".lws" ||
            vxtest::readText(job.scenePath).find("simple_cube.lwo") == std::string::npos)
            continue;
        ++scenes;
        EXPECT_EQ(vx::runJob(job, sink), 0) << job.scenePath;
        // Every row is complete: twelve fields, the last a number.
        const auto rows = scriptRows();
        EXPECT_FALSE(rows.empty()) << job.scenePath;
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), 12u) << job.scenePath;
            EXPECT_NE(row[EndValue].find_first_of("0123456789"), std::string::npos);
        }
    }
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_GT(scenes, 0);
}

}  // namespace
