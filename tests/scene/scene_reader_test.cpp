#include "scene/scene_reader.h"
#include "scene/script_writer.h"
#include "core/number_format.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "scene_fixture.h"

namespace {

using namespace scenetest;
using vx::ConversionJob;
using vx::ModelType;
using vx::ScriptFormat;

// One heading channel of the object's first layer: a quarter turn in two seconds.
constexpr std::string_view kDishScene =
    "LWSC\n"
    "3\n"
    "\n"
    "FirstFrame 1\n"
    "LastFrame 60\n"
    "\n"
    "LoadObjectLayer 1 Objects/ship.lwo\n"
    "ChangeObject 0\n"
    "ShowObject 8 -1\n"
    "ObjectMotion\n"
    "NumChannels 9\n"
    "Channel 3\n"
    "{ Envelope\n"
    "  2\n"
    "  Key 0 0 0 0 0 0 0 0 0\n"
    "  Key 1.5708 2 0 0 0 0 0 0 0\n"
    "  Behaviors 1 1\n"
    "}\n"
    "\n"
    "AddLight 2000000\n"
    "LightName Light\n";

ConversionJob noneJob(ScriptFormat format = ScriptFormat::Standard) {
    return {.modelType = ModelType::None, .scriptFormat = format};
}

struct Outcome {
    int status;
    std::string script;
    vxtest::RecordingSink sink;
};

class SceneReader : public ::testing::Test {
protected:
    Outcome run(std::string_view scene, const ConversionJob& job = noneJob(),
            const std::vector<vxtest::Data>& chunks = {layr(0, "Dish@Y")}) {
        auto object = loadObject(chunks);
        vxtest::writeText(dir.path("scene.lws"), scene);
        Outcome r;
        r.status = vx::generateArticulationScript(job, *object->context, dir.path("scene.lws"), dir.path("out.sama"),
                                                  r.sink);
        r.script = vxtest::readText(dir.path("out.sama"));
        return r;
    }
    // The rows of a scene in the comma layout.
    std::vector<std::vector<std::string>> rows(std::string_view scene,
                                               const std::vector<vxtest::Data>& chunks = {layr(0, "Dish@Y")}) {
        return commaRows(run(scene, noneJob(ScriptFormat::CommaSeparated), chunks).script);
    }
    vxtest::ScratchDir dir;
};

std::string withLines(std::string_view scene, std::string_view after, std::string_view lines) {
    std::string s(scene);
    s.insert(s.find(after) + after.size(), lines);
    return s;
}

std::string replaced(std::string_view scene, std::string_view from, std::string_view to) {
    std::string s(scene);
    s.replace(s.find(from), from.size(), to);
    return s;
}

// The title, the settings line, the column heading and the rows of each layout.
TEST_F(SceneReader, WholeScriptsInEveryLayout) {
    Outcome r = run(kDishScene);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.sink.messages.empty());
    EXPECT_EQ(r.script, vxtest::goldenText("scene/golden/dish_standard.sama"));
    EXPECT_EQ(run(kDishScene, noneJob(ScriptFormat::TabSeparated)).script,
              vxtest::goldenText("scene/golden/dish_tab.sama"));
    // Repeating, sliced in two, with its own epoch, rate and time scale.
    const ConversionJob job{.timeScale = 6, .modelType = ModelType::None, .scriptFormat = ScriptFormat::CommaSeparated,
                            .epoch = 120, .secondsPerFrame = 0.2, .subdivide = true, .subdivideSteps = 2};
    EXPECT_EQ(run(replaced(kDishScene, "Behaviors 1 1", "Behaviors 1 2"), job).script,
              vxtest::goldenText("scene/golden/dish_comma_sliced.sama"));
}

TEST_F(SceneReader, WhichItemsAreTheObjectsLayers) {
    const std::vector<vxtest::Data> object = {layr(0, "Dish@Y"), layr(1, "Arm@Y")};
    // Another directory, or a Windows path, still names the object (another
    // letter case or a longer name does not: see FailuresAndWarnings).
    EXPECT_EQ(rows(replaced(kDishScene, "Objects/ship", "C:\\Models\\ship"), object).size(), 1u);
    EXPECT_EQ(rows(replaced(kDishScene, "Objects/ship", "ship"), object).size(), 1u);

    // The object loaded twice gives the rows of both items; the second layer
    // is found by its scene number.
    const std::string twice = std::string(kDishScene) + std::string(kDishScene.substr(kDishScene.find("LoadObject")));
    EXPECT_EQ(rows(twice, object).size(), 2u);
    auto second = rows(replaced(kDishScene, "LoadObjectLayer 1", "LoadObjectLayer 2"), object);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0][Articulation], "Arm");

    // Items of other objects, and items added rather than loaded, give nothing
    // even with the same layer number.
    const std::string channel = std::string(kDishScene.substr(kDishScene.find("Channel 3"), 98));
    const std::string others = std::string(kDishScene) + "LoadObjectLayer 1 Objects/other.lwo\n" + channel +
                               "AddNullObject Null\n" + channel;
    EXPECT_EQ(rows(others, object).size(), 1u);

    // A layer the object does not have, or no readable layer number: the
    // object is found, but there is nothing to write.
    for (std::string_view layer : {"LoadObjectLayer 5", "LoadObjectLayer x"}) {
        Outcome r = run(replaced(kDishScene, "LoadObjectLayer 1", layer));
        EXPECT_EQ(r.sink.warnings(), std::vector<std::string>{"Warning: No valid articulations found in scene."});
    }
}

TEST_F(SceneReader, ChannelLines) {
    // An indented brace closes nothing: the keys after it join the channel.
    auto r = rows(withLines(kDishScene, "  Key 1.5708 2 0 0 0 0 0 0 0\n", "  }\n  Key 0 4 0 0 0 0 0 0 0\n"));
    EXPECT_EQ(r.size(), 2u);
    // A Behaviors line with one number changes nothing.
    r = rows(replaced(kDishScene, "Behaviors 1 1", "Behaviors 2"));
    EXPECT_EQ(r.at(0)[Period], "0");
    // Key lines with fewer than nine numbers are dropped.
    r = rows(withLines(kDishScene, "  Key 1.5708 2 0 0 0 0 0 0 0\n", "  Key 3 4 0 0 0 0 0 0\n"));
    EXPECT_EQ(r.size(), 1u);
    // A new Channel line drops the keys of one left open.
    r = rows(replaced(kDishScene, "{ Envelope\n", "{ Envelope\n  Key 7 -1 0 0 0 0 0 0 0\nChannel 3\n"));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][StartValue], "-0");
    // A last channel never closed loses its keys.
    Outcome open = run(kDishScene.substr(0, kDishScene.find("}\n")));
    EXPECT_EQ(open.sink.warnings(), std::vector<std::string>{"Warning: No valid articulations found in scene."});
    // Keys outside a channel are ignored.
    r = rows(replaced(kDishScene, "Channel 3\n", "Channel\n"));
    EXPECT_TRUE(r.empty());

    // Key parameters: p1 to p4 are the handles of a 2D Bezier key; the other
    // shapes take tension, continuity, bias, then p4 and p5 as tangents.
    const ConversionJob sliced{.modelType = ModelType::None, .scriptFormat = ScriptFormat::CommaSeparated,
                               .subdivide = true, .subdivideSteps = 2};
    auto middle = [&](std::string_view keyLine, const vx::EnvelopeKey& expected) {
        Outcome o = run(replaced(kDishScene, "Key 1.5708 2 0 0 0 0 0 0 0", keyLine), sliced);
        vx::Envelope e;
        e.keys = {vx::EnvelopeKey{}, expected};
        std::string value;
        vx::appendGeneral(value, vx::toSingle(vx::evaluateEnvelope(e, 1.0f) * double(-57.29578f)));
        const auto r = commaRows(o.script);
        EXPECT_EQ(r.size(), 2u) << keyLine;
        EXPECT_EQ(r.empty() ? "" : r[0][EndValue], value) << keyLine;
    };
    middle("Key 1 2 5 -0.5 0.3 0.5 0.2 7 9", {1, 2, vx::KeyShape::Bezier2D, 0, 0, 0, {-0.5f, 0.3f, 0.5f, 0.2f}});
    middle("Key 1 2 1 0.1 0.2 0.3 3 4 9", {1, 2, vx::KeyShape::Hermite, 0.1f, 0.2f, 0.3f, {3, 4, 0, 0}});
    middle("Key 1 2 0 0.5 -0.2 0.3 3 4 9", {1, 2, vx::KeyShape::TCB, 0.5f, -0.2f, 0.3f, {3, 4, 0, 0}});
}

TEST_F(SceneReader, LinesAsTheFixedBufferCutsThem) {
    // Line ends of any kind, and stray bytes at the end, are not part of a line.
    std::string crlf;
    for (char c : kDishScene) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(rows(crlf).size(), 1u);
    EXPECT_EQ(rows(replaced(kDishScene, "}\n", "}\x01\xff\n")).size(), 1u);
    // The rest of a line longer than 511 characters counts as a line of its own.
    const std::string_view channelOnly = kDishScene.substr(0, kDishScene.find("}\n"));
    EXPECT_EQ(rows(std::string(channelOnly) + std::string(511, ' ') + "}\n").size(), 1u);
    EXPECT_EQ(rows(std::string(channelOnly) + std::string(512, ' ') + "}\n").size(), 0u);
    EXPECT_EQ(rows(std::string(channelOnly) + std::string(511, 'x') + "LoadObjectLayer 2 ship.lwo\n").size(), 1u);
}

TEST_F(SceneReader, FailuresAndWarnings) {
    auto object = loadObject({layr(0, "Dish@Y")});
    // Nothing but a regular file is read: a device never ends, a directory
    // holds no lines and a FIFO would wait for a writer that never comes.
    // Each refusal names the scene and says why.
    ASSERT_EQ(::mkfifo(dir.path("pipe.lws").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> scenes = {
        {dir.path("none.lws"), "No such file or directory"},
        {"/dev/zero", "Not a regular file"},
        {dir.dir().string(), "Is a directory"},
        {dir.path("pipe.lws"), "Not a regular file"},
    };
    for (const auto& [scene, reason] : scenes) {
        vxtest::RecordingSink sink;
        EXPECT_EQ(vx::generateArticulationScript(noneJob(), *object->context, scene, dir.path("a.sama"), sink), 1);
        EXPECT_EQ(sink.messages, (std::vector<vxtest::Recorded>{{vx::Severity::Error,
                                                                  "Can't open Lightwave Scene file for input.",
                                                                  scene, reason}}));
    }
    ::unlink(dir.path("pipe.lws").c_str());
    EXPECT_FALSE(vxtest::fileExists(dir.path("a.sama")));

    vxtest::writeText(dir.path("scene.lws"), kDishScene);
    vxtest::RecordingSink sink;
    EXPECT_EQ(vx::generateArticulationScript(noneJob(), *object->context, dir.path("scene.lws"),
                                             dir.path("missing/a.sama"), sink),
              1);
    EXPECT_EQ(sink.messages, (std::vector<vxtest::Recorded>{{vx::Severity::Error,
                                                              "Can't open Model Articulation output file.",
                                                              dir.path("missing/a.sama"),
                                                              "No such file or directory"}}));

    // A scene that never loads the object, an empty one included, is the
    // wrong scene: the run fails and the earlier script stays as it was.
    // Another letter case or a longer name is another object.
    vxtest::writeText(dir.path("out.sama"), "earlier script");
    std::vector<std::string> wrongScenes = {"", "LoadObjectLayer 1 Objects/other.lwo\n"};
    for (const char* other : {"Ship.lwo", "myship.lwo", "ship.lwo2"})
        wrongScenes.push_back(replaced(kDishScene, "ship.lwo", other));
    for (const std::string& scene : wrongScenes) {
        Outcome wrong = run(scene);
        EXPECT_EQ(wrong.status, 1);
        EXPECT_EQ(wrong.sink.messages, (std::vector<vxtest::Recorded>{{vx::Severity::Error,
                                                                        "Warning: Model not found in scene.",
                                                                        dir.path("scene.lws"), ""}})) << scene;
        EXPECT_EQ(wrong.script, "earlier script");
        EXPECT_EQ(vxtest::listDir(dir.dir()), (std::vector<std::string>{"out.sama", "scene.lws"}));
    }
}

TEST_F(SceneReader, HostileScenesEndQuietly) {
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) % 256);
    std::string hostile = std::string(kDishScene) + junk + "\n" + std::string(kDishScene);
    hostile += "LoadObjectLayer 1 Objects/ship.lwo\nChannel 0\n{ Envelope\n";
    for (int i = 0; i < 300; ++i) hostile += "  Key nan inf 1 -inf 1e39 -1e-50 0 0 0\n  Key 1e38 -1e38 5 0 0 0 0 0 0\n";
    hostile += "  Key 99999999999999999999 2 2147483648 0 0 0 0 0 0\n  Behaviors 3\n  Behaviors 4 -7\n}\n";
    hostile += "Channel 99999999999\n{\n  Key 1 1 1 1 1 1 1 1 1\n}\n";
    hostile += "LoadObjectLayer 1 Objects/ship.lwo\nChannel 1\n{\n  Key 0 0 0 0 0 0 0 0 0\n  Key 1 1e30 0 0 0 0 0 0 0\n}\n";
    hostile += std::string(100000, 'K') + "\n";
    Outcome r = run(hostile, {.timeScale = 0, .modelType = ModelType::None,
                              .scriptFormat = ScriptFormat::CommaSeparated, .secondsPerFrame = 0, .subdivide = true,
                              .subdivideSteps = 50});
    EXPECT_EQ(r.status, 0);
    EXPECT_GE(commaRows(r.script).size(), 2u);
}

}  // namespace
