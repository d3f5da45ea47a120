// Damaged and hostile objects: every one converts to a complete model file
// whose lines all come from the converter, and nothing reads outside the
// loaded bytes (the sanitizer build runs these too).

#include <random>

#include <gtest/gtest.h>

#include "dispatch/run_job.h"
#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;

// A complete file: trailer last, components and Refer blocks balanced, and
// every line one of the converter's own forms (nothing taken from the object
// can start a line of its own).
void expectWellFormed(const std::string& mdl, const std::string& what) {
    ASSERT_GE(mdl.size(), 60u) << what;
    EXPECT_EQ(mdl.substr(mdl.size() - 60), "###########################################################\n") << what;
    int components = 0, refers = 0;
    std::size_t at = 0;
    while (at < mdl.size()) {
        std::size_t end = mdl.find('\n', at);
        ASSERT_NE(end, std::string::npos) << what;
        const std::string_view line(mdl.data() + at, end - at);
        for (char c : line) ASSERT_TRUE(c == '\t' || static_cast<unsigned char>(c) >= 0x20) << what;
        if (line.starts_with("Component ")) ++components;
        if (line == "EndComponent") --components;
        if (line == "\tRefer") ++refers;
        if (line == "\tEndRefer") --refers;
        EXPECT_TRUE(line.starts_with("#") || line.starts_with("\t") || line.starts_with("Component ") ||
                    line == "EndComponent" || line.starts_with("BoundRadius "))
            << what << ": " << line;
        at = end + 1;
    }
    EXPECT_EQ(components, 0) << what;
    EXPECT_EQ(refers, 0) << what;
}

std::vector<std::uint8_t> sample() {
    const Data block = imageBlock("COLR", 1, wrap(0, 0).add(uvName("UV")));
    return form("LWO2", {
        tagsChunk({"A", "B"}), clip(1, "dir/skin.png"),
        layr(0, "Body@R(Turn)-5_0_5o1_2_3iAe", 1, 2, 3),
        pnts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
        facePols({{0, 1, 2, 3}, {2}, {0, 2, 3}}), surfPtag({0, 1, 0}),
        txuv("UV", {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}}),
        layr(1, "Arm@i1p(See)e(x)Sx", 0, 1, 0, 0, 0u),
        pnts({{0, 1, 0}, {0, 2, 0}, {1, 2, 0}}), facePols({{0, 1, 2}}), surfPtag({1}),
        surf("A", Data().add(colr(1, 0, 0)).add(cmnt("SolarPanel X ColorTranslate")).add(block)),
        surf("B", Data().add(colr(0, 1, 0)).add(fp4("TRAN", 0.5f)).add(imageBlock("BUMP", 1))),
    });
}

// Every cut of the object, with the FORM size made to fit.
TEST(BadInput, TruncatedObjectsConvertCompletely) {
    const std::vector<std::uint8_t> whole = sample();
    for (std::size_t length = 12; length <= whole.size(); ++length) {
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const std::uint32_t formSize = static_cast<std::uint32_t>(length - 8);
        for (int i = 0; i < 4; ++i) cut[4 + i] = static_cast<std::uint8_t>(formSize >> (24 - 8 * i));
        lwo2test::Converted c = lwo2test::convert(cut);
        ASSERT_EQ(c.status, 0) << length;
        expectWellFormed(c.mdl, "cut at " + std::to_string(length));
    }
}

TEST(BadInput, CorruptedBytesNeverEscapeTheBuffer) {
    const std::vector<std::uint8_t> whole = sample();
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> position(12, whole.size() - 1);
    std::uniform_int_distribution<int> value(0, 255), count(1, 6);
    for (int round = 0; round < 1500; ++round) {
        std::vector<std::uint8_t> bytes = whole;
        for (int k = count(random); k > 0; --k) {
            const std::size_t at = position(random);
            // Sizes and counts are the interesting bytes: push them high often.
            bytes[at] = static_cast<std::uint8_t>(round % 3 == 0 ? 0xFF : value(random));
        }
        lwo2test::Converted c = lwo2test::convert(bytes, [&](vx::ConversionJob& job) {
            job.sortLayers = round % 2 == 0;
            job.modelType = static_cast<vx::ModelType>(round % 4);
        });
        ASSERT_EQ(c.status, 0) << round;
        expectWellFormed(c.mdl, "round " + std::to_string(round));
    }
}

TEST(BadInput, OverlongCountsIndicesAndNames) {
    const std::string longName(600, 'n');
    std::string noise = "Q@";
    for (int i = 0; i < 300; ++i) noise += "qwjkSA(((__--..";
    auto bytes = form("LWO2", {
        tagsChunk({"A"}),
        chunk("CLIP", Data().u4(1).u2(0)),  // too short to hold a path
        layr(0, longName + "@" + longName),
        pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
        // A polygon claiming 65535 vertices, then nothing.
        chunk("POLS", Data().raw("FACE").u2(3).u2(0).u2(1).u2(2).u2(65535).u2(1)),
        chunk("PTAG", Data().raw("SURF").u2(0).u2(65535).vx(0xFFFFFF).u2(0)),
        chunk("VMAP", Data().raw("TXUV").u2(2).name("UV").vx(0xFFFFFF).f4(1).f4(1).vx(1)),
        layr(1, noise), layr(2, "R(unterminated"), layr(3, "x@o1e40_-1e40_nan"),
        chunk("LAYR", Data().u2(4)),  // too short for flags and pivot
        // A surface whose sub-chunk claims more than the SURF holds, and one
        // whose name runs to the end of the chunk.
        chunk("SURF", Data().name("A").name("").raw("BLOK").u2(60000).raw("IMAP")),
        chunk("SURF", Data().raw("UNTERMINATED")),
    });
    lwo2test::Converted c = lwo2test::convert(bytes);
    ASSERT_EQ(c.status, 0);
    expectWellFormed(c.mdl, "overlong");
    EXPECT_NE(c.mdl.find("Component " + std::string(31, 'n') + "\n"), std::string::npos);
    // A tag of 65535 names no surface; the triangle took it, so nothing is written.
    EXPECT_EQ(c.mdl.find("# Surface: A"), std::string::npos);
    EXPECT_NE(c.mdl.find("Component Layer5\n"), std::string::npos);
}

TEST(Corpus, EveryObjectConvertsCompletelyWithEveryModelType) {
    const std::filesystem::path corpus = vxtest::corpusDir();
    if (corpus.empty() || !std::filesystem::exists(corpus / "lwo2")) GTEST_SKIP() << "no corpus";
    vxtest::ScratchDir dir;
    int converted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus / "lwo2")) {
        if (entry.path().extension() != ".lwo") continue;
        for (int type = 0; type < 4; ++type) {
            RecordingSink sink;
            vx::ConversionJob job;
            job.inputPath = entry.path().string();
            job.outputPath = dir.path("out.mdl");
            job.modelType = static_cast<vx::ModelType>(type);
            job.sortLayers = type % 2 == 0;
            ASSERT_EQ(vx::runJob(job, sink), 0) << entry.path();
            const std::string mdl = readText(job.outputPath);
            expectWellFormed(mdl, entry.path().string());
            EXPECT_NE(mdl.find("PolygonMesh"), std::string::npos) << entry.path();
            ++converted;
        }
    }
    EXPECT_GT(converted, 0);
}

}  // namespace
