// Scripts written by a whole run: the dispatcher shares one conversion
// context between the model file and the script.

#include <gtest/gtest.h>

#include "dispatch/run_job.h"
#include "core/memory_files.h"
#include "tests/support/lwo_builder.h"
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

// A full disk: the first failed write ends the run within a block of text
// (64 KiB), not after the rest of a large model or script has been made and
// thrown away. Each output here would be over a megabyte.
TEST_F(RunJob, AFailedWriteStopsTheRunWithinABlock) {
    using namespace vxtest;
    Data points, faces = Data().raw("FACE"), lwobPolygons;
    constexpr unsigned kPoints = 30000;
    for (unsigned i = 0; i < kPoints; ++i) {
        points.point(float(i), 1, 2);
        faces.u2(1).vx(i);
        lwobPolygons.add(lwobPolygon({i % 0xFFFF}, 1));
    }
    std::vector<Data> layers = {tagsChunk({"Hull"}), surf("Hull", colr(1, 1, 1))};
    for (unsigned layer = 0; layer < 4; ++layer) {
        Data ptag = Data().raw("SURF");
        for (unsigned i = 0; i < kPoints; ++i) ptag.vx(i).u2(0);
        layers.insert(layers.end(), {layr(layer, "Arm@x"), chunk("PNTS", points), chunk("POLS", faces),
                                     chunk("PTAG", ptag)});
    }
    std::string scene = "LoadObjectLayer 1 Objects/arm.lwo\nChannel 2\n{ Envelope\n  30000\n";
    for (int i = 0; i < 30000; ++i) {
        scene += "  Key ";
        scene += std::to_string(i % 7);
        scene += ' ';
        scene += std::to_string(i);
        scene += " 3 0 0 0 0 0 0\n";
    }
    scene += "}\n";
    const auto lwo2 = form("LWO2", layers);
    const auto lwob = form("LWOB", {chunk("PNTS", points), chunk("SRFS", Data().name("Hull")),
                                    chunk("POLS", lwobPolygons)});

    const struct {
        const char* what;
        const std::vector<std::uint8_t>& object;
        bool convert;
        const char* message;
        std::string path;
    } cases[] = {
        {"LightWave 6 model", lwo2, true, "Can't write output file.", job.outputPath},
        {"LightWave 5 model", lwob, true, "Can't write output file.", job.outputPath},
        {"script", lwo2, false, "Can't write Model Articulation output file.", job.scriptPath},
    };
    for (const auto& c : cases) {
        vx::MemoryFiles memory;
        memory.files[job.inputPath].assign(c.object.begin(), c.object.end());
        memory.files[job.scenePath] = scene;
        memory.files[c.path] = "earlier";
        memory.room = 1000;
        job.files = &memory;
        job.convert = c.convert;
        sink.messages.clear();
        EXPECT_EQ(vx::runJob(job, sink), 1) << c.what;
        ASSERT_FALSE(sink.messages.empty()) << c.what;
        EXPECT_EQ(sink.messages[0].text, c.message) << c.what;
        EXPECT_EQ(sink.messages[0].path, c.path) << c.what;
        EXPECT_EQ(sink.messages[0].reason, std::strerror(ENOSPC)) << c.what;
        EXPECT_EQ(memory.files[c.path], "earlier") << c.what;
        EXPECT_LT(memory.writtenAfterFailure, 65536u) << c.what;
        // With room, the same run writes more than a megabyte.
        memory.room = std::numeric_limits<std::size_t>::max();
        sink.messages.clear();
        vx::runJob(job, sink);
        EXPECT_GT(memory.files[c.path].size(), 1'000'000u) << c.what;
    }
}

}  // namespace
