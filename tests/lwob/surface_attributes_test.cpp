#include "lwob/surface_attributes.h"

#include <gtest/gtest.h>

#include "lwob/surface_index.h"

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"

namespace {

using vxtest::Data;
using vxtest::chunk;
using vxtest::form;
using vxtest::sub;

std::string attributesOf(const Data& fields, std::string_view name = "Hull") {
    vxtest::RecordingSink sink;
    vx::ChunkFile file;
    file.loadBytes(vxtest::form("LWOB", {vxtest::chunk("SURF", Data().name(name).add(fields))}), "x.lwo", sink);
    return vx::lwobSurfaceAttributes(file, *vx::findChunk(file, vx::makeId("SURF")));
}

Data colour(unsigned r, unsigned g, unsigned b) { return sub("COLR", Data().u1(r).u1(g).u1(b).u1(0)); }
Data u2Field(const char* id, unsigned v) { return sub(id, Data().u2(v)); }

TEST(LwobSurfaceAttributes, FieldsThresholdsAndFlagBits) {
    const std::string black = "\t\tFaceColor %000000000\n";
    const struct {
        Data fields;
        std::string expected;
    } cases[] = {
        // Without a colour only the grey line, whatever else is there.
        {Data().add(u2Field("FLAG", 0)).add(u2Field("GLOS", 64)).add(u2Field("LUMI", 200)), "\t\tFaceColor grey78\n"},
        // Every field, written in its own order whatever the order in the chunk.
        {Data().add(u2Field("LUMI", 129)).add(u2Field("GLOS", 1024)).add(u2Field("SPEC", 512)).add(u2Field("TRAN", 128))
             .add(u2Field("FLAG", 0)).add(colour(200, 100, 5)),
         "\t\tFaceColor %200100005\n\t\tSmoothShading No\n\t\tBackfaceCullable Yes\n\t\tTranslucency 0.500000\n"
         "\t\tSpecularity 2.000000\n\t\tShininess 128\n\t\tFaceEmissionColor Yes\n"},
        {Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 260)), black},
        {Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 4)), black + "\t\tBackfaceCullable Yes\n"},
        {Data().add(colour(0, 0, 0)).add(u2Field("FLAG", 256)), black + "\t\tSmoothShading No\n"},
        {Data().add(colour(0, 0, 0)), black},  // no FLAG, no lines
        {Data().add(colour(0, 0, 0)).add(u2Field("TRAN", 0)).add(u2Field("SPEC", 0)).add(u2Field("GLOS", 0))
             .add(u2Field("LUMI", 128)),
         black},
        {Data().add(colour(0, 0, 0)).add(u2Field("GLOS", 64)), black + "\t\tShininess 64\n"},
        // Fields are found past the name and however many NULs follow it (three here).
        {Data().u1(0).add(colour(0, 0, 0)).add(u2Field("FLAG", 4)), black + "\t\tBackfaceCullable Yes\n"},
        // A colour field cut short reads zeros; a field claiming more bytes
        // than the chunk holds is not found at all.
        {Data().add(sub("COLR", Data().u1(9))), "\t\tFaceColor %009000000\n"},
        {Data().raw("COLR").u2(400).u1(1), "\t\tFaceColor grey78\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(attributesOf(c.fields), c.expected);
    // Names of either parity find their fields.
    for (const char* name : {"Odd", "Even"})
        EXPECT_EQ(attributesOf(colour(1, 2, 3), name), "\t\tFaceColor %001002003\n") << name;
}

// Each name finds the first SURF chunk that bears it whole, compared case and
// all, within the FORM's declared size; a name is cut at its chunk's end.
TEST(SurfaceIndex, FindsTheFirstSurfaceOfEachName) {
    vxtest::RecordingSink sink;
    std::vector<std::uint8_t> bytes = form("LWOB", {
        chunk("SURF", Data().name("Hull").add(sub("COLR", Data().u4(0)))),
        chunk("SURF", Data().name("hull")),
        chunk("SURF", Data().name("Hull").name("later")),
        chunk("SURF", Data().raw("Fin")),
        Data().raw("s").u1(0).u1(0).u1(0).u4(0),  // an id that would end "Fin" as "Fins"
    });
    const Data pastTheForm = chunk("SURF", Data().name("Tail"));
    bytes.insert(bytes.end(), pastTheForm.bytes.begin(), pastTheForm.bytes.end());
    vx::ChunkFile file;
    file.loadBytes(bytes, "/models/ship.lwo", sink);
    const vx::SurfaceChunks index = vx::indexSurfaceChunks(file);
    const struct {
        const char* name;
        std::optional<std::uint32_t> size;
    } cases[] = {
        {"Hull", 16u}, {"hull", 6u}, {"HULL", std::nullopt}, {"Hul", std::nullopt}, {"Fin", std::nullopt},
        {"Fins", std::nullopt}, {"Tail", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases) {
        std::optional<vx::Chunk> found = vx::findSurfaceChunk(index, c.name);
        EXPECT_EQ(found ? std::optional<std::uint32_t>(found->size) : std::nullopt, c.size) << c.name;
    }
    EXPECT_TRUE(vx::findChunk(file, vx::makeId("SURF")));
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
