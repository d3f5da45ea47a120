#include "core/dispatch/run_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::form;

std::vector<std::uint8_t> triangleObject() {
    return form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                         chunk("SRFS", Data().name("Hull")), chunk("POLS", vxtest::lwobPolygon({0, 1, 2}, 1))});
}

TEST(ValidateAndRun, ChecksTheEntriesInOrder) {
    struct Case {
        std::string input, output, scene, script;
        bool convert, articulate;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"", "", "", "", false, false, "Please enter some filenames."},  // the path test comes first
        {"a.lwo", "", "", "", true, false, "Please enter some filenames."},
        {"a.lwo", "a.mdl", "", "a.sama", true, true, "Please enter some filenames."},
        {"a.lwo", "a.mdl", "a.lws", "", false, true, "Please enter some filenames."},
        {"a.lwo", "a.mdl", "", "", false, false, "No convertion options selected."},
    };
    for (const Case& c : cases) {
        vx::ConversionJob entries;
        entries.inputPath = c.input;
        entries.outputPath = c.output;
        entries.scenePath = c.scene;
        entries.scriptPath = c.script;
        entries.convert = c.convert;
        entries.articulate = c.articulate;
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::validateAndRun(entries, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
    }
}

TEST(RunJob, RejectsOtherFormsAndSetsTheTimeScale) {
    vxtest::ScratchDir dir;
    for (const char* type : {"lwob", "ILBM", "LWO3"}) {
        vxtest::writeFile(dir.path("x.lwo"), form(type, {chunk("PNTS", Data().point(0, 0, 0))}));
        vx::ConversionJob job;
        job.inputPath = dir.path("x.lwo");
        job.outputPath = dir.path("x.mdl");
        job.secondsPerFrame = 1.0;
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{"Not a Lightwave Object."});
        EXPECT_EQ(job.timeScale, 30.0);
        EXPECT_FALSE(vxtest::fileExists(dir.path("x.mdl")));
    }
    vx::ConversionJob job;
    job.inputPath = dir.path("missing.lwo");
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::runJob(job, sink), 1);
    EXPECT_EQ(sink.errors(), std::vector<std::string>{"Can't open inputfile"});
}

TEST(RunJob, LightWave5ObjectsAreAlwaysConvertedAndNeverScripted) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), triangleObject());
    vx::ConversionJob entries;
    entries.inputPath = dir.path("tri.lwo");
    entries.outputPath = dir.path("tri.mdl");
    entries.scenePath = dir.path("scene.lws");
    entries.scriptPath = dir.path("tri.sama");
    entries.convert = false;
    entries.articulate = true;
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::validateAndRun(entries, sink), 0);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(vxtest::fileExists(dir.path("tri.mdl")));
    EXPECT_FALSE(vxtest::fileExists(dir.path("tri.sama")));
}

TEST(RunJob, DefaultSecondsPerFrameGiveATimeScaleOfOne) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), triangleObject());
    vx::ConversionJob job;
    job.inputPath = dir.path("tri.lwo");
    job.outputPath = dir.path("tri.mdl");
    job.timeScale = 99.0;
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::runJob(job, sink), 0);
    EXPECT_EQ(job.timeScale, 1.0);
}

}  // namespace

namespace {

// Writing over what the run reads would lose the user's object or scene: such
// runs are refused before anything is written.
TEST(RunJob, NeverWritesOverItsInputs) {
    vxtest::ScratchDir dir;
    const auto object = triangleObject();
    vxtest::writeFile(dir.path("tri.lwo"), object);
    std::filesystem::create_hard_link(dir.path("tri.lwo"), dir.path("link.lwo"));
    for (const std::string& output : {dir.path("tri.lwo"), dir.path("link.lwo"), dir.path("./sub/../tri.lwo")}) {
        std::filesystem::create_directories(dir.path("sub"));
        vx::ConversionJob job;
        job.inputPath = dir.path("tri.lwo");
        job.outputPath = output;
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1) << output;
        EXPECT_EQ(sink.errors(), std::vector<std::string>{"The model file would replace the object file."});
        EXPECT_EQ(vxtest::readText(dir.path("tri.lwo")), std::string(object.begin(), object.end()));
    }

    // LightWave 6+ objects: the script must spare the scene and the object.
    const auto lwo2 = form("LWO2", {chunk("TAGS", Data().name("S"))});
    vxtest::writeFile(dir.path("ship.lwo"), lwo2);
    vxtest::writeText(dir.path("ship.lws"), "LWSC\n3\n");
    struct Case {
        std::string output, script;
        const char* message;
    };
    const std::vector<Case> cases = {
        {dir.path("ship.mdl"), dir.path("ship.lws"), "The script file would replace the scene file."},
        {dir.path("ship.mdl"), dir.path("ship.lwo"), "The script file would replace the object file."},
        {dir.path("ship.mdl"), dir.path("ship.mdl"), "The script file and the model file are the same file."},
        {dir.path("ship.lws"), dir.path("ship.sama"), "The model file would replace the scene file."},
    };
    for (const Case& c : cases) {
        vx::ConversionJob job;
        job.inputPath = dir.path("ship.lwo");
        job.outputPath = c.output;
        job.scenePath = dir.path("ship.lws");
        job.scriptPath = c.script;
        job.articulate = true;
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
        EXPECT_EQ(vxtest::readText(dir.path("ship.lws")), "LWSC\n3\n");
        EXPECT_FALSE(vxtest::fileExists(dir.path("ship.mdl")));
        EXPECT_FALSE(vxtest::fileExists(dir.path("ship.sama")));
    }
    // Without the script step the scene path does not matter.
    vx::ConversionJob modelOnly;
    modelOnly.inputPath = dir.path("ship.lwo");
    modelOnly.outputPath = dir.path("ship.mdl");
    modelOnly.scriptPath = dir.path("ship.lwo");
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::runJob(modelOnly, sink), 0);
}

}  // namespace
