#include "lwob/surface_attributes.h"

#include "core/number_format.h"
#include "lwob/surface_index.h"

namespace vx {

namespace {

// The U2 value of a surface field, when the field is there.
std::optional<std::uint16_t> fieldU2(const ChunkFile& file, const Chunk& surf, ChunkId id) {
    std::optional<Chunk> field = findLwobSurfaceField(file, surf, id);
    if (!field) return std::nullopt;
    return file.reader(*field).u2();
}

}  // namespace

std::string lwobSurfaceAttributes(const ChunkFile& file, const Chunk& surf) {
    std::optional<Chunk> colour = findLwobSurfaceField(file, surf, makeId("COLR"));
    if (!colour) return "\t\tFaceColor grey78\n";

    std::string text = "\t\tFaceColor %";
    ByteReader rgb = file.reader(*colour);
    for (int i = 0; i < 3; ++i) appendInt3(text, rgb.u1());
    text += '\n';

    if (auto flags = fieldU2(file, surf, makeId("FLAG"))) {
        if (!(*flags & 4)) text += "\t\tSmoothShading No\n";
        if (!(*flags & 256)) text += "\t\tBackfaceCullable Yes\n";
    }
    // Percentages are stored as 256ths.
    if (auto tran = fieldU2(file, surf, makeId("TRAN")); tran && *tran != 0) {
        text += "\t\tTranslucency ";
        appendFixed(text, *tran * 0.00390625, 6);
        text += '\n';
    }
    if (auto specular = fieldU2(file, surf, makeId("SPEC")); specular && *specular != 0) {
        text += "\t\tSpecularity ";
        appendFixed(text, *specular * 0.00390625, 6);
        text += '\n';
    }
    if (auto glos = fieldU2(file, surf, makeId("GLOS")); glos && *glos != 0) {
        text += "\t\tShininess ";
        appendInt(text, *glos > 128 ? 128 : *glos);
        text += '\n';
    }
    if (auto lumi = fieldU2(file, surf, makeId("LUMI")); lumi && *lumi > 128) {
        text += "\t\tFaceEmissionColor Yes\n";
    }
    return text;
}

}  // namespace vx
