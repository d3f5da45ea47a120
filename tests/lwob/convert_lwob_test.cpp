#include "lwob/convert_lwob.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::form;
using vxtest::lwobPolygon;
using vxtest::sub;

constexpr const char* kTrailerRule = "###########################################################\n";

struct Result {
    int status;
    std::string text;
    vxtest::RecordingSink sink;
};

Result convert(const std::vector<std::uint8_t>& object, vx::ModelType type = vx::ModelType::SpacecraftAircraft) {
    vxtest::ScratchDir dir;
    Result r;
    vx::ChunkFile file;
    EXPECT_TRUE(file.loadBytes(object, dir.path("golden.lwo"), r.sink));
    vx::ConversionJob job{.inputPath = dir.path("golden.lwo"), .outputPath = dir.path("golden.mdl"), .modelType = type};
    r.status = vx::convertLwob(job, file, job.outputPath, r.sink);
    r.text = vxtest::readText(job.outputPath);
    EXPECT_EQ(vxtest::listDir(dir.dir()), r.status == 0 ? std::vector<std::string>{"golden.mdl"}
                                                         : std::vector<std::string>{});
    return r;
}

std::string header(const char* axis) {
    return std::string("# Korvan 3D Model file\n#\n# Converted from \"golden\" by Vertexion v2.8b.\n#\n") + axis +
           "#\nComponent golden\n    Root\n";
}

std::string trailer(const char* radius) {
    return std::string("EndComponent\nBoundRadius ") + radius + "\n#\n# End of golden.mdl\n" + kTrailerRule;
}

TEST(ConvertLwob, GoldenTwoSurfacesWithPointsMeshesAndAnUnusedSurface) {
    Data pols;
    pols.add(lwobPolygon({0, 1, 2}, 1)).add(lwobPolygon({4}, 1)).add(lwobPolygon({1, 3, 2}, 2))
        .add(lwobPolygon({0, 1}, 3));
    Data hull = Data().name("Hull")
                    .add(sub("COLR", Data().u1(200).u1(100).u1(5).u1(0)))
                    .add(sub("FLAG", Data().u2(0)))
                    .add(sub("TRAN", Data().u2(128)))
                    .add(sub("SPEC", Data().u2(512)))
                    .add(sub("GLOS", Data().u2(1024)))
                    .add(sub("LUMI", Data().u2(129)));
    auto object = form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0).point(0, 0, 20)
                                                 .point(2, 2, 2)),
                                chunk("SRFS", Data().name("Hull").name("Glass").name("Unused")),
                                chunk("POLS", pols), chunk("SURF", hull)});
    Result r = convert(object);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.text, vxtest::goldenText("lwob/golden/two_surfaces.mdl"));
    EXPECT_EQ(r.sink.warnings(), std::vector<std::string>{"Warning: Surface Unused not used.\n"});
    EXPECT_TRUE(r.sink.errors().empty());
}

// Detail polygons, a point shared by a point polygon and a mesh, polygons of
// zero and five vertices, a point index past the table, a name with a line break.
TEST(ConvertLwob, GoldenAwkwardPolygonsOnAFacility) {
    Data pols;
    pols.add(lwobPolygon({0}, 1))
        .add(lwobPolygon({0, 1, 2, 3, 4}, 1))
        .add(lwobPolygon({}, 1))
        .add(lwobPolygon({1, 2, 9}, 1))
        .add(lwobPolygon({2, 3, 4}, -2))
        .u2(1)
        .add(lwobPolygon({0, 1, 2}, 2));
    auto object = form("LWOB", {chunk("PNTS", Data().point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).point(-1, -2, -3)
                                                 .point(0.5f, 0.25f, 0.125f)),
                                chunk("SRFS", Data().name("A\nB").name("Plain")), chunk("POLS", pols),
                                chunk("SURF", Data().name("A\nB").add(sub("COLR", Data().u1(1).u1(2).u1(3).u1(0))))});
    Result r = convert(object, vx::ModelType::Facility);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.text, vxtest::goldenText("lwob/golden/awkward_facility.mdl"));
    EXPECT_TRUE(r.sink.messages.empty());
}

TEST(ConvertLwob, SurfaceListDecidesWhatIsWritten) {
    auto pnts = chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0));
    // No SRFS: an empty component whatever POLS holds.
    Result none = convert(form("LWOB", {pnts, chunk("POLS", lwobPolygon({0, 1, 2}, 1))}));
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.text, header("# Axis rotation applied: Spacecraft/Aircraft (+Y to -Z, +X to +Y)\n") +
                             trailer("15"));
    // Surface numbers 0 and past the list go nowhere; a surface of zero-vertex
    // polygons only is not used.
    Result stray = convert(form("LWOB", {pnts, chunk("SRFS", Data().name("S")),
                                         chunk("POLS", Data().add(lwobPolygon({0, 1, 2}, 0))
                                                           .add(lwobPolygon({0, 1, 2}, 2))
                                                           .add(lwobPolygon({}, 1)))}),
                           vx::ModelType::None);
    EXPECT_EQ(stray.text, header("# Axis rotation applied: None\n") + "# Surface: S\n" + trailer("15"));
    EXPECT_EQ(stray.sink.warnings(), std::vector<std::string>{"Warning: Surface S not used.\n"});
}

TEST(ConvertLwob, TruncatedPolygonRecordsEndTheWalk) {
    auto pnts = chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0));
    // The second record claims 60000 vertices; the odd trailing byte is no word.
    Data pols = Data().add(lwobPolygon({0, 1, 2}, 1)).u2(60000).u2(1).u1(7);
    Result r = convert(form("LWOB", {pnts, chunk("SRFS", Data().name("S")), chunk("POLS", pols)}));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.text.find("\t\tNumPolys 1\n\t\tPolys\n\t\t\t3 2 1 0\n\tEndPolygonMesh\n"), std::string::npos);
}

TEST(ConvertLwob, MissingChunksFailWithoutTouchingTheEarlierFile) {
    vxtest::ScratchDir dir;
    struct Case {
        std::vector<std::uint8_t> object;
        const char* message;
    };
    const std::vector<Case> cases = {
        {form("LWOB", {chunk("SRFS", Data().name("S"))}), "Can't find PNTS chunk."},
        {form("LWOB", {chunk("PNTS", Data().point(0, 0, 0))}), "Can't find POLS chunk."},
    };
    for (const Case& c : cases) {
        const std::string out = dir.path("keep.mdl");
        vxtest::writeText(out, "earlier model\n");
        vxtest::RecordingSink sink;
        vx::ChunkFile file;
        ASSERT_TRUE(file.loadBytes(c.object, "keep.lwo", sink));
        vx::ConversionJob job;
        EXPECT_EQ(vx::convertLwob(job, file, out, sink), 1);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
        EXPECT_EQ(vxtest::readText(out), "earlier model\n");
        EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"keep.mdl"});
    }
    // A new target that cannot be created: nothing appears, whatever the object lacks.
    vxtest::RecordingSink sink;
    vx::ChunkFile file;
    ASSERT_TRUE(file.loadBytes(form("LWOB", {}), "x.lwo", sink));
    vx::ConversionJob job;
    EXPECT_EQ(vx::convertLwob(job, file, dir.path("missing/dir/x.mdl"), sink), 1);
    EXPECT_EQ(sink.errors(), std::vector<std::string>{"Can't open output file."});
}

// Objects written by other modellers convert completely.
TEST(ConvertLwob, CorpusObjectsConvertCompletely) {
    const auto corpus = vxtest::corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus";
    vxtest::ScratchDir dir;
    int converted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus / "lwob")) {
        if (entry.path().extension() != ".lwo") continue;
        vx::ConversionJob job;
        job.inputPath = entry.path().string();
        job.outputPath = dir.path("out.mdl");
        vxtest::RecordingSink sink;
        vx::ChunkFile file;
        ASSERT_TRUE(file.load(job.inputPath, sink)) << job.inputPath;
        EXPECT_EQ(vx::convertLwob(job, file, job.outputPath, sink), 0) << job.inputPath;
        const std::string text = vxtest::readText(job.outputPath);
        EXPECT_NE(text.find("\tPolygonMesh\n"), std::string::npos) << job.inputPath;
        EXPECT_TRUE(text.ends_with("# End of out.mdl\n" + std::string(kTrailerRule))) << job.inputPath;
        ++converted;
    }
    EXPECT_GT(converted, 0);
}

}  // namespace
