// LightWave 2018+ objects (form LWO3): nested FORMs with four-byte sizes,
// and surfaces whose look comes from the material wired into the node graph.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "dispatch/run_job.h"
#include "tests/lwo2/lwo2_test_support.h"
#include "tests/support/lwo3_builder.h"

namespace {

using namespace vxtest;

constexpr vx::ModelType kModelTypes[] = {vx::ModelType::SpacecraftAircraft, vx::ModelType::GroundVehicle,
                                         vx::ModelType::Facility, vx::ModelType::None};

const Data kTriangle = Data().add(pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})).add(facePols({{0, 1, 2}}));

// The layers every twin shares: a parent with a UV map, a child with a pivot
// and a named rotation, an attach point, a hidden layer and an include.
Data twinLayers() {
    return Data()
        .add(layr(0, "Hull")).add(kTriangle).add(surfPtag({0}))
        .add(txuv("Skin", {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}}))
        .add(layr(1, "Dish@Y(Azimuth)-180_0_180i4", 1, 2, 3, 0, 0u)).add(kTriangle).add(surfPtag({0}))
        .add(layr(2, "Port@A", 0, 0, 5)).add(pnts({{0, 0, 5}}))
        .add(layr(3, "Secret", 0, 0, 0, 1)).add(kTriangle).add(surfPtag({0}))
        .add(layr(4, "Mast@z", 0, 0, 0, 0, 0u)).add(kTriangle).add(surfPtag({0}));
}

std::vector<std::uint8_t> lwo2Twin() {
    const Data look = Data().add(colr(0.25f, 0.5f, 0.75f)).add(fp4("DIFF", 0.75f)).add(fp4("LUMI", 0.125f))
                          .add(fp4("SPEC", 0.5f)).add(fp4("GLOS", 0.25f)).add(fp4("SMAN", 1.5f))
                          .add(sub("SIDE", Data().u2(3))).add(cmnt("Hull plates"))
                          .add(imageBlock("COLR", 1, wrap(3, 1).add(uvName("Skin"))
                                                         .add(sub("AAST", Data().u2(0).f4(1)))));
    return form("LWO2", {tagsChunk({"Hull"}), clip(1, "Images/hull.png"), twinLayers(), surf("Hull", look)});
}

// Texture layers of a Standard input: FORM TXTR -> FORM BLOK with FORM IMAP
// and the LWO2 sub-chunks at four-byte sizes.
Data standardTexture() {
    const Data imap = formOf("IMAP", {blank(Data().name("\x80")), chunk("CHAN", Data().raw("txtr"))});
    const Data blok = formOf("BLOK", {imap, chunk("IMAG", Data().vx(1)), chunk("WRAP", Data().u2(3).u2(1)),
                                      text("VMAP", "Skin"), chunk("AAST", Data().u2(0).f4(1))});
    return formOf("TXTR", {blok});
}

std::vector<std::uint8_t> lwo3Twin() {
    const Data inputs = Data().add(nodeInput("Color", {0.25, 0.5, 0.75}, standardTexture()))
                            .add(nodeInput("Diffuse", {0.75})).add(nodeInput("Luminosity", {0.125}))
                            .add(nodeInput("Specular", {0.5})).add(nodeInput("Glossiness", {0.25}));
    const Data nodes = Data().add(node("Surface", "Surface", Data())).add(materialNode("Standard", "Standard (1)", inputs));
    const Data graph = nodeGraph(nodes, wire("Surface", "Material", "Standard (1)", "Material"));
    const Data look = Data().add(chunk("SMAN", Data().f4(1.5f))).add(chunk("SIDE", Data().u2(3)))
                          .add(text("CMNT", "Hull plates")).add(chunk("VERS", Data().u4(0x70d))).add(graph);
    // What LightWave 2018 adds and the model has no use for.
    const Data extras = Data().add(chunk("OTAG", Data().raw("TXUV").name("Skin")))
                            .add(chunk("VMPA", Data().u4(0).u4(6)))
                            .add(chunk("PTAG", Data().raw("COLR").vx(0).u2(1)));
    return form("LWO3", {tagsChunk({"Hull", "DkBlu"}), lwo3Clip(1, "Images/hull.png"), extras, twinLayers(),
                         lwo3Surface("Hull", look)});
}

TEST(Lwo3, TheSameObjectAsLwo2GivesTheSameModelInEveryModelType) {
    for (vx::ModelType type : kModelTypes) {
        auto asType = [type](vx::ConversionJob& job) { job.modelType = type; };
        const lwo2test::Converted lwo2 = lwo2test::convert(lwo2Twin(), asType);
        const lwo2test::Converted lwo3 = lwo2test::convert(lwo3Twin(), asType);
        ASSERT_EQ(lwo3.status, 0);
        EXPECT_TRUE(lwo3.sink.messages.empty());
        EXPECT_NE(lwo2.mdl.find("Texture"), std::string::npos);
        EXPECT_EQ(lwo3.mdl, lwo2.mdl);
    }
}

TEST(Lwo3, ScenesGiveTheSameScriptAsForLwo2) {
    ScratchDir dir;
    std::string scene = "LoadObjectLayer 2 Objects/twin.lwo\n";
    for (char channel : {'3', '4', '5'}) {
        scene += std::string("Channel ") + channel + "\n{ Envelope\n  1\n  Key 0.5 0 0 0 0 0 0 0 0\n}\n";
    }
    writeText(dir.path("twin.lws"), scene);
    std::string scripts[2];
    for (int i = 0; i < 2; ++i) {
        writeFile(dir.path("twin.lwo"), i == 0 ? lwo2Twin() : lwo3Twin());
        vx::ConversionJob job{.inputPath = dir.path("twin.lwo"), .outputPath = dir.path("twin.mdl"),
                              .scenePath = dir.path("twin.lws"), .scriptPath = dir.path("twin.sama"),
                              .convert = false, .articulate = true};
        RecordingSink sink;
        EXPECT_EQ(vx::runJob(job, sink), 0);
        EXPECT_TRUE(sink.messages.empty()) << sink.messages.at(0).text;
        scripts[i] = readText(job.scriptPath);
    }
    EXPECT_NE(scripts[1].find("Azimuth"), std::string::npos);
    EXPECT_EQ(scripts[1], scripts[0]);
}

// Only the material wired into the Surface node's "Material" input counts.
std::string surfaceLines(const Data& nodes, const Data& wires, lwo2test::Converted* keep = nullptr) {
    lwo2test::Converted c = lwo2test::convert(form(
        "LWO3", {tagsChunk({"Skin"}), layr(0, ""), kTriangle, surfPtag({0}), lwo3Surface("Skin", nodeGraph(nodes, wires))}));
    std::string lines = lwo2test::section(c.mdl, "\tPolygonMesh\n", "\t\tNumVerts");
    if (keep) *keep = std::move(c);
    return lines;
}

TEST(Lwo3, MaterialsCountOnlyWhenWiredAndOtherKindsGiveTheirColour) {
    const Data red = materialNode("Standard", "Standard (1)", nodeInput("Color", {1.0, 0.0, 0.0}));
    const Data glossy = materialNode("Principled BSDF", "Principled BSDF (1)",
                                     Data().add(nodeInput("Color", {0.0, 0.0, 1.0})).add(nodeInput("Roughness", {0.75})));
    const Data nodes = Data().add(node("Surface", "Surface", Data())).add(red).add(glossy);

    const std::string unwired = surfaceLines(nodes, Data());
    EXPECT_NE(unwired.find("FaceColor grey78"), std::string::npos) << unwired;

    const std::string principled = surfaceLines(nodes, wire("Surface", "Material", "Principled BSDF (1)", "Material"));
    EXPECT_NE(principled.find("FaceColor %000000255"), std::string::npos) << principled;
    const std::string rough = surfaceLines(
        Data().add(node("Surface", "Surface", Data()))
            .add(materialNode("Principled BSDF", "P", Data().add(nodeInput("Color", {0.0, 0.0, 1.0})).add(nodeInput("Roughness", {0.0})))),
        wire("Surface", "Material", "P", "Material"));
    EXPECT_NE(rough, principled);  // the glossiness follows 1 - roughness

    lwo2test::Converted other;
    const Data paint = materialNode("Car Paint", "Car Paint (1)", nodeInput("Paint Color", {0.0, 1.0, 0.0}));
    const std::string painted = surfaceLines(Data().add(node("Surface", "Surface", Data())).add(paint),
                                             wire("Surface", "Material", "Car Paint (1)", "Material"), &other);
    EXPECT_NE(painted.find("FaceColor %000255000"), std::string::npos) << painted;
    ASSERT_EQ(other.sink.messages.size(), 1u);
    EXPECT_EQ(other.sink.messages[0].text,
              "Warning: Surface \"Skin\" uses a \"Car Paint\" material, of which only the colour is read.");
}

TEST(Golden, Lwo3PrincipledWithAnImageNode) {
    const lwo2test::Converted c = lwo2test::convert(lwo3Triangle());
    ASSERT_EQ(c.status, 0);
    EXPECT_TRUE(c.sink.messages.empty());
    const std::string path = std::string(VERTEXION_SOURCE_DIR) + "/tests/lwo2/golden/lwo3_triangle.mdl";
    if (std::getenv("VERTEXION_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << c.mdl;
    EXPECT_EQ(c.mdl, readText(path));
}

// Every object LightWave 2018+ saved converts, in every model type, to a
// whole model: blocks closed, every referred component defined, the trailer.
std::string wellFormedProblem(const std::string& mdl) {
    std::istringstream lines(mdl);
    std::set<std::string> defined, referred;
    int open = 0;
    bool inRefer = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Component ", 0) == 0) {
            if (open++ != 0) return "nested component: " + line;
            defined.insert(line.substr(10));
        } else if (line == "EndComponent") {
            if (--open != 0) return "unbalanced EndComponent";
        } else if (line == "\tRefer") {
            inRefer = true;
        } else if (line == "\tEndRefer") {
            inRefer = false;
        } else if (inRefer && line.rfind("\t\tComponent ", 0) == 0) {
            referred.insert(line.substr(12));
        }
    }
    if (open != 0) return "component left open";
    for (const std::string& name : referred) {
        if (!defined.count(name)) return "undefined component " + name;
    }
    if (mdl.find("\nBoundRadius ") == std::string::npos) return "no BoundRadius";
    if (mdl.size() < 60 || mdl.compare(mdl.size() - 60, 60, std::string(59, '#') + "\n") != 0) return "no trailer";
    return {};
}

TEST(Lwo3, EveryCorpusObjectGivesAWholeModel) {
    const std::filesystem::path folder = std::filesystem::path(VERTEXION_SOURCE_DIR) / "../shared/corpus/lwo3";
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no LWO3 corpus at " << folder;
    int converted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".lwo") continue;
        const std::string text = readText(entry.path().string());
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        for (vx::ModelType type : kModelTypes) {
            const lwo2test::Converted c = lwo2test::convert(bytes, [type](vx::ConversionJob& job) { job.modelType = type; });
            ASSERT_EQ(c.status, 0) << entry.path();
            EXPECT_EQ(c.sink.errors().size(), 0u) << entry.path();
            EXPECT_EQ(wellFormedProblem(c.mdl), "") << entry.path();
            ++converted;
        }
    }
    EXPECT_GT(converted, 0);
}

}  // namespace
