#include "lwo2/context.h"

#include <gtest/gtest.h>

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;
using vx::makeId;

struct Loaded {
    explicit Loaded(std::vector<std::uint8_t> bytes) {
        EXPECT_TRUE(file.loadBytes(std::move(bytes), "dir/ship.lwo", sink));
    }
    RecordingSink sink;
    vx::ChunkFile file;
    vx::Lwo2Context context{file};
};

std::vector<int> walk(vx::Lwo2Context& context, bool byNumber) {
    std::vector<int> numbers;
    vx::resetLayerCursor(context);
    while (byNumber ? vx::nextLayerByNumber(context) : vx::nextLayerInFile(context))
        numbers.push_back(context.currentLayerNumber);
    return numbers;
}

TEST(LayerWalk, FileOrderAndNumberOrder) {
    Loaded o(form("LWO2", {layr(2, "c"), pnts({{0, 0, 0}}), layr(0, "a"), layr(1, "b"), layr(0, "dup")}));
    EXPECT_EQ(o.context.groupBaseName(), "ship");
    EXPECT_EQ(walk(o.context, false), (std::vector<int>{3, 1, 2, 1}));
    // In number order a shared number is visited once, at its first layer.
    o.context.highestLayerNumber = -1;
    EXPECT_EQ(walk(o.context, true), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(o.context.highestLayerNumber, 3);
}

TEST(LayerWalk, GapsInTheNumberingAreSkipped) {
    Loaded o(form("LWO2", {layr(5, "f"), layr(0, "a"), layr(65535, "last")}));
    EXPECT_EQ(walk(o.context, true), (std::vector<int>{1, 6, 65536}));
}

TEST(LayerWalk, FindByNumberSetsTheCursorOrClearsIt) {
    Loaded o(form("LWO2", {layr(0, "a"), pnts({{1, 2, 3}}), layr(1, "b"), pnts({{4, 5, 6}, {7, 8, 9}})}));
    ASSERT_TRUE(vx::findLayerByNumber(o.context, 2));
    EXPECT_EQ(o.context.currentLayerNumber, 2);
    std::optional<vx::Chunk> points = vx::findInLayer(o.context, makeId("PNTS"));
    ASSERT_TRUE(points);
    EXPECT_EQ(points->size, 24u);
    EXPECT_FALSE(vx::findLayerByNumber(o.context, 3));
    EXPECT_EQ(o.context.currentLayerNumber, 0);
    EXPECT_FALSE(vx::findInLayer(o.context, makeId("PNTS")));
}

TEST(LayerWalk, FindInLayerStaysInsideTheLayerAndMatchesTheType) {
    Loaded o(form("LWO2", {layr(0, "a"), chunk("POLS", Data().raw("PTCH")), chunk("POLS", Data().raw("FACE")),
                           layr(1, "b"), chunk("PTAG", Data().raw("SURF"))}));
    ASSERT_TRUE(vx::nextLayerInFile(o.context));
    std::optional<vx::Chunk> face = vx::findInLayer(o.context, makeId("POLS"), makeId("FACE"));
    ASSERT_TRUE(face);
    EXPECT_EQ(vx::peekU4(o.file.data(*face), 0), makeId("FACE"));
    EXPECT_FALSE(vx::findInLayer(o.context, makeId("PTAG")));
    ASSERT_TRUE(vx::nextLayerInFile(o.context));
    EXPECT_TRUE(vx::findInLayer(o.context, makeId("PTAG"), makeId("SURF")));
    EXPECT_FALSE(vx::nextLayerInFile(o.context));
}

TEST(LayerHeader, ReadsNameAndOptionalParent) {
    Loaded o(form("LWO2", {layr(3, "Arm", 1, 2, 3, 1, 7u), layr(4, "Odd"), layr(5, "x", 0, 0, 0, 0, 0xFFFFu),
                           chunk("LAYR", Data().u2(6))}));
    std::vector<vx::LayerHeader> headers;
    vx::forEachChunk(o.file, [&](const vx::Chunk& c) {
        headers.push_back(vx::readLayerHeader(o.file, c));
        return true;
    });
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[0].number, 4);
    EXPECT_EQ(headers[0].flags, 1);
    EXPECT_EQ(headers[0].name, "Arm");
    EXPECT_EQ(headers[0].parent, 8);
    EXPECT_EQ(headers[1].parent, std::nullopt);
    EXPECT_EQ(headers[2].parent, std::nullopt);
    EXPECT_EQ(headers[3].number, 7);
    EXPECT_EQ(headers[3].name, "");
}

TEST(SurfaceList, TagIndicesFollowTheTagsChunk) {
    // An empty tag takes no index; a name listed twice gets both indices.
    Data tags = Data().name("Hull").u1(0).u1(0).name("Glass").name("Hull");
    Loaded o(form("LWO2", {chunk("TAGS", tags), surf("Glass", colr(0, 0, 1)), surf("Hull", Data()),
                           surf("Paint", Data())}));
    vx::buildSurfaceList(o.context);
    ASSERT_EQ(o.context.surfaces.size(), 3u);
    EXPECT_EQ(o.context.surfaces[0].name, "Glass");
    EXPECT_EQ(o.context.surfaces[0].tagIndices[0], 1);
    EXPECT_EQ(o.context.surfaces[0].tagIndices[1], -2);
    EXPECT_EQ(o.context.surfaces[1].tagIndices[0], 0);
    EXPECT_EQ(o.context.surfaces[1].tagIndices[1], 2);
    EXPECT_EQ(o.context.surfaces[2].tagIndices[0], -2);
    EXPECT_FALSE(o.context.surfaces[2].usesTag(0));
    EXPECT_TRUE(vx::findSurfaceField(o.context, o.context.surfaces[0], makeId("COLR")));
    EXPECT_FALSE(vx::findSurfaceField(o.context, o.context.surfaces[1], makeId("COLR")));
}

TEST(SurfaceList, AtMostTenIndicesAndOddNamesPadded) {
    Data tags;
    for (int i = 0; i < 12; ++i) tags.name("S");
    // "Odd" with its NUL is even; "Even" gets a pad byte; the source name follows.
    Loaded o(form("LWO2", {chunk("TAGS", tags), chunk("SURF", Data().name("S").name("Src").add(colr(1, 1, 1)))}));
    vx::buildSurfaceList(o.context);
    const vx::Lwo2Surface& s = o.context.surfaces.at(0);
    EXPECT_EQ(s.tagIndices[9], 9);
    EXPECT_TRUE(s.usesTag(9));
    EXPECT_FALSE(s.usesTag(10));
    EXPECT_EQ(s.firstSubChunk, 6u);
    EXPECT_TRUE(vx::findSurfaceField(o.context, s, makeId("COLR")));
}

}  // namespace
