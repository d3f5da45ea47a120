#include <gtest/gtest.h>

#include <sstream>

#include "app/cli.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::form;
using vxtest::layr;

struct CheckRun {
    int status;
    std::string out, err;
};

CheckRun check(std::vector<std::string> args) {
    args.insert(args.begin(), "--check");
    std::ostringstream out, err;
    const int status = vx::runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

std::string warningLines(const std::string& report) {
    std::istringstream lines(report);
    std::string line, warnings;
    while (std::getline(lines, line)) {
        if (line.rfind("Warning: ", 0) == 0) warnings += line + '\n';
    }
    return warnings;
}

// Each object carries one fault; the check names it and exits with 1.
TEST(CommandLineCheck, WarnsOfEachFaultNamingItsLayerOrSurface) {
    const Data hull = vxtest::surf("Hull", vxtest::colr(1, 1, 1).add(vxtest::imageBlock("COLR", 1)));
    struct Case {
        std::vector<Data> chunks;
        std::string warnings;
    } cases[] = {
        {{layr(0, "Body@YqSq")},
         "Warning: layer 1 \"Body@YqSq\" code \"q\" is outside the vocabulary and is ignored\n"
         "Warning: layer 1 \"Body@YqSq\" code \"Sq\" is outside the vocabulary and is ignored\n"},
        {{layr(0, "Axle@i7"), layr(1, "Hub@R"), layr(2, "Rim@i2")},
         "Warning: layer 1 \"Axle@i7\" includes layer 7, which does not exist\n"
         "Warning: layer 3 \"Rim@i2\" includes layer 2, which is not includable (no bare \"i\", or hidden): "
         "the include is empty\n"},
        {{layr(0, "Body@", 0, 0, 0, 0, 5)}, "Warning: layer 1 \"Body@\" has the parent layer 6, which does not exist\n"},
        {{layr(0, "A@", 0, 0, 0, 0, 2), layr(1, "B@", 0, 0, 0, 0, 2), layr(2, "C@", 0, 0, 0, 0, 1)},
         "Warning: layer 3 \"C@\" is in a loop of parents and includes: 3 > 2 > 3\n"},
        {{layr(0, "Wheel@i2i"), layr(1, "Axle@i1i")},
         "Warning: layer 1 \"Wheel@i2i\" is in a loop of parents and includes: 1 > 2 > 1\n"},
        {{layr(0, "Gimbal@RR(Outer)R")}, "Warning: layer 1 \"Gimbal@RR(Outer)R\" has two articulations named \"Roll\"\n"},
        {{layr(0, "Body@"), vxtest::clip(1, "C:/maps/missing.png"), hull},
         "Warning: surface \"Hull\" image \"C:/maps/missing.png\" is found neither beside the object nor at its "
         "stored path\n"},
    };
    vxtest::ScratchDir dir;
    for (const Case& c : cases) {
        vxtest::writeFile(dir.path("ship.lwo"), form("LWO2", c.chunks));
        CheckRun r = check({dir.path("ship.lwo")});
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_EQ(warningLines(r.out), c.warnings) << r.out;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"ship.lwo"});
}

// A sound object: everything the codes say, the image found beside the
// object though stored elsewhere, exit 0; a LightWave 5 object has no layers.
TEST(CommandLineCheck, ReportsASoundObjectAndExitsWithZero) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("hull.png"), {});
    const Data look = vxtest::colr(0.5f, 0.25f, 1)
                          .add(vxtest::cmnt("Lamp ColorTranslate"))
                          .add(vxtest::imageBlock("COLR", 1));
    vxtest::writeFile(
        dir.path("ship.lwo"),
        form("LWO2", {layr(0, "Wheel@iR(Spin)0_0_90"), layr(1, "Dock port@Ae", 0, 0.5f, -2, 1),
                      layr(2, "Axle@o0_35i1e(TxScale)1_1p(Aim)0_0_1Sz", 0, 0, 0, 0, 1),
                      vxtest::clip(1, "D:\\maps\\hull.png"), vxtest::surf("Hull", look)}));
    vxtest::writeFile(dir.path("old.lwo"), vxtest::lwobTriangle());
    CheckRun r = check({dir.path("ship.lwo"), dir.path("old.lwo")});
    EXPECT_EQ(r.status, 0) << r.out;
    const std::string expected =
        dir.path("ship.lwo") + ": LightWave 6+ object (LWO2), 3 layers, 1 surface\n"
        "Layer 1 \"Wheel@iR(Spin)0_0_90\": component Wheel, no parent, pivot 0 0 0, visible\n"
        "  codes: iR(Spin)0_0_90\n"
        "  articulation R Spin 0 0 90\n"
        "  includable\n"
        "Layer 2 \"Dock port@Ae\": component Dock_port, no parent, pivot 0 0.5 -2, hidden (not converted)\n"
        "  codes: Ae\n"
        "  attach effect \"Dock port\"\n"
        "Layer 3 \"Axle@o0_35i1e(TxScale)1_1p(Aim)0_0_1Sz\": component Axle, parent 2, pivot 0 0 0, visible\n"
        "  codes: o0_35i1e(TxScale)1_1p(Aim)0_0_1Sz\n"
        "  articulation Sz ScaleZ 0 1 10\n"
        "  pointing Aim 0 0 1\n"
        "  includes layer 1\n"
        "  orientation 0 35 0\n"
        "  extra line \"TxScale 1 1\"\n"
        "Surface \"Hull\": colour 0.5 0.25 1\n"
        "  comment keywords: ColorTranslate\n"
        "  colour image \"D:\\maps\\hull.png\" as \"hull.png\": found at \"" + dir.path("hull.png") + "\"\n"
        "No warnings.\n"
        "\n" + dir.path("old.lwo") + ": LightWave 5 object (LWOB), 1 surface\n"
        "No layers: layers and their codes are a LightWave 6+ feature.\n"
        "Surface \"Hull\": default look\n"
        "No warnings.\n";
    EXPECT_EQ(r.out, expected);
}

// The JSON document escapes quotes, backslashes, control characters and
// bytes that are no UTF-8; an unreadable object gives its error in place.
TEST(CommandLineCheck, JsonDocument) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("a.lwo"),
                      form("LWO2", {layr(0, "Arm@Y"), vxtest::surf("Say \"hi\"\\\x01\xe9\xc3\xa9", Data())}));
    vxtest::writeText(dir.path("junk.lwo"), "not an object at all");
    CheckRun r = check({"--json", dir.path("a.lwo"), dir.path("junk.lwo")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(r.out,
              "{\"objects\":[{\"path\":\"" + dir.path("a.lwo") +
                  "\",\"form\":\"LWO2\",\"error\":null,\"layers\":[{\"number\":1,\"name\":\"Arm@Y\","
                  "\"component\":\"Arm\",\"codes\":\"Y\",\"parent\":null,\"pivot\":[0,0,0],\"hidden\":false,"
                  "\"articulations\":[{\"code\":\"Y\",\"name\":\"Yaw\",\"range\":\"-360 0 360\"}],"
                  "\"attachPoint\":null,\"pointing\":[],\"includable\":false,\"includes\":[],"
                  "\"orientation\":null,\"extraLines\":[]}],\"surfaces\":[{\"name\":\"Say \\\"hi\\\"\\\\"
                  "\\u0001\\u00e9\xc3\xa9\",\"colour\":null,\"diffuse\":null,\"specular\":null,"
                  "\"glossiness\":null,\"transparency\":null,\"smoothingDegrees\":null,\"sides\":null,"
                  "\"commentKeywords\":[],\"images\":[]}],\"warnings\":[]},{\"path\":\"" +
                  dir.path("junk.lwo") + "\",\"form\":null,\"error\":\"Not a valid IFF file.\",\"layers\":null,"
                  "\"surfaces\":[],\"warnings\":[]}]}\n");
}

}  // namespace
