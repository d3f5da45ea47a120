#pragma once
// LightWave 6+ (LWO2) chunks for objects built in memory: layers, points,
// FACE polygons, surface tags, UV maps, clips and surfaces with image blocks.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/lwo_builder.h"

namespace vxtest {

struct UvEntry {
    std::uint32_t point;
    float u, v;
};

// LAYR: number (0-based as stored), flags (bit 0 hidden), pivot, name and,
// when given, the parent's stored number.
inline Data layr(unsigned number, std::string_view name, float px = 0, float py = 0, float pz = 0,
                 unsigned flags = 0, std::optional<unsigned> parent = std::nullopt) {
    Data d;
    d.u2(number).u2(flags).point(px, py, pz).name(name);
    if (parent) d.u2(*parent);
    return chunk("LAYR", d);
}

inline Data pnts(std::initializer_list<std::initializer_list<float>> points) {
    Data d;
    for (const auto& p : points) {
        auto it = p.begin();
        d.point(it[0], it[1], it[2]);
    }
    return chunk("PNTS", d);
}

inline Data facePols(const std::vector<std::vector<std::uint32_t>>& polygons) {
    Data d;
    d.raw("FACE");
    for (const auto& p : polygons) {
        d.u2(static_cast<unsigned>(p.size()));
        for (std::uint32_t i : p) d.vx(i);
    }
    return chunk("POLS", d);
}

// PTAG of type SURF: one entry per polygon, in order.
inline Data surfPtag(const std::vector<unsigned>& tags) {
    Data d;
    d.raw("SURF");
    for (std::size_t i = 0; i < tags.size(); ++i) d.vx(static_cast<std::uint32_t>(i)).u2(tags[i]);
    return chunk("PTAG", d);
}

inline Data tagsChunk(std::initializer_list<std::string_view> names) {
    Data d;
    for (std::string_view n : names) d.name(n);
    return chunk("TAGS", d);
}

inline Data txuv(std::string_view name, const std::vector<UvEntry>& entries) {
    Data d;
    d.raw("TXUV").u2(2).name(name);
    for (const UvEntry& e : entries) d.vx(e.point).f4(e.u).f4(e.v);
    return chunk("VMAP", d);
}

// CLIP holding a still image path.
inline Data clip(std::uint32_t index, std::string_view path) {
    return chunk("CLIP", Data().u4(index).add(sub("STIL", Data().name(path))));
}

// SURF: name, empty source name, sub-chunks.
inline Data surf(std::string_view name, const Data& subChunks) {
    return chunk("SURF", Data().name(name).name("").add(subChunks));
}

inline Data colr(float r, float g, float b) { return sub("COLR", Data().f4(r).f4(g).f4(b).u2(0)); }
inline Data fp4(std::string_view id, float v) { return sub(id, Data().f4(v).u2(0)); }
inline Data cmnt(std::string_view text) { return sub("CMNT", Data().name(text)); }

// An image texture block: IMAP header with its channel, then IMAG with the
// clip index and any further sub-chunks (WRAP, VMAP, AAST, PIXB, TAMP).
inline Data imageBlock(std::string_view channel, std::optional<std::uint32_t> image, const Data& more = Data()) {
    Data header = Data().name("\x80").add(sub("CHAN", Data().raw(channel)));
    Data block = sub("IMAP", header);
    if (image) block.add(sub("IMAG", Data().vx(*image)));
    block.add(more);
    return sub("BLOK", block);
}
inline Data wrap(unsigned width, unsigned height) { return sub("WRAP", Data().u2(width).u2(height)); }
inline Data uvName(std::string_view name) { return sub("VMAP", Data().name(name)); }

}  // namespace vxtest
