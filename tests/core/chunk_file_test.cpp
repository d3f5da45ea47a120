#include "core/chunk_file.h"

#include <gtest/gtest.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vx::ChunkFile;
using vx::makeId;
using vxtest::chunk;
using vxtest::Data;
using vxtest::form;
using vxtest::sub;

ChunkFile loaded(std::vector<std::uint8_t> bytes, vxtest::RecordingSink& sink) {
    ChunkFile file;
    file.loadBytes(std::move(bytes), "/models/ship.lwo", sink);
    return file;
}

TEST(ChunkFileLoad, ReportsEachKindOfBadFile) {
    vxtest::ScratchDir dir;
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    auto good = form("LWOB", {chunk("PNTS", Data().point(1, 2, 3))});
    auto shortByOne = good;
    shortByOne.pop_back();
    const std::vector<Case> cases = {
        {{}, "Not a valid IFF file."},
        {{'F', 'O', 'R', 'M', 0, 0, 0, 0}, "Not a valid IFF file."},  // shorter than a header with its type
        {Data().raw("RIFF").u4(4).raw("WAVE").bytes, "Not a valid IFF file."},
        {shortByOne, "Bad EOF position, file may be corrupt."},
        {Data().raw("FORM").u4(0xFFFFFFFF).raw("LWOB").bytes, "Bad EOF position, file may be corrupt."},
    };
    for (const Case& c : cases) {
        vxtest::RecordingSink sink;
        const std::string path = dir.path("bad.lwo");
        vxtest::writeFile(path, c.bytes);
        ChunkFile file;
        EXPECT_FALSE(file.load(path, sink));
        EXPECT_FALSE(file.loaded);
        EXPECT_EQ(sink.errors(), std::vector<std::string>{c.message});
    }
    for (const std::string& path : {dir.path("missing.lwo"), dir.dir().string()}) {
        vxtest::RecordingSink sink;
        ChunkFile file;
        EXPECT_FALSE(file.load(path, sink));
        EXPECT_EQ(sink.errors(), std::vector<std::string>{"Can't open inputfile"});
    }
}

// A script-only run reads every chunk but the geometry; what it reads is
// byte for byte the file, the geometry's data is zeros, and an LWOB (always
// converted) or a bad file is read and judged as a whole load would be.
TEST(ChunkFileLoad, WithoutGeometryReadsAllButTheGeometry) {
    vxtest::ScratchDir dir;
    const std::vector<vxtest::Data> chunks = {
        chunk("TAGS", Data().name("Hull")),  chunk("LAYR", Data().u2(0).u2(0).point(1, 2, 3).name("Dish@Y")),
        chunk("PNTS", Data().point(4, 5, 6)), chunk("POLS", Data().raw("FACE").u2(1).u2(0)),
        chunk("PTAG", Data().raw("SURF").u2(0).u2(0)), chunk("VMAP", Data().raw("TXUV").u2(2).name("UV")),
        chunk("SURF", Data().name("Hull").name("")), Data().raw("PNTS").u4(1000).point(7, 8, 9),  // runs past the end
    };
    const auto lwo2 = form("LWO2", chunks);
    std::vector<std::uint8_t> lwob = form("LWOB", {chunk("PNTS", Data().point(1, 2, 3))});
    for (const auto& bytes : {lwo2, lwob}) {
        const std::string path = dir.path("ship.lwo");
        vxtest::writeFile(path, bytes);
        vxtest::RecordingSink sink;
        ChunkFile whole, partial;
        ASSERT_TRUE(whole.load(path, sink));
        ASSERT_TRUE(partial.load(path, sink, vx::LoadScope::WithoutGeometry));
        ASSERT_EQ(partial.bytes.size(), bytes.size());
        std::vector<std::uint8_t> expected = bytes;
        if (whole.formType() == makeId("LWO2")) {
            vx::forEachChunk(whole, [&](const vx::Chunk& c) {
                if (c.id == makeId("PNTS") || c.id == makeId("POLS") || c.id == makeId("PTAG") || c.id == makeId("VMAP"))
                    std::fill(expected.begin() + c.offset, expected.begin() + c.end(), 0);
                return true;
            });
            std::fill(expected.end() - 12, expected.end(), 0);  // the overlong chunk's data is never read
        }
        EXPECT_EQ(std::vector<std::uint8_t>(partial.bytes.begin(), partial.bytes.end()), expected);
        EXPECT_TRUE(sink.messages.empty());
    }
    vxtest::RecordingSink sink;
    auto shortByOne = form("LWO2", chunks);
    shortByOne.resize(shortByOne.size() - 1);
    vxtest::writeFile(dir.path("bad.lwo"), shortByOne);
    ChunkFile file;
    EXPECT_FALSE(file.load(dir.path("bad.lwo"), sink, vx::LoadScope::WithoutGeometry));
    EXPECT_EQ(sink.errors(), std::vector<std::string>{"Bad EOF position, file may be corrupt."});
}

TEST(ChunkFileLoad, AcceptsTrailingBytesAndNamesTheObject) {
    vxtest::ScratchDir dir;
    auto bytes = form("LWO2", {chunk("TAGS", Data().name("Hull"))});
    bytes.push_back(0);
    bytes.push_back(0);
    const std::string path = dir.path("my-sat 2.final.lwo");
    vxtest::writeFile(path, bytes);
    vxtest::RecordingSink sink;
    ChunkFile file;
    ASSERT_TRUE(file.load(path, sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(file.fileName, "my-sat 2.final.lwo");
    EXPECT_EQ(file.objectName, "my_sat_2");
    EXPECT_EQ(file.formType(), makeId("LWO2"));
    EXPECT_EQ(file.contentLength, static_cast<std::int64_t>(bytes.size()) - 8);
    ASSERT_TRUE(file.tags);
    EXPECT_EQ(file.tags->size, 6u);
}

TEST(TopLevelLookups, StopAtTheWalkBoundAndAtOverlongChunks) {
    vxtest::RecordingSink sink;
    // A zero-length chunk that ends the file begins at file length - 8: not visited.
    ChunkFile endsAtEof = loaded(form("LWOB", {chunk("SRFS", Data().name("A")), chunk("PNTS", Data())}), sink);
    EXPECT_TRUE(vx::findChunk(endsAtEof, makeId("SRFS")));
    EXPECT_FALSE(vx::findChunk(endsAtEof, makeId("PNTS")));

    // A chunk that claims more bytes than the file holds ends the walk.
    Data overlong = Data().raw("POLS").u4(1000).u2(3);
    ChunkFile truncated = loaded(form("LWOB", {overlong, chunk("PNTS", Data().point(0, 0, 0))}), sink);
    EXPECT_FALSE(vx::findChunk(truncated, makeId("POLS")));
    EXPECT_FALSE(vx::findChunk(truncated, makeId("PNTS")));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(TopLevelLookups, FindClipMatchesTheLowSixteenBitsOfTheIndex) {
    vxtest::RecordingSink sink;
    ChunkFile file = loaded(form("LWO2", {chunk("CLIP", Data().u4(65537).add(sub("STIL", Data().name("a.png")))),
                                          chunk("CLIP", Data().u4(2))}),
                            sink);
    ASSERT_TRUE(vx::findClip(file, 1));
    EXPECT_EQ(vx::peekU4(file.data(*vx::findClip(file, 1)), 0), 65537u);
    EXPECT_TRUE(vx::findClip(file, 2));
    EXPECT_FALSE(vx::findClip(file, 3));
}

TEST(TopLevelLookups, FindSurfaceChunkComparesWholeNamesCaseSensitively) {
    vxtest::RecordingSink sink;
    ChunkFile file = loaded(form("LWOB", {chunk("SURF", Data().name("Hull").add(sub("COLR", Data().u4(0)))),
                                          chunk("SURF", Data().name("hull")), chunk("SURF", Data().raw("Hul"))}),
                            sink);
    auto hull = vx::findSurfaceChunk(file, "Hull");
    ASSERT_TRUE(hull);
    EXPECT_EQ(hull->size, 16u);
    EXPECT_TRUE(vx::findSurfaceChunk(file, "hull"));
    EXPECT_FALSE(vx::findSurfaceChunk(file, "Hul"));  // unterminated name at the chunk's end
    EXPECT_FALSE(vx::findSurfaceChunk(file, "HULL"));
}

TEST(SubChunkLookups, WalkTheAreaAndStopAtOverlongSizes) {
    vxtest::RecordingSink sink;
    Data surf = Data().raw("Odd").u1(0).u1(0).u1(0);  // three NULs after the name
    surf.add(sub("COLR", Data().u1(200).u1(100).u1(5).u1(0))).add(sub("FLAG", Data().u2(4)));
    ChunkFile file = loaded(form("LWOB", {chunk("SURF", surf)}), sink);
    auto s = vx::findChunk(file, makeId("SURF"));
    ASSERT_TRUE(s);
    auto flag = vx::findLwobSurfaceField(file, *s, makeId("FLAG"));
    ASSERT_TRUE(flag);
    EXPECT_EQ(file.reader(*flag).u2(), 4);
    EXPECT_FALSE(vx::findLwobSurfaceField(file, *s, makeId("GLOS")));

    Data area = Data().add(sub("AAAA", Data().u2(1))).raw("BBBB").u2(200).u2(0);
    auto bytes = area.bytes;
    EXPECT_TRUE(vx::findSubChunk(bytes, 0, bytes.size(), makeId("AAAA")));
    EXPECT_FALSE(vx::findSubChunk(bytes, 0, bytes.size(), makeId("BBBB")));
    // The run's length bounds the walk even where the bytes go on.
    EXPECT_FALSE(vx::findSubChunk(bytes, 0, 7, makeId("AAAA")));
    EXPECT_FALSE(vx::findSubChunk(bytes, 100, 50, makeId("AAAA")));
}

TEST(NextBlock, ReturnsEachBlockThenNoneThenStartsAgain) {
    Data area;
    area.add(sub("COLR", Data().f4(1).f4(1).f4(1).u2(0)))
        .add(sub("BLOK", Data().u2(1)))
        .add(sub("DIFF", Data().f4(1).u2(0)))
        .add(sub("BLOK", Data().u2(2)));
    auto bytes = area.bytes;
    vx::BlockCursor cursor;
    // The number each block holds, or -1 for none.
    auto next = [&] {
        auto block = vx::nextBlock(bytes, {0, bytes.size()}, cursor);
        return block ? int(vx::peekU2(bytes, block->offset)) : -1;
    };
    EXPECT_EQ((std::vector<int>{next(), next(), next(), next()}), (std::vector<int>{1, 2, -1, 1}));

    // A sub-chunk claiming more than the area holds ends the iteration.
    auto broken = Data().raw("BLOK").u2(100).u2(1).bytes;
    vx::BlockCursor c2;
    EXPECT_FALSE(vx::nextBlock(broken, {0, broken.size()}, c2));
    EXPECT_EQ(c2.remaining, 0);
}

}  // namespace
