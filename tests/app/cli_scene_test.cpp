// The command line's scene options: script names, settings recalled from an
// existing script, messages and exit statuses; and the faults of the machine
// around a run.

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "app/cli.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace {

struct CliOutcome {
    int status;
    std::string err;
};

CliOutcome cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vx::runCommandLine(args, out, err);
    return {status, err.str()};
}

constexpr std::string_view kScene =
    "LoadObjectLayer 1 Objects/dish.lwo\n"
    "Channel 3\n"
    "{ Envelope\n"
    "  2\n"
    "  Key 0 0 0 0 0 0 0 0 0\n"
    "  Key 1.5708 2 0 0 0 0 0 0 0\n"
    "  Behaviors 1 1\n"
    "}\n";

struct CliScene : ::testing::Test {
    CliScene() {
        using namespace vxtest;
        writeFile(object, form("LWO2", {tagsChunk({"Hull"}), layr(0, "Dish@Y"), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                        facePols({{0, 1, 2}}), surfPtag({0}), surf("Hull", colr(1, 1, 1))}));
        writeText(scene, kScene);
    }
    // The settings line of a script, without its line end.
    static std::string settingsLine(const std::string& path) {
        const std::string text = vxtest::readText(path);
        const std::size_t at = text.find("# Vertexion settings: ");
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    }
    vxtest::ScratchDir dir;
    std::string object = dir.path("dish.lwo");
    std::string scene = dir.path("dish.lws");
};

TEST_F(CliScene, ScriptNamedAfterTheSceneByModelType) {
    EXPECT_EQ(cli({"--scene", scene, object}).status, 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("dish.mdl")));
    EXPECT_EQ(settingsLine(dir.path("dish.sama")), "# Vertexion settings: Epoch 0 SPF 1/30 Format 0");

    // The model type recalled from the existing model file picks the extension.
    EXPECT_EQ(cli({"-t", "facility", "--no-convert", "-o", dir.path("dish.mdl"), "--scene", scene, object}).status, 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("dish.fma")));
    EXPECT_EQ(cli({"-t", "ground-vehicle", "-o", dir.path("g.mdl"), "--scene", scene, object}).status, 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("dish.gvma")));
    EXPECT_EQ(cli({"--scene", scene, object}).status, 0);  // dish.mdl still says Spacecraft
    EXPECT_EQ(cli({"--scene", scene, "--script", dir.path("named.txt"), object}).status, 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("named.txt")));

    // A scene name without ".lws" needs --script; a rate must be positive.
    EXPECT_EQ(cli({"--scene", dir.path("dish.scene"), object}).status, 2);
    EXPECT_EQ(cli({"--scene", scene, "--spf", "0", object}).status, 2);
}

TEST_F(CliScene, SettingsNotGivenAreRecalled) {
    const std::string script = dir.path("dish.sama");
    vxtest::writeText(script, "# old script\n#\n# Vertexion settings: Epoch 120 SPF 1/5 Format 2 SubDivSteps 3\n");
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, object}).status, 0);
    EXPECT_EQ(settingsLine(script), "# Vertexion settings: Epoch 120 SPF 1/5 Format 2 SubDivSteps 3");
    EXPECT_NE(vxtest::readText(script).find("\nARTICULATION,120,4,0,0,0,0,0,Dish,Yaw,"), std::string::npos);

    // Given settings win; the others still come from the script.
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, "--epoch", "5", "--time-step", "0.5", object}).status, 0);
    EXPECT_EQ(settingsLine(script), "# Vertexion settings: Epoch 5 SPF 1/5 Format 2 SubDivTime 0.5");
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, "--format", "standard", "--spf", "1", "--slices", "4", object})
                  .status,
              0);
    EXPECT_EQ(settingsLine(script), "# Vertexion settings: Epoch 5 SPF 1 Format 0 SubDivSteps 4");
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, "--spf", "2/3", object}).status, 0);
    EXPECT_EQ(settingsLine(script), "# Vertexion settings: Epoch 5 SPF 0.666667 Format 0 SubDivSteps 4");
}

// A script holds at most --max-rows rows (2,000,000 by default; 0: no bound).
// A run that would pass the bound writes nothing and says how to stay below
// it, and a recalled slice count is no way around it.
TEST_F(CliScene, ScriptsHaveABoundOnTheirRows) {
    const std::string script = dir.path("dish.sama");
    ASSERT_EQ(cli({"--no-convert", "--scene", scene, "--slices", "50", "--max-rows", "50", object}).status, 0);
    const std::string earlier = vxtest::readText(script);
    const CliOutcome over = cli({"--no-convert", "--scene", scene, "--slices", "51", "--max-rows", "50", object});
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.err, "vertexion-cli: " + script +
                            ": The script would hold more than 50 rows; choose a larger time step or fewer slices.\n");
    EXPECT_EQ(vxtest::readText(script), earlier);
    EXPECT_EQ(vxtest::listDir(dir.dir()), (std::vector<std::string>{"dish.lwo", "dish.lws", "dish.sama"}));

    vxtest::writeText(script, "# Vertexion settings: Epoch 0 SPF 1/30 Format 2 SubDivSteps 99999999999\n");
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, "--max-rows", "1000", object}).status, 1);
    ASSERT_EQ(cli({"--no-convert", "--scene", scene, "--max-rows", "0", "--slices", "60", object}).status, 0);
    const std::string unbounded = vxtest::readText(script);
    std::size_t rows = 0;
    for (std::size_t at = 0; (at = unbounded.find("\nARTICULATION,", at)) != std::string::npos; ++at) ++rows;
    EXPECT_EQ(rows, 60u);
    EXPECT_EQ(cli({"--no-convert", "--scene", scene, "--max-rows", "-1", object}).status, 2);
}

// Faults of the machine around a run: files that are no regular files,
// directories that are missing or closed to us, files we may not read. Each
// gives a message and status 1 and leaves the earlier output as it was, with
// no temporary file beside it.
struct CliFaults : CliScene {
    CliFaults() {
        vxtest::writeText(script, kEarlier);
        vxtest::writeText(model, kEarlier);
    }
    ~CliFaults() override { ::chmod(closed.c_str(), 0700); }
    // A directory we may not write into (without effect when running as root).
    bool closeDirectory() {
        std::filesystem::create_directory(closed);
        ::chmod(closed.c_str(), 0500);
        return ::geteuid() != 0;
    }
    std::vector<std::string> files() const { return vxtest::listDir(dir.dir()); }

    static constexpr std::string_view kEarlier = "earlier output\n";
    std::string script = dir.path("dish.sama");
    std::string model = dir.path("dish.mdl");
    std::string closed = dir.path("closed");
};

TEST_F(CliFaults, SceneThatIsNoRegularFile) {
    ASSERT_EQ(::mkfifo(dir.path("pipe.lws").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder.lws"));
    const auto before = files();
    for (const auto& [bad, reason] : {std::pair{dir.path("pipe.lws"), "Not a regular file"},
                                      {dir.path("folder.lws"), "Is a directory"},
                                      {dir.path("gone.lws"), "No such file or directory"}}) {
        const CliOutcome r = cli({"--no-convert", "--scene", bad, "--script", script, object});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_EQ(r.err, "vertexion-cli: " + bad + ": Can't open Lightwave Scene file for input. (" + reason + ")\n");
        EXPECT_EQ(vxtest::readText(script), kEarlier);
    }
    EXPECT_EQ(files(), before);
}

TEST_F(CliFaults, ScriptThatCannotBeCreated) {
    // The model is still written when only the script fails.
    CliOutcome r = cli({"-o", model, "--scene", scene, "--script", dir.path("none/dish.sama"), object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + dir.path("none/dish.sama") +
                         ": Can't open Model Articulation output file. (No such file or directory)\n");
    EXPECT_NE(vxtest::readText(model), kEarlier);

    if (!closeDirectory()) GTEST_SKIP() << "root writes into any directory";
    r = cli({"--no-convert", "--scene", scene, "--script", closed + "/dish.sama", object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + closed + "/dish.sama: Can't open Model Articulation output file. (Permission denied)\n");
    EXPECT_TRUE(vxtest::listDir(closed).empty());
}

TEST_F(CliFaults, ModelInADirectoryClosedToUs) {
    if (!closeDirectory()) GTEST_SKIP() << "root writes into any directory";
    const CliOutcome r = cli({"-o", closed + "/dish.mdl", object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + closed + "/dish.mdl: Can't open output file. (Permission denied)\n");
    EXPECT_TRUE(vxtest::listDir(closed).empty());
}

TEST_F(CliFaults, FilesWeMayNotRead) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    ::chmod(object.c_str(), 0200);
    CliOutcome r = cli({"-o", model, object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + object + ": Can't open inputfile (Permission denied)\n");
    EXPECT_EQ(vxtest::readText(model), kEarlier);
    ::chmod(object.c_str(), 0600);

    ::chmod(scene.c_str(), 0200);
    r = cli({"--no-convert", "--scene", scene, "--script", script, object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + scene + ": Can't open Lightwave Scene file for input. (Permission denied)\n");
    EXPECT_EQ(vxtest::readText(script), kEarlier);
    ::chmod(scene.c_str(), 0600);
}

}  // namespace
