#include <gtest/gtest.h>

#include "lwo2/surface_chunks.h"
#include "lwo2/surface_look_lwo2.h"
#include "lwo2/surface_text.h"

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;

// One object with surfaces and clips; translations run as if in layer 2.
struct Surfaces {
    explicit Surfaces(const std::vector<Data>& chunks) {
        EXPECT_TRUE(file.loadBytes(form("LWO2", chunks), "ship.lwo", sink));
        vx::buildSurfaceList(context);
    }
    std::string translate(std::size_t i, bool allImageFormats = true) {
        return vx::attributeText(vx::readSurfaceLook(context, context.surfaces.at(i)), 2, allImageFormats, summary);
    }
    std::string imageName(std::uint32_t index, bool allImageFormats) {
        return vx::imageName(vx::clipImagePath(file, index), allImageFormats);
    }
    RecordingSink sink;
    vx::ChunkFile file;
    vx::Lwo2Context context{file};
    vx::ModelSummary summary;
};

using Entries = std::vector<std::string>;

std::string lines(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts) s += p;
    return s;
}

TEST(TranslateSurface, WithoutColourOnlyGrey) {
    Surfaces s({surf("S", Data().add(cmnt("ColorTranslate SolarPanel x")).add(fp4("LUMI", 0.5f))
                                 .add(imageBlock("COLR", 1))),
                clip(1, "hull.png")});
    EXPECT_EQ(s.translate(0), "\t\tFaceColor grey78\n");
    EXPECT_TRUE(s.summary.articulations.empty() && s.summary.texturesUsed.empty() &&
                s.summary.solarPanelGroups.empty());
}

TEST(TranslateSurface, DiffuseTruncatesAndLightingSwitches) {
    // 200/255 gives the level 200; 200 x 0.7 (single precision) is just below 140.
    Surfaces s({surf("A", Data().add(colr(200.0f / 255, 1, 0)).add(fp4("DIFF", 0.7f))),
                surf("B", Data().add(colr(1, 1, 1)).add(fp4("DIFF", 0.0f))),
                surf("C", Data().add(colr(1, 1, 1)).add(fp4("DIFF", 0.0f)).add(cmnt("ColorTranslate"))),
                surf("D", Data().add(colr(2.0f, -0.1f, 0)))});
    EXPECT_EQ(s.translate(0).substr(0, 24), "\t\tFaceColor %139178000\n\t");
    EXPECT_NE(s.translate(1).find("\t\tFaceColor %000000000\n\t\tNoDiffuseLighting\n"), std::string::npos);
    const std::string c = s.translate(2);
    EXPECT_EQ(c.find("NoDiffuseLighting"), std::string::npos);
    EXPECT_NE(c.find("\t\tArticulation L2_C\n\t\t\tredColorTranslate Red 0 0 255\n"
                     "\t\t\tgreenColorTranslate Green 0 0 255\n\t\t\tblueColorTranslate Blue 0 0 255\n"
                     "\t\tEndArticulation\n"),
              std::string::npos);
    EXPECT_EQ(s.summary.articulations, Entries{"L2_C - Red, Green, Blue"});
    // Levels are not clamped: above 1 gives more than 255, below 0 a negative level.
    EXPECT_EQ(s.translate(3).substr(0, 25), "\t\tFaceColor %510-26000\n\t\t");
}

TEST(TranslateSurface, EmissionShadingAndTranslucency) {
    Surfaces s({surf("L", Data().add(colr(1, 0.5f, 0)).add(fp4("DIFF", 0.5f)).add(fp4("LUMI", 1.0f))
                              .add(fp4("SMAN", 1.5f)).add(sub("SIDE", Data().u2(3))).add(fp4("TRAN", 2.0f))
                              .add(fp4("SPEC", 0.25f)).add(fp4("GLOS", 1.5f))),
                surf("M", Data().add(colr(1, 1, 1)).add(fp4("LUMI", 1.5f)).add(fp4("SMAN", -0.0f))
                              .add(fp4("TRAN", 0.01f)).add(fp4("SPEC", -1.0f))),
                surf("N", Data().add(colr(1, 1, 1)).add(fp4("LUMI", 0.0001f)).add(fp4("SMAN", -1.0f))
                              .add(sub("SIDE", Data().u2(1))))});
    EXPECT_EQ(s.translate(0), lines({"\t\tFaceColor %127064000\n", "\t\tFaceEmissionColor %255128000\n",
                                     "\t\tTranslucency 1.000000\n", "\t\tSpecularity 0.250000\n",
                                     "\t\tShininess 128\n"}));
    EXPECT_EQ(s.translate(1), lines({"\t\tFaceColor %255255255\n", "\t\tBackfaceCullable Yes\n",
                                     "\t\tTranslucency 0.010000\n", "\t\tSpecularity 0.000000\n",
                                     "\t\tShininess 51\n"}));
    EXPECT_EQ(s.translate(2), lines({"\t\tFaceColor %255255255\n", "\t\tSmoothShading No\n",
                                     "\t\tBackfaceCullable Yes\n", "\t\tSpecularity 0.000000\n",
                                     "\t\tShininess 51\n"}));
}

TEST(TranslateSurface, SolarPanelKeepsTheTextFromTheKeywordOnOneLine) {
    Surfaces s({surf("Panel", Data().add(colr(0, 0, 0)).add(cmnt("wing SolarPanel Array\nB"))),
                surf("Other", Data().add(colr(0, 0, 0)).add(cmnt("SolarPanel")))});
    EXPECT_NE(s.translate(0).find("\t\tFaceColor %000000000\n\t\tSolarPanel Array B\n"), std::string::npos);
    s.translate(0);
    s.translate(1);
    EXPECT_EQ(s.summary.solarPanelGroups, (Entries{"SolarPanel Array B", "SolarPanel Array B", "SolarPanel"}));
}

TEST(ImageName, LastPathComponentPrintableAndCut) {
    Surfaces s({clip(1, "C:\\maps\\hull plate.old.tga"), clip(65537, "other.png"), clip(2, std::string(50, 'a')),
                clip(3, "dir.v2/~{x}.png"), chunk("CLIP", Data().u4(4).u2(0))});
    EXPECT_EQ(s.imageName(1, false), "hullplate");
    EXPECT_EQ(s.imageName(1, true), "hullplate.old.tga");
    EXPECT_EQ(s.imageName(2, true), std::string(39, 'a'));
    EXPECT_EQ(s.imageName(3, false), "x");
    EXPECT_EQ(s.imageName(4, true), "");
    EXPECT_EQ(s.imageName(9, true), "");
    // A two-byte index matches on 16 bits; a four-byte one must match whole.
    EXPECT_EQ(s.imageName(65537, true), "other.png");
    EXPECT_EQ(s.imageName(0xFF0001, true), "");
}

TEST(Textures, BumpAloneAndBlocksWithoutImages) {
    Surfaces s({clip(1, "bump.tga"), clip(2, "mask.tga"), clip(0xFF0005, "far.png"),
                surf("B", Data().add(colr(1, 1, 1)).add(imageBlock("BUMP", 1))),
                surf("C", Data().add(colr(1, 1, 1)).add(imageBlock("BUMP", 1, fp4("TAMP", 2.5f)))
                              .add(imageBlock("TRAN", std::nullopt, wrap(3, 3)))
                              .add(imageBlock("COLR", 0xFF0005))),
                surf("D", Data().add(colr(1, 1, 1)).add(imageBlock("TRAN", 2))
                              .add(sub("BLOK", sub("PROC", Data().u2(0)))))});
    EXPECT_NE(s.translate(0, false).find("\t\tTexture\n\t\t\tRGB bump\n\t\t\tParm Bump\n\t\t\tParm BumpScale 1\n"
                                         "\t\t\t#Parm SpecularBump\n\t\tEndTexture\n"),
              std::string::npos);
    // The transparency block without an image still sets the clamps; the
    // four-byte image index is read whole.
    const std::string c = s.translate(1);
    EXPECT_NE(c.find("\t\tTexture\n\t\t\tRGB far.png\n\t\t\tParm AA\n\t\t\tParm Mipmap\n\t\t\tParm ClampS\n"
                     "\t\t\tParm ClampT\n\t\tEndTexture\n\t\tTexture\n\t\t\tRGB bump.tga\n\t\t\tParm Bump\n"
                     "\t\t\tParm BumpScale 2.5\n"),
              std::string::npos)
        << c;
    // A transparency image without a colour image is neither written nor listed.
    EXPECT_EQ(s.translate(2).find("Texture"), std::string::npos);
    EXPECT_EQ(s.summary.texturesUsed, (Entries{"bump", "far.png", "bump.tga"}));
}

// A look that no SURF chunk filled: images named by path alone, as a node
// graph gives them. The writer needs nothing else; an image used again is
// listed once.
TEST(AttributeText, WritesALookFilledByHand) {
    vx::SurfaceLook look;
    look.color = {{1.0f, 0.5f, 0.0f}};
    look.smoothingAngle = 1.0f;
    look.sidedness = 3;
    look.glossiness = 0.5f;
    using vx::TextureChannel;
    using vx::TextureImage;
    vx::SurfaceTexture color{.channel = TextureChannel::Color, .image = TextureImage{{}, "Images/hull.png"}};
    color.wrap = vx::TextureWrap{3, 1};
    color.pixelBlending = false;
    vx::SurfaceTexture mask{.channel = TextureChannel::Transparency, .image = TextureImage{{}, "C:maps/mask.tga"}};
    look.textures = {color, mask};
    vx::ModelSummary summary;
    EXPECT_EQ(vx::attributeText(look, 1, false, summary),
              lines({"\t\tFaceColor %255128000\n", "\t\tSpecularity 0.000000\n", "\t\tShininess 64\n",
                     "\t\tTexture\n\t\t\tRGB hull\n\t\t\tAlpha mask\n\t\t\tParm Mipmap\n\t\t\tParm ClampS\n",
                     "\t\tEndTexture\n"}));
    vx::attributeText(look, 2, false, summary);
    EXPECT_EQ(summary.texturesUsed, (Entries{"hull", "mask"}));
}

TEST(SurfaceChunks, FindClipMatchesTheLowSixteenBitsOfTheIndex) {
    vxtest::RecordingSink sink;
    vx::ChunkFile file;
    file.loadBytes(form("LWO2", {chunk("CLIP", Data().u4(65537).add(sub("STIL", Data().name("a.png")))),
                                          chunk("CLIP", Data().u4(2))}),
                   "/models/ship.lwo", sink);
    ASSERT_TRUE(vx::findClip(file, 1));
    EXPECT_EQ(vx::peekU4(file.data(*vx::findClip(file, 1)), 0), 65537u);
    EXPECT_TRUE(vx::findClip(file, 2));
    EXPECT_FALSE(vx::findClip(file, 3));
}


// Only BLOK sub-chunks are visited, in order; a sub-chunk claiming more than
// the area holds ends the walk.
TEST(SurfaceChunks, ForEachBlockVisitsTheBlocksInOrder) {
    using vxtest::sub;
    auto numbers = [](const std::vector<std::uint8_t>& bytes) {
        std::vector<int> seen;
        vx::forEachBlock(bytes, {0, bytes.size()}, [&](const vx::Chunk& block) {
            seen.push_back(vx::peekU2(bytes, block.offset));
            return true;
        });
        return seen;
    };
    Data area;
    area.add(sub("COLR", Data().f4(1).f4(1).f4(1).u2(0)))
        .add(sub("BLOK", Data().u2(1)))
        .add(sub("DIFF", Data().f4(1).u2(0)))
        .add(sub("BLOK", Data().u2(2)));
    EXPECT_EQ(numbers(area.bytes), (std::vector<int>{1, 2}));
    area.raw("BLOK").u2(100).u2(3);
    EXPECT_EQ(numbers(area.bytes), (std::vector<int>{1, 2}));
}

}  // namespace
