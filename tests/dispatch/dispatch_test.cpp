#include "dispatch/run_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::form;

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
        vx::ConversionJob entries{.inputPath = c.input, .outputPath = c.output, .scenePath = c.scene,
                                  .scriptPath = c.script, .convert = c.convert, .articulate = c.articulate};
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::validateAndRun(entries, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
    }
}

TEST(RunJob, RejectsOtherFormsAndSetsTheTimeScale) {
    vxtest::ScratchDir dir;
    for (const char* type : {"lwob", "ILBM", "LWO4"}) {
        vxtest::writeFile(dir.path("x.lwo"), form(type, {chunk("PNTS", Data().point(0, 0, 0))}));
        vx::ConversionJob job{.inputPath = dir.path("x.lwo"), .outputPath = dir.path("x.mdl"), .secondsPerFrame = 1};
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{"Not a Lightwave Object."});
        EXPECT_EQ(job.timeScale, 30.0);
        EXPECT_FALSE(vxtest::fileExists(dir.path("x.mdl")));
    }
}

TEST(RunJob, LightWave5ObjectsAreAlwaysConvertedAndNeverScripted) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), vxtest::lwobTriangle());
    vx::ConversionJob entries{.timeScale = 99, .inputPath = dir.path("tri.lwo"), .outputPath = dir.path("tri.mdl"),
                              .scenePath = dir.path("scene.lws"), .scriptPath = dir.path("tri.sama"),
                              .convert = false, .articulate = true};
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::runJob(entries, sink), 0);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(vxtest::fileExists(dir.path("tri.mdl")));
    EXPECT_FALSE(vxtest::fileExists(dir.path("tri.sama")));
    EXPECT_EQ(entries.timeScale, 1.0);  // the default 1/30 second per frame
}

// Writing over what the run reads would lose the user's object or scene: such
// runs are refused before anything is written.
TEST(RunJob, NeverWritesOverItsInputs) {
    vxtest::ScratchDir dir;
    const auto object = vxtest::lwobTriangle();
    vxtest::writeFile(dir.path("tri.lwo"), object);
    std::filesystem::create_hard_link(dir.path("tri.lwo"), dir.path("link.lwo"));
    std::filesystem::create_directories(dir.path("sub"));
    for (const std::string& output : {dir.path("tri.lwo"), dir.path("link.lwo"), dir.path("./sub/../tri.lwo")}) {
        vx::ConversionJob job{.inputPath = dir.path("tri.lwo"), .outputPath = output};
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1) << output;
        EXPECT_EQ(sink.errors(), std::vector<std::string>{"The model file would replace the object file."});
        EXPECT_EQ(vxtest::readText(dir.path("tri.lwo")), std::string(object.begin(), object.end()));
    }

    // LightWave 6+ objects: the script must spare the scene and the object.
    vxtest::writeFile(dir.path("ship.lwo"), form("LWO2", {chunk("TAGS", Data().name("S"))}));
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
        vx::ConversionJob job{.inputPath = dir.path("ship.lwo"), .outputPath = c.output,
                              .scenePath = dir.path("ship.lws"), .scriptPath = c.script, .articulate = true};
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
        EXPECT_EQ(vxtest::readText(dir.path("ship.lws")), "LWSC\n3\n");
        EXPECT_FALSE(vxtest::fileExists(dir.path("ship.mdl")));
        EXPECT_FALSE(vxtest::fileExists(dir.path("ship.sama")));
    }
    // Without the script step the scene path does not matter.
    vx::ConversionJob modelOnly{.inputPath = dir.path("ship.lwo"), .outputPath = dir.path("ship.mdl"),
                                .scriptPath = dir.path("ship.lwo")};
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::runJob(modelOnly, sink), 0);
}

}  // namespace
