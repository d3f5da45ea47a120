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

std::vector<int> numbers(const vx::LayerIndex& index, bool byNumber) {
    std::vector<int> out;
    if (byNumber) {
        for (std::size_t i : index.inNumberOrder) out.push_back(index.inFileOrder[i].number);
    } else {
        for (const vx::LayerEntry& e : index.inFileOrder) out.push_back(e.number);
    }
    return out;
}

TEST(LayerIndex, FileOrderAndNumberOrder) {
    Loaded o(form("LWO2", {layr(2, "c"), pnts({{0, 0, 0}}), layr(0, "a"), layr(1, "b"), layr(0, "dup")}));
    EXPECT_EQ(o.context.groupBaseName(), "ship");
    const vx::LayerIndex& index = vx::layerIndex(o.context);
    EXPECT_EQ(numbers(index, false), (std::vector<int>{3, 1, 2, 1}));
    // In number order a shared number is listed once, at its first layer.
    EXPECT_EQ(numbers(index, true), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(vx::findLayer(index, 1)->name, "a");
    EXPECT_EQ(numbers(vx::indexLayers(o.file), true),
              numbers(index, true));  // built once, the same as a fresh index
}

TEST(LayerIndex, GapsInTheNumberingAreSkipped) {
    Loaded o(form("LWO2", {layr(5, "f"), layr(0, "a"), layr(65535, "last")}));
    const vx::LayerIndex index = vx::indexLayers(o.file);
    EXPECT_EQ(numbers(index, true), (std::vector<int>{1, 6, 65536}));
    EXPECT_EQ(vx::findLayer(index, 2), nullptr);
    EXPECT_EQ(vx::findLayer(index, 65537), nullptr);
}

TEST(LayerIndex, ChunksStayInsideTheirLayerAndMatchTheType) {
    Loaded o(form("LWO2", {layr(0, "a"), chunk("POLS", Data().raw("PTCH")), chunk("POLS", Data().raw("FACE")),
                           layr(1, "b"), chunk("PTAG", Data().raw("SURF")), pnts({{4, 5, 6}, {7, 8, 9}})}));
    const vx::LayerIndex index = vx::indexLayers(o.file);
    ASSERT_EQ(index.inFileOrder.size(), 2u);
    const vx::LayerEntry& a = index.inFileOrder[0];
    const vx::LayerEntry& b = index.inFileOrder[1];
    std::optional<vx::Chunk> face = vx::findInLayer(o.file, a, makeId("POLS"), makeId("FACE"));
    ASSERT_TRUE(face);
    EXPECT_EQ(vx::peekU4(o.file.data(*face), 0), makeId("FACE"));
    EXPECT_FALSE(vx::findInLayer(o.file, a, makeId("PTAG")));
    EXPECT_FALSE(vx::findInLayer(o.file, a, makeId("PNTS")));
    EXPECT_TRUE(vx::findInLayer(o.file, b, makeId("PTAG"), makeId("SURF")));
    std::optional<vx::Chunk> points = vx::findInLayer(o.file, b, makeId("PNTS"));
    ASSERT_TRUE(points);
    EXPECT_EQ(points->size, 24u);
}

TEST(LayerIndex, ReadsNameAndOptionalParent) {
    Loaded o(form("LWO2", {layr(3, "Arm", 1, 2, 3, 1, 7u), layr(4, "Odd"), layr(5, "x", 0, 0, 0, 0, 0xFFFFu),
                           chunk("LAYR", Data().u2(6))}));
    const std::vector<vx::LayerEntry> headers = vx::indexLayers(o.file).inFileOrder;
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[0].number, 4);
    EXPECT_TRUE(headers[0].hidden());
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
