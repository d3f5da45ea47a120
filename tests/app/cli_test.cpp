#include "app/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::form;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = vx::runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::uint8_t> triangleObject(const char* surface = "Hull", int polygons = 1) {
    Data pols;
    for (int i = 0; i < polygons; ++i) pols.add(vxtest::lwobPolygon({0, 1, 2}, 1));
    return form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                         chunk("SRFS", Data().name(surface).name("Spare")), chunk("POLS", pols)});
}

TEST(CommandLine, UsageErrorsExitWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--bogus", "a.lwo"},
        {"-o"},
        {"-o", "x.mdl", "a.lwo", "b.lwo"},
        {"-t", "submarine", "a.lwo"},
        {"--format", "csv", "--scene", "s.lws", "a.lwo"},
        {"--spf", "1/0", "--scene", "s.lws", "a.lwo"},
        {"--spf", "fast", "--scene", "s.lws", "a.lwo"},
        {"--spf", "1e300/1e-300", "--scene", "s.lws", "a.lwo"},
        {"--time-step", "1e300", "--scene", "s.lws", "a.lwo"},
        {"--epoch", "nan", "--scene", "s.lws", "a.lwo"},
        // Rows would print "inf" or "nan" for these.
        {"--epoch", "1e39", "--scene", "s.lws", "a.lwo"},
        {"--spf", "1e307", "--scene", "s.lws", "a.lwo"},
        {"--slices", "0", "--scene", "s.lws", "a.lwo"},
        {"--slices", "4", "--time-step", "0.5", "--scene", "s.lws", "a.lwo"},
        {"--scene", "s.lws", "a.lwo", "b.lwo"},
        {"--epoch", "5", "a.lwo"},
        {"--quiet=yes", "a.lwo"},
        {"--preview", "p.png", "a.lwo", "b.lwo"},
        {"--pose", "Dish.Elevation=30", "a.lwo"},
        {"--preview", "p.png", "--pose", "Dish=30", "a.lwo"},
        {"--preview", "p.png", "--pose", "Dish.Elevation=up", "a.lwo"},
        {"--json", "a.lwo"},
        {"--check", "-o", "x.mdl", "a.lwo"},
        {"--check"},
    };
    for (const auto& args : bad) {
        CliRun r = cli(args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CommandLine, HelpAndVersion) {
    CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: vertexion-cli [OPTIONS] OBJECT..."), std::string::npos);
    CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Vertexion v2.8b\nPublished under the MIT licence.\n");
}

// The bash completion is kept by hand: it must offer what --help lists.
TEST(CommandLine, CompletionOffersTheOptionsTheHelpLists) {
    const std::string completion = vxtest::readText(VERTEXION_SOURCE_DIR "/dist/bash-completion/vertexion-cli");
    const std::size_t from = completion.find("compgen -W '-o ");
    ASSERT_NE(from, std::string::npos);
    const std::size_t begin = completion.find('\'', from) + 1;
    std::istringstream words(completion.substr(begin, completion.find('\'', begin) - begin));
    std::set<std::string> offered{std::istream_iterator<std::string>(words), {}};
    offered.erase("--");
    const std::string help = cli({"--help"}).out;
    const std::regex option("(^|[ ,|])(--?[a-z][a-z-]*)");
    std::set<std::string> listed;
    for (auto m = std::sregex_iterator(help.begin(), help.end(), option); m != std::sregex_iterator(); ++m)
        listed.insert((*m)[2]);
    EXPECT_EQ(offered, listed);
}

TEST(CommandLine, DerivesTheOutputName) {
    EXPECT_EQ(vx::defaultOutputPath("dir/ship.LwO"), "dir/ship.mdl");
    EXPECT_EQ(vx::defaultOutputPath("ship.lwo.bak"), "ship.lwo.bak.mdl");
    EXPECT_EQ(vx::defaultOutputPath("lwo"), "lwo.mdl");

    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("Tri.LWO"), triangleObject());
    CliRun r = cli({dir.path("Tri.LWO")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(vxtest::fileExists(dir.path("Tri.mdl")));
}

TEST(CommandLine, RecallsTheModelTypeFromTheEarlierModel) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), triangleObject());
    vxtest::writeText(dir.path("tri.mdl"), "# Axis rotation applied: Ground Vehicle (+Y to +Z, +X to -Y)\n");
    ASSERT_EQ(cli({dir.path("tri.lwo")}).status, 0);
    EXPECT_NE(vxtest::readText(dir.path("tri.mdl")).find("# Axis rotation applied: Ground Vehicle"),
              std::string::npos);
    // An explicit type wins over the recalled one.
    ASSERT_EQ(cli({"--model-type=facility", dir.path("tri.lwo")}).status, 0);
    EXPECT_NE(vxtest::readText(dir.path("tri.mdl")).find("# Axis rotation applied: Facility"), std::string::npos);
}

// Several objects: each message is prefixed with its file, a failed object
// fails the run and the others still get their models. Side by side, the
// messages stay in object order, whichever finishes first.
TEST(CommandLine, SeveralObjectsReportInObjectOrder) {
    vxtest::ScratchDir dir;
    std::vector<std::string> args = {"-j", "3"};
    std::string expected;
    for (int i = 0; i < 12; ++i) {
        const std::string name = dir.path("obj" + std::to_string(i) + ".lwo");
        if (i % 5 == 3) {
            vxtest::writeText(name, "not an object at all");
            expected += "vertexion-cli: " + name + ": Not a valid IFF file.\n";
        } else {
            vxtest::writeFile(name, triangleObject("Hull", 1 + 4000 * (i % 3)));
            expected += "vertexion-cli: " + name + ": Warning: Surface Spare not used.\n";
        }
        args.push_back(name);
    }
    CliRun parallel = cli(args);
    EXPECT_EQ(parallel.status, 1);
    EXPECT_EQ(parallel.err, expected);
    const std::string first = vxtest::readText(dir.path("obj2.mdl"));
    args[1] = "1";
    CliRun serial = cli(args);
    EXPECT_EQ(serial.status, 1);
    EXPECT_EQ(serial.err, expected);
    EXPECT_EQ(vxtest::readText(dir.path("obj2.mdl")), first);
    EXPECT_FALSE(vxtest::fileExists(dir.path("obj3.mdl")));
    EXPECT_EQ(cli({"-j", "0", "a.lwo"}).status, 2);
    // Models written side by side get the mode of a plain create, and the
    // process keeps its umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (int i : {0, 1, 2, 4, 5}) {
        struct stat st;
        ASSERT_EQ(::stat(dir.path("obj" + std::to_string(i) + ".mdl").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
    }
}

TEST(CommandLine, WarningsAreOneLineAndQuietDropsThem) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), triangleObject("Hull"));
    CliRun loud = cli({"-o", dir.path("out.mdl"), dir.path("tri.lwo")});
    EXPECT_EQ(loud.status, 0);
    EXPECT_EQ(loud.err, "vertexion-cli: " + dir.path("tri.lwo") + ": Warning: Surface Spare not used.\n");
    CliRun quiet = cli({"-q", "-o" + dir.path("out.mdl"), dir.path("tri.lwo")});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    // Neither a surface name nor a path can break a message into several
    // lines, one or many objects.
    const std::string odd = dir.path("odd\nname\t.lwo");
    vxtest::writeFile(odd, form("LWOB", {chunk("PNTS", Data().point(0, 0, 0)), chunk("POLS", Data()),
                                         chunk("SRFS", Data().name("a\nb"))}));
    EXPECT_EQ(cli({odd}).err, "vertexion-cli: " + dir.path("odd name .lwo") + ": Warning: Surface a b not used.\n");
    EXPECT_EQ(cli({odd, dir.path("tri.lwo")}).err,
              "vertexion-cli: " + dir.path("odd name .lwo") + ": Warning: Surface a b not used.\n" +
                  loud.err);
}

// The dispatcher's refusals reach the user as one line and status 1.
TEST(CommandLine, RefusedRunsAreReported) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("tri.lwo"), triangleObject());
    for (auto [args, message] : {std::pair{std::vector<std::string>{"--no-convert", dir.path("tri.lwo")},
                                           std::string("vertexion-cli: No convertion options selected.\n")},
                                 {{"-o", dir.path("no/such.mdl"), dir.path("tri.lwo")},
                                  "vertexion-cli: " + dir.path("no/such.mdl") +
                                      ": Can't open output file. (No such file or directory)\n"}}) {
        CliRun r = cli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, message);
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// An object that needs more memory than the process may have fails cleanly.
// (The address sanitizer reserves far more address space than any limit here.)
TEST(CommandLine, ExhaustedMemoryIsReported) {
    vxtest::ScratchDir dir;
    Data pols;
    const std::vector<std::uint8_t> record = vxtest::lwobPolygon({2}, 1).bytes;  // one point polygon
    pols.bytes.resize(record.size() * 10'000'000);
    for (std::size_t at = 0; at < pols.bytes.size(); at += record.size())
        std::copy(record.begin(), record.end(), pols.bytes.begin() + at);
    vxtest::writeFile(dir.path("huge.lwo"), form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0)
                                                                        .point(0, 1, 0)),
                                                          chunk("SRFS", Data().name("S")), chunk("POLS", pols)}));
    EXPECT_EQ(vxtest::runShell("ulimit -v 200000 && exec '" + std::string(VERTEXION_CLI_PATH) + "' '" +
                               dir.path("huge.lwo") + "' 2>'" + dir.path("err.txt") + "'"),
              1);
    EXPECT_EQ(vxtest::readText(dir.path("err.txt")), "vertexion-cli: " + dir.path("huge.lwo") + ": Out of memory\n");
    EXPECT_FALSE(vxtest::fileExists(dir.path("huge.mdl")));
}
#endif

// An object that cannot be read is refused with the system's reason; a FIFO
// must not block the run waiting for a writer.
TEST(CommandLine, ObjectThatCannotBeReadSaysWhy) {
    vxtest::ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.path("pipe.lwo").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> objects = {
        {dir.path("pipe.lwo"), "Not a regular file"},
        {dir.path("missing.lwo"), "No such file or directory"},
        {dir.dir().string(), "Is a directory"},
    };
    for (const auto& [object, reason] : objects) {
        CliRun r = cli({"-o", dir.path("out.mdl"), object});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "vertexion-cli: " + object + ": Can't open inputfile (" + reason + ")\n");
    }
    EXPECT_FALSE(vxtest::fileExists(dir.path("out.mdl")));
}

// Two objects of one run that would write one model file: the later is
// refused before anything is written, and the earlier one's model stands.
TEST(CommandLine, TwoObjectsNeverShareAModel) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("dup.lwo"), triangleObject("Hull"));
    vxtest::writeFile(dir.path("dup.LWO"), triangleObject("Other"));
    for (const char* jobs : {"1", "2"}) {
        CliRun r = cli({"-q", "-j", jobs, dir.path("dup.lwo"), dir.path("dup.LWO")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "vertexion-cli: " + dir.path("dup.LWO") + ": The model file " + dir.path("dup.mdl") +
                             " is also written for " + dir.path("dup.lwo") + "; this object is not converted.\n");
        EXPECT_NE(vxtest::readText(dir.path("dup.mdl")).find("Hull"), std::string::npos);
    }
    // Named twice over, through a directory that leads back.
    ASSERT_TRUE(std::filesystem::create_directory(dir.path("sub")));
    EXPECT_EQ(cli({"-q", dir.path("dup.lwo"), dir.path("sub/../dup.lwo")}).status, 1);
}

// Killed in the middle of writing, the run leaves the earlier model as it was:
// only the temporary file beside it is unfinished.
TEST(CommandLine, KilledRunKeepsTheEarlierModel) {
    vxtest::ScratchDir dir;
    Data points, pols;
    for (int i = 0; i < 60000; ++i) points.point(float(i), float(i % 7), 1.5f);
    for (int i = 0; i < 1'000'000; ++i) pols.add(vxtest::lwobPolygon({unsigned(i % 60000), unsigned((i + 1) % 60000),
                                                                       unsigned((i + 2) % 60000)}, 1 + i % 3));
    vxtest::writeFile(dir.path("big.lwo"), form("LWOB", {chunk("PNTS", points),
                                                         chunk("SRFS", Data().name("A").name("B").name("C")),
                                                         chunk("POLS", pols)}));
    const std::string earlier = "earlier model\n";
    vxtest::writeText(dir.path("big.mdl"), earlier);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string cliPath = VERTEXION_CLI_PATH, object = dir.path("big.lwo");
        ::execl(cliPath.c_str(), cliPath.c_str(), "-q", object.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Wait until the temporary file exists, then kill without warning.
    bool writing = false;
    for (int i = 0; i < 20000 && !writing; ++i) {
        for (const std::string& name : vxtest::listDir(dir.dir())) writing |= name.rfind("big.mdl.", 0) == 0;
        if (!writing) ::usleep(100);
    }
    ::kill(child, SIGKILL);
    int raw = 0;
    ::waitpid(child, &raw, 0);
    ASSERT_TRUE(writing);
    ASSERT_TRUE(WIFSIGNALED(raw)) << "the run ended before it could be killed";
    EXPECT_EQ(vxtest::readText(dir.path("big.mdl")), earlier);
}

}  // namespace
