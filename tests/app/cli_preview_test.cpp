// --preview and --pose through the command line: the sheet of the model just
// written or already there, and poses checked against the model's lines.

#include <gtest/gtest.h>

#include <sstream>

#include "app/cli.h"
#include "tests/support/test_support.h"

namespace {

struct CliRun {
    int status;
    std::string err;
};

CliRun cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = vx::runCommandLine(args, out, err);
    return {status, err.str()};
}

bool isPng(const std::string& path) { return vxtest::readText(path).starts_with("\x89PNG\r\n\x1a\n"); }

TEST(CommandLinePreview, ConvertsThenDrawsAndChecksPoses) {
    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("ship.lwo"), vxtest::readText(VERTEXION_SOURCE_DIR "/examples/ship.lwo"));
    CliRun r = cli({"--preview", dir.path("ship.png"), dir.path("ship.lwo")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(isPng(dir.path("ship.png")));
    EXPECT_EQ(vxtest::listDir(dir.dir()), (std::vector<std::string>{"ship.lwo", "ship.mdl", "ship.png"}));

    // With --no-convert the model already there is drawn, at the pose given.
    std::filesystem::remove(dir.path("ship.lwo"));
    r = cli({"--no-convert", "--preview", dir.path("posed.png"), "--pose", "Dish.Elevation=30", "--pose=Dish.Azimuth=-90",
             dir.path("ship.lwo")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(isPng(dir.path("posed.png")));

    const struct {
        std::string pose, message;
    } refused[] = {
        {"Dish.Elevation=120", "vertexion-cli: --pose: Dish.Elevation=120 is outside the range of Dish.Elevation, 0 to 90 (see --help)\n"},
        {"Dish.Tilt=1", "vertexion-cli: --pose: no articulation line \"Dish.Tilt\" (the model has Dish.Azimuth, "
                        "Dish.Elevation, SolarWings.Tilt) (see --help)\n"},
    };
    for (const auto& c : refused) {
        r = cli({"--no-convert", "--preview", dir.path("bad.png"), "--pose", c.pose, dir.path("ship.lwo")});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.message);
    }
    EXPECT_FALSE(vxtest::fileExists(dir.path("bad.png")));
    // No model to draw: the reader's message, and a failed run.
    r = cli({"--no-convert", "--preview", dir.path("none.png"), dir.path("none.lwo")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vertexion-cli: " + dir.path("none.mdl") + ": Can't read model file. (No such file or directory)\n");
}

}  // namespace
