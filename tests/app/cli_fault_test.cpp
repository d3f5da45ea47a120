// Faults of the machine around a run: files that are no regular files,
// directories that are missing or closed to us, files we may not read. Each
// gives a message and status 1, and leaves any earlier output as it was with
// no temporary file beside it.

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "app/cli.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace {

struct Outcome {
    int status;
    std::string err;
};

Outcome cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vx::runCommandLine(args, out, err);
    return {status, err.str()};
}

constexpr std::string_view kScene =
    "LoadObjectLayer 1 Objects/dish.lwo\nChannel 3\n{ Envelope\n  2\n"
    "  Key 0 0 0 0 0 0 0 0 0\n  Key 1.5708 2 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
constexpr std::string_view kEarlier = "earlier output\n";

struct CliFaults : ::testing::Test {
    CliFaults() {
        using namespace vxtest;
        writeFile(object, form("LWO2", {tagsChunk({"Hull"}), layr(0, "Dish@Y"), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                        facePols({{0, 1, 2}}), surfPtag({0}), surf("Hull", colr(1, 1, 1))}));
        writeText(scene, kScene);
        writeText(script, kEarlier);
        writeText(model, kEarlier);
    }
    ~CliFaults() override { ::chmod(closed.c_str(), 0700); }
    // A directory we may not write into (without effect when running as root).
    bool closeDirectory() {
        std::filesystem::create_directory(closed);
        ::chmod(closed.c_str(), 0500);
        return ::geteuid() != 0;
    }
    std::vector<std::string> files() const { return vxtest::listDir(dir.dir()); }

    vxtest::ScratchDir dir;
    std::string object = dir.path("dish.lwo");
    std::string scene = dir.path("dish.lws");
    std::string script = dir.path("dish.sama");
    std::string model = dir.path("dish.mdl");
    std::string closed = dir.path("closed");
};

TEST_F(CliFaults, SceneThatIsNoRegularFile) {
    ASSERT_EQ(::mkfifo(dir.path("pipe.lws").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder.lws"));
    const auto before = files();
    for (const std::string& bad : {dir.path("pipe.lws"), dir.path("folder.lws"), dir.path("gone.lws")}) {
        const Outcome r = cli({"--no-convert", "--scene", bad, "--script", script, object});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_EQ(r.err, "Can't open Lightwave Scene file for input.\n") << bad;
        EXPECT_EQ(vxtest::readText(script), kEarlier);
    }
    EXPECT_EQ(files(), before);
}

TEST_F(CliFaults, ScriptThatCannotBeCreated) {
    // The model is still written when only the script fails.
    Outcome r = cli({"-o", model, "--scene", scene, "--script", dir.path("none/dish.sama"), object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open Model Articulation output file.\n");
    EXPECT_NE(vxtest::readText(model), kEarlier);

    r = cli({"--no-convert", "--scene", scene, "--script", dir.dir().string(), object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open Model Articulation output file.\n");

    if (!closeDirectory()) GTEST_SKIP() << "root writes into any directory";
    r = cli({"--no-convert", "--scene", scene, "--script", closed + "/dish.sama", object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open Model Articulation output file.\n");
    EXPECT_TRUE(vxtest::listDir(closed).empty());
}

TEST_F(CliFaults, ModelInADirectoryClosedToUs) {
    if (!closeDirectory()) GTEST_SKIP() << "root writes into any directory";
    const Outcome r = cli({"-o", closed + "/dish.mdl", object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open output file.\n");
    EXPECT_TRUE(vxtest::listDir(closed).empty());
}

TEST_F(CliFaults, FilesWeMayNotRead) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    ::chmod(object.c_str(), 0200);
    Outcome r = cli({"-o", model, object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open inputfile\n");
    EXPECT_EQ(vxtest::readText(model), kEarlier);
    ::chmod(object.c_str(), 0600);

    ::chmod(scene.c_str(), 0200);
    r = cli({"--no-convert", "--scene", scene, "--script", script, object});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can't open Lightwave Scene file for input.\n");
    EXPECT_EQ(vxtest::readText(script), kEarlier);
    ::chmod(scene.c_str(), 0600);
}

}  // namespace
