#include "core/chunk_file.h"

#include <gtest/gtest.h>

#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/lwo3_builder.h"
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

// Data that is nowhere zero, so that a byte left unread shows.
Data filled(std::size_t n, unsigned seed) {
    Data d;
    d.bytes.resize(n);
    for (std::size_t i = 0; i < n; ++i) d.bytes[i] = static_cast<std::uint8_t>((seed + 7 * i) | 1);
    return d;
}

bool isGeometry(vx::ChunkId id) {
    return id == makeId("PNTS") || id == makeId("POLS") || id == makeId("PTAG") || id == makeId("VMAP") ||
           id == makeId("VMAD");
}

// A script-only run reads every chunk but the geometry; what it reads is
// byte for byte the file, the geometry's data is zeros and so is whatever lies
// past the end of the walk (but the header that ended it); an LWOB (always
// converted) or a bad file is read and judged as a whole load would be.
TEST(ChunkFileLoad, WithoutGeometryReadsAllButTheGeometry) {
    vxtest::ScratchDir dir;
    const std::vector<vxtest::Data> chunks = {
        chunk("TAGS", Data().name("Hull")),  chunk("LAYR", Data().u2(0).u2(0).point(1, 2, 3).name("Dish@Y")),
        chunk("PNTS", Data().point(4, 5, 6)), chunk("POLS", Data().raw("FACE").u2(1).u2(0)),
        chunk("PTAG", Data().raw("SURF").u2(0).u2(0)), chunk("VMAP", Data().raw("TXUV").u2(2).name("UV")),
        chunk("SURF", Data().name("Hull").name("")), Data().raw("PNTS").u4(1000).point(7, 8, 9),  // runs past the end
    };
    // Large enough that the file is read ahead in several blocks: headers and
    // data cut at a block's end, geometry within a block and far beyond one,
    // and chunks longer than any block.
    std::vector<vxtest::Data> large = {chunk("TAGS", Data().name("Hull")), chunk("PNTS", filled(100'000, 1))};
    for (unsigned i = 0; i < 30'000; ++i) large.push_back(chunk(i % 3 ? "DESC" : "PTAG", filled(i % 29, i)));
    for (auto c : {chunk("SURF", filled(600'000, 2)), chunk("VMAD", filled(700'000, 3)), chunk("CLIP", filled(301, 4)),
                   Data().raw("LAYR").u4(0x7FFFFFFF).add(filled(40, 5))})
        large.push_back(c);
    // Chunks past the form's declared size are walked too, up to the last
    // whole header before the file's last eight bytes.
    std::vector<std::uint8_t> trailing = form("LWO2", {chunk("TAGS", Data().name("Hull"))});
    for (const Data& c : {chunk("LAYR", filled(20, 6)), chunk("POLS", filled(30, 7)), chunk("CLIP", filled(9, 8)),
                          Data().raw("DESC").u4(0)})
        trailing.insert(trailing.end(), c.bytes.begin(), c.bytes.end());
    std::vector<std::uint8_t> cutHeader = trailing;
    cutHeader.resize(cutHeader.size() - 3);
    // LWO3 keeps the same top-level geometry chunks; its nested FORMs are read whole.
    std::vector<vxtest::Data> lwo3 = chunks;
    lwo3.insert(lwo3.end() - 1, vxtest::lwo3Surface("Hull", chunk("SMAN", Data().f4(1.5f))));

    for (const auto& bytes : {form("LWO2", chunks), form("LWO2", large), trailing, cutHeader, form("LWO3", lwo3),
                              form("LWOB", {chunk("PNTS", Data().point(1, 2, 3))})}) {
        const std::string path = dir.path("ship.lwo");
        vxtest::writeFile(path, bytes);
        vxtest::RecordingSink sink;
        ChunkFile whole, partial;
        ASSERT_TRUE(whole.load(path, sink));
        ASSERT_TRUE(partial.load(path, sink, vx::LoadScope::WithoutGeometry));
        ASSERT_EQ(partial.bytes.size(), bytes.size());
        std::vector<std::uint8_t> expected = bytes;
        if (whole.formType() != makeId("LWOB")) {
            std::size_t next = vx::kFirstChunk;
            vx::forEachChunk(whole, [&](const vx::Chunk& c) {
                if (isGeometry(c.id)) std::fill(expected.begin() + c.offset, expected.begin() + c.end(), 0);
                next = c.end();
                return true;
            });
            const std::size_t unread = next < vx::topLevelBound(whole) ? next + 8 : next;
            std::fill(expected.begin() + unread, expected.end(), 0);
        }
        EXPECT_TRUE(std::vector<std::uint8_t>(partial.bytes.begin(), partial.bytes.end()) == expected)
            << bytes.size() << " bytes";
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

#if !defined(__SANITIZE_ADDRESS__)
// What a load of `path` says in a child process allowed 1 GiB of address
// space: its error messages, "loaded", or "out of memory" when it asked for
// more. (The address sanitizer reserves far more address space than that.)
std::string loadWithLittleMemory(const std::string& path, vx::LoadScope scope) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const rlimit limit{rlim_t(1) << 30, rlim_t(1) << 30};
        std::string said = "no limit";
        if (::setrlimit(RLIMIT_AS, &limit) == 0) {
            try {
                vxtest::RecordingSink sink;
                ChunkFile file;
                said = file.load(path, sink, scope) ? "loaded" : "";
                for (const std::string& e : sink.errors()) said += e;
            } catch (const std::bad_alloc&) {
                said = "out of memory";
            }
        }
        const bool written = ::write(pipeEnds[1], said.data(), said.size()) == ssize_t(said.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, std::size_t(n));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed: " + said;
    return said;
}

// A file is judged by its header and length before it is read: one that
// cannot be an object is refused at once however long it is, and one that
// may be is read as before (here, more than the memory allowed). The files
// are sparse, so they take no disk.
TEST(ChunkFileLoad, FilesThatCannotBeObjectsAreRefusedUnread) {
    vxtest::ScratchDir dir;
    constexpr std::uint64_t kGiB = std::uint64_t(1) << 30;
    constexpr std::uint64_t kLongest = 8 + std::uint64_t(0xFFFFFFFF);  // a form size is 32 bits
    const char* badEof = "Bad EOF position, file may be corrupt.";
    const struct {
        const char* what;
        std::vector<std::uint8_t> header;
        std::uint64_t length;
        const char* said;
    } cases[] = {
        {"zeros", {}, 8 * kGiB, "Not a valid IFF file."},
        {"a small form", Data().raw("FORM").u4(4).raw("LWOB").bytes, 8 * kGiB, badEof},
        {"one byte past the longest form", Data().raw("FORM").u4(0xFFFFFFFF).raw("LWO2").bytes, kLongest + 1, badEof},
        {"a form longer than the file", Data().raw("FORM").u4(0xFFFFFFFF).raw("LWOB").bytes, 3 * kGiB, badEof},
        {"the longest form", Data().raw("FORM").u4(0xFFFFFFFF).raw("LWO2").bytes, kLongest, "out of memory"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.path("huge.lwo");
        vxtest::writeFile(path, c.header);
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(c.length)), 0);
        for (vx::LoadScope scope : {vx::LoadScope::Whole, vx::LoadScope::WithoutGeometry})
            EXPECT_EQ(loadWithLittleMemory(path, scope), c.said) << c.what;
    }
}
#endif

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

TEST(SubChunkLookups, WalkTheAreaAndStopAtOverlongSizes) {
    Data area = Data().add(sub("AAAA", Data().u2(1))).raw("BBBB").u2(200).u2(0);
    auto bytes = area.bytes;
    EXPECT_TRUE(vx::findSubChunk(bytes, 0, bytes.size(), makeId("AAAA")));
    EXPECT_FALSE(vx::findSubChunk(bytes, 0, bytes.size(), makeId("BBBB")));
    // The run's length bounds the walk even where the bytes go on.
    EXPECT_FALSE(vx::findSubChunk(bytes, 0, 7, makeId("AAAA")));
    EXPECT_FALSE(vx::findSubChunk(bytes, 100, 50, makeId("AAAA")));
}

}  // namespace
