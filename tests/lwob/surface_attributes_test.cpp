#include "lwob/surface_attributes.h"

#include <gtest/gtest.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::chunk;
using vxtest::Data;
using vxtest::sub;

std::string attributesOf(const Data& fields, std::string_view name = "Hull") {
    vxtest::RecordingSink sink;
    vx::ChunkFile file;
    file.loadBytes(vxtest::form("LWOB", {chunk("SURF", Data().name(name).add(fields))}), "x.lwo", sink);
    auto surf = vx::findChunk(file, vx::makeId("SURF"));
    return vx::lwobSurfaceAttributes(file, *surf);
}

Data colour(unsigned r, unsigned g, unsigned b) { return sub("COLR", Data().u1(r).u1(g).u1(b).u1(0)); }
Data u2Field(const char* id, unsigned v) { return sub(id, Data().u2(v)); }

TEST(LwobSurfaceAttributes, WithoutColourOnlyTheGreyLine) {
    EXPECT_EQ(attributesOf(Data().add(u2Field("FLAG", 0)).add(u2Field("GLOS", 64)).add(u2Field("LUMI", 200))),
              "\t\tFaceColor grey78\n");
}

TEST(LwobSurfaceAttributes, EveryFieldInItsOrder) {
    Data all = Data()
                   .add(u2Field("LUMI", 129))
                   .add(u2Field("GLOS", 1024))
                   .add(u2Field("SPEC", 512))
                   .add(u2Field("TRAN", 128))
                   .add(u2Field("FLAG", 0))
                   .add(colour(200, 100, 5));
    EXPECT_EQ(attributesOf(all),
              "\t\tFaceColor %200100005\n\t\tSmoothShading No\n\t\tBackfaceCullable Yes\n"
              "\t\tTranslucency 0.500000\n\t\tSpecularity 2.000000\n\t\tShininess 128\n"
              "\t\tFaceEmissionColor Yes\n");
}

TEST(LwobSurfaceAttributes, ThresholdsAndFlagBits) {
    const std::string face = "\t\tFaceColor %000000000\n";
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 260))), face);
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 4))), face + "\t\tBackfaceCullable Yes\n");
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 256))), face + "\t\tSmoothShading No\n");
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0))), face);  // no FLAG, no lines
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0)).add(u2Field("TRAN", 0)).add(u2Field("SPEC", 0))
                               .add(u2Field("GLOS", 0)).add(u2Field("LUMI", 128))),
              face);
    EXPECT_EQ(attributesOf(Data().add(colour(0, 0, 0)).add(u2Field("GLOS", 64))), face + "\t\tShininess 64\n");
}

TEST(LwobSurfaceAttributes, NamesOfEitherParityFindTheirFields) {
    for (const char* name : {"Odd", "Even"}) {
        EXPECT_EQ(attributesOf(Data().add(colour(1, 2, 3)), name), "\t\tFaceColor %001002003\n") << name;
    }
}

TEST(LwobSurfaceAttributes, ShortOrOverlongFieldsReadNothingOutside) {
    // A colour field cut short reads zeros; a field claiming more bytes than
    // the chunk holds is not found at all.
    EXPECT_EQ(attributesOf(Data().add(sub("COLR", Data().u1(9)))), "\t\tFaceColor %009000000\n");
    EXPECT_EQ(attributesOf(Data().raw("COLR").u2(400).u1(1)), "\t\tFaceColor grey78\n");
}

}  // namespace
