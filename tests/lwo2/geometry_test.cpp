// The geometry of a layer, per surface, beyond what the random comparison in
// geometry_reference_test.cpp draws: long polygons, four-byte indices,
// surfaces missing from TAGS, maps of other names or layers, comments.

#include <gtest/gtest.h>

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;
using lwo2test::convert;
using lwo2test::section;

// Points k = 0..n-1 at (k, 2k, -1), so that model type None writes them as
// "k 2k 1" and every line tells which point it is.
Data numberedPoints(std::uint32_t n) {
    Data d;
    for (std::uint32_t k = 0; k < n; ++k) d.point(float(k), float(2 * k), -1.0f);
    return chunk("PNTS", d);
}

std::string layerComponent(const std::vector<std::uint8_t>& bytes, const std::string& name = "Body") {
    lwo2test::Converted c = convert(bytes, [](vx::ConversionJob& job) { job.modelType = vx::ModelType::None; });
    EXPECT_EQ(c.status, 0);
    return section(c.mdl, "Component " + name + "\n", "EndComponent\n");
}

const Data kPlain = Data().add(colr(1, 1, 1)).add(sub("SIDE", Data().u2(3))).add(fp4("SMAN", 1));
const std::string kPlainText = "\t\tFaceColor %255255255\n\t\tSpecularity 0.000000\n\t\tShininess 51\n";

TEST(Geometry, BadIndicesDropTheirPolygonAndLongPolygonsStayWhole) {
    std::vector<std::uint32_t> big(1500);
    for (std::uint32_t k = 0; k < big.size(); ++k) big[k] = k;
    auto bytes = form("LWO2", {tagsChunk({"S"}), layr(0, "Body@"), numberedPoints(1500),
                               facePols({{0, 1, 1500}, {0, 70000, 2}, big}), surfPtag({0, 0, 0}),
                               surf("S", kPlain)});
    const std::string body = layerComponent(bytes);
    EXPECT_NE(body.find("\t\tNumVerts 1500\n"), std::string::npos);
    std::string line = "\t\t\t1500";
    for (std::uint32_t k = 1500; k-- > 0;) line += " " + std::to_string(k);
    EXPECT_NE(body.find("\t\tNumPolys 1\n\t\tPolys\n" + line + "\n\tEndPolygonMesh\n"), std::string::npos);
}

TEST(Geometry, ShortTagListsGiveTagZeroAndUntaggedSurfacesNothing) {
    // Three polygons, one tag entry naming tag 1 (B): the rest go to A (tag 0).
    // A surface that TAGS does not name gets nothing.
    auto bytes = form("LWO2", {tagsChunk({"A", "B"}), layr(0, "Body@"), numberedPoints(4),
                               facePols({{0, 1, 2}, {1, 2, 3}, {0, 2, 3}}), surfPtag({1}),
                               surf("A", kPlain), surf("B", kPlain), surf("C", kPlain)});
    const std::string body = layerComponent(bytes);
    EXPECT_NE(body.find("# Surface: A\n\tPolygonMesh\n" + kPlainText + "\t\tNumVerts 4\n"), std::string::npos);
    EXPECT_NE(body.find("\t\tNumPolys 2\n"), std::string::npos);
    EXPECT_NE(body.find("# Surface: B\n"), std::string::npos);
    EXPECT_EQ(body.find("# Surface: C\n"), std::string::npos);
}

TEST(Geometry, UvMapOfTheLayerGivesTextureCoordinates) {
    const Data textured = Data().add(colr(1, 1, 1)).add(sub("SIDE", Data().u2(3))).add(fp4("SMAN", 1))
                              .add(imageBlock("COLR", 1, uvName("UV")));
    // Point 2 is not in the map; entries for points past the list are skipped.
    Data map = Data().raw("TXUV").u2(2).name("UV").vx(0).f4(0.25f).f4(0.5f).vx(9).f4(1).f4(1).vx(1).f4(1).f4(0);
    map.vx(0).f4(0.75f);  // cut short by the end of the chunk: the map ends before it
    auto bytes = form("LWO2", {tagsChunk({"T"}), clip(1, "skin.png"), layr(0, "Body@"), numberedPoints(3),
                               txuv("Other", {{0, 9, 9}}), chunk("VMAP", map), facePols({{0, 1, 2}}),
                               surfPtag({0}), surf("T", textured)});
    const std::string body = layerComponent(bytes);
    EXPECT_NE(body.find("\t\tNumVerts 3\n\t\tDataTx\n"
                        "\t\t\t0.00000000000 0.00000000000 1.00000000000 0.250000 0.500000\n"
                        "\t\t\t1.00000000000 2.00000000000 1.00000000000 1.000000 0.000000\n"
                        "\t\t\t2.00000000000 4.00000000000 1.00000000000 0.000000 0.000000\n"),
              std::string::npos)
        << body;

    // The same map in another layer does not count.
    auto elsewhere = form("LWO2", {tagsChunk({"T"}), clip(1, "skin.png"), layr(1, "Maps@"),
                                   txuv("UV", {{0, 1, 1}}), layr(0, "Body@"), numberedPoints(3),
                                   facePols({{0, 1, 2}}), surfPtag({0}), surf("T", textured)});
    const std::string plain = layerComponent(elsewhere);
    EXPECT_NE(plain.find("\t\tNumVerts 3\n\t\tData\n"), std::string::npos) << plain;
}

// Names and comments from the object never start lines of their own.
TEST(Geometry, SurfaceNamesAndCommentsStayOnTheirLines) {
    const std::string name = "Hull\nPlate";
    auto bytes = form("LWO2", {tagsChunk({name}), layr(0, "Se\x01" "cret", 0, 0, 0, 1), layr(1, "Body@"),
                               numberedPoints(3), facePols({{0, 1, 2}}), surfPtag({0}),
                               surf(name, Data().add(colr(1, 1, 1)).add(cmnt("Paint\r\nColorTranslate")))});
    const std::string mdl = convert(bytes).mdl;
    EXPECT_NE(mdl.find("# Layer 1 (Se cret) invisible.  Skipping layer.\n"), std::string::npos) << mdl;
    EXPECT_NE(mdl.find("# Surface: Hull Plate\n# Surface comment: Paint  ColorTranslate\n\tPolygonMesh\n"),
              std::string::npos);
    EXPECT_NE(mdl.find("\t\tArticulation L2_Hull Plate\n"), std::string::npos);
    EXPECT_NE(mdl.find("# Articulations:\n#\tL2_Hull Plate - Red, Green, Blue\n#\n"), std::string::npos);
}

TEST(Geometry, MissingChunksAreCommentedExceptOnAttachPoints) {
    auto noPoints = form("LWO2", {layr(0, "Body@")});
    auto noPolygons = form("LWO2", {layr(0, "Body@"), numberedPoints(1), chunk("POLS", Data().raw("CURV"))});
    auto noTags = form("LWO2", {layr(0, "Body@"), numberedPoints(1), facePols({{0}}),
                                chunk("PTAG", Data().raw("PART").u2(0).u2(0))});
    auto attach = form("LWO2", {layr(0, "Hook@A")});
    EXPECT_NE(convert(noPoints).mdl.find("# Layer 1: Body@\n# No points in this layer.\nComponent Body\n"),
              std::string::npos);
    EXPECT_NE(convert(noPolygons).mdl.find("# No polygons in this layer.\nComponent Body\nEndComponent\n"),
              std::string::npos);
    EXPECT_NE(convert(noTags).mdl.find("# No polygon surfaces in this layer.\nComponent Body\nEndComponent\n"),
              std::string::npos);
    EXPECT_EQ(convert(attach).mdl.find("# No "), std::string::npos);
}

}  // namespace
