#include "lwo2/context.h"

#include <cstring>
#include <unordered_map>

namespace vx {

Lwo2Context::Lwo2Context(ChunkFile& object) : file(object) {}

bool Lwo2Surface::usesTag(int tag) const {
    if (tag == tagIndices[0] || tag == tagIndices[1]) return true;
    for (std::size_t i = 2; i < kTagSlots && tagIndices[i] >= 0; ++i) {
        if (tag == tagIndices[i]) return true;
    }
    return false;
}

SubChunkArea Lwo2Surface::area() const {
    if (firstSubChunk >= chunk.size) return {chunk.end(), 0};
    return {chunk.offset + firstSubChunk, chunk.size - firstSubChunk};
}

namespace {

const std::vector<LayerEntry>& layerIndex(Lwo2Context& context) {
    if (context.layersIndexed) return context.layers;
    context.layersIndexed = true;
    std::size_t at = kFirstChunk;
    forEachChunk(context.file, [&](const Chunk& c) {
        if (c.id == makeId("LAYR")) {
            if (!context.layers.empty()) context.layers.back().end = c.header(8);
            const int number = int(peekU2(context.file.data(c), 0)) + 1;
            context.firstLayerByNumber.try_emplace(number, context.layers.size());
            context.layers.push_back({c, 0, number});
        }
        at = c.end();
        return true;
    });
    if (!context.layers.empty()) context.layers.back().end = at;
    return context.layers;
}

Chunk makeCurrent(Lwo2Context& context, std::size_t index) {
    const LayerEntry& entry = context.layers[index];
    context.currentLayer = entry.layr;
    context.layerEnd = entry.end;
    context.currentLayerNumber = entry.number;
    context.currentLayerIndex = index;
    return entry.layr;
}

}  // namespace

void resetLayerCursor(Lwo2Context& context) {
    context.currentLayer.reset();
    context.layerEnd = 0;
    context.currentLayerNumber = 0;
}

std::optional<Chunk> nextLayerInFile(Lwo2Context& context) {
    context.currentLayerNumber = 0;
    const std::size_t next = context.currentLayer ? context.currentLayerIndex + 1 : 0;
    if (next >= layerIndex(context).size()) return std::nullopt;
    return makeCurrent(context, next);
}

std::optional<Chunk> findLayerByNumber(Lwo2Context& context, int number) {
    resetLayerCursor(context);
    layerIndex(context);
    const auto found = context.firstLayerByNumber.find(number);
    if (found == context.firstLayerByNumber.end()) return std::nullopt;
    return makeCurrent(context, found->second);
}

std::optional<Chunk> nextLayerByNumber(Lwo2Context& context) {
    layerIndex(context);
    const std::map<int, std::size_t>& numbers = context.firstLayerByNumber;
    int from;
    if (context.highestLayerNumber < 0) {
        resetLayerCursor(context);
        context.highestLayerNumber = numbers.empty() ? 0 : numbers.rbegin()->first;
        if (numbers.empty()) return std::nullopt;
        from = numbers.begin()->first - 1;
    } else {
        from = context.currentLayerNumber;
        if (from == 0) return std::nullopt;  // the numbers are exhausted
    }
    const auto next = numbers.upper_bound(from);
    if (next == numbers.end() || next->first > context.highestLayerNumber) {
        resetLayerCursor(context);
        return std::nullopt;
    }
    return makeCurrent(context, next->second);
}

std::optional<Chunk> findInLayer(const Lwo2Context& context, ChunkId id, ChunkId type) {
    std::optional<Chunk> found;
    forEachInLayer(context, [&](const Chunk& c) {
        if (c.id != id || (type != 0 && (c.size < 4 || peekU4(context.file.data(c), 0) != type))) return true;
        found = c;
        return false;
    });
    return found;
}

LayerHeader readLayerHeader(const ChunkFile& file, const Chunk& layr) {
    LayerHeader h;
    Bytes data = file.data(layr);
    h.number = int(peekU2(data, 0)) + 1;
    h.flags = peekU2(data, 2);
    if (data.size() <= 16) return h;
    ByteReader r(data);
    r.seek(16);
    h.name = r.evenString();
    // The parent field is optional: older objects end the chunk after the name.
    if (r.ok() && r.remaining() >= 2) {
        const std::uint16_t parent = r.u2();
        if (parent != 0xFFFF) h.parent = int(parent) + 1;
    }
    return h;
}

std::span<std::uint8_t> layerPivotBytes(ChunkFile& file, const Chunk& layr) {
    std::span<std::uint8_t> data = file.mutableData(layr);
    if (data.size() <= 4) return {};
    return data.subspan(4, std::min<std::size_t>(12, data.size() - 4));
}

namespace {

std::string_view surfaceName(const ChunkFile& file, const Chunk& surf, std::size_t& firstSubChunk) {
    ByteReader r = file.reader(surf);
    std::string_view name = r.evenString();
    r.evenString();  // the source surface
    firstSubChunk = r.ok() ? r.offset() : surf.size;
    return name;
}

}  // namespace

void buildSurfaceList(Lwo2Context& context) {
    if (context.surfacesBuilt) return;
    context.surfacesBuilt = true;
    const ChunkFile& file = context.file;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("SURF")) return true;
        Lwo2Surface s;
        s.chunk = c;
        s.name = surfaceName(file, c, s.firstSubChunk);
        s.tagIndices.fill(-2);
        context.surfaces.push_back(s);
        return true;
    });
    if (!file.tags || context.surfaces.empty()) return;
    // One walk over TAGS: an empty string (a lone NUL) takes no index.
    std::unordered_map<std::string_view, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < context.surfaces.size(); ++i) byName[context.surfaces[i].name].push_back(i);
    std::vector<std::size_t> filled(context.surfaces.size(), 0);
    Bytes tags = file.data(*file.tags);
    ByteReader r(tags);
    int index = 0;
    while (!r.atEnd()) {
        if (tags[r.offset()] == 0) {
            r.skip(1);
            continue;
        }
        auto named = byName.find(r.cstring());
        if (named != byName.end()) {
            for (std::size_t i : named->second) {
                if (filled[i] < Lwo2Surface::kTagSlots) context.surfaces[i].tagIndices[filled[i]++] = index;
            }
        }
        ++index;
    }
}

std::optional<Chunk> findSurfaceField(const Lwo2Context& context, const Lwo2Surface& surface, ChunkId id) {
    const SubChunkArea a = surface.area();
    return findSubChunk(context.file.all(), a.start, a.length, id);
}

}  // namespace vx
