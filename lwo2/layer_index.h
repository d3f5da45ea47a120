#pragma once
// The layers of a LightWave 6+ object, found by one walk over its top-level
// chunks: each LAYR chunk with its header fields and the span of chunks that
// belong to it (up to the next LAYR chunk, or where the walk ends). The
// conversion, the scene reader and the pivot lookups all take the entry they
// work on; nothing walks the object again to find a layer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/chunk_file.h"

namespace vx {

struct LayerEntry {
    Chunk layr;
    std::size_t end = 0;        // where the layer's chunks end
    int number = 0;             // LAYR number + 1
    std::uint16_t flags = 0;    // bit 0: hidden
    std::string_view name;      // raw name, view into the loaded bytes
    std::optional<int> parent;  // LightWave parent's layer number + 1, when given

    bool hidden() const { return (flags & 1) != 0; }
};

struct LayerIndex {
    std::vector<LayerEntry> inFileOrder;
    // The first entry of each layer number, numbers ascending: a later layer
    // that repeats a number is reached only in file order.
    std::vector<std::size_t> inNumberOrder;
};

LayerIndex indexLayers(const ChunkFile& file);

// The first layer with `number`, or null.
const LayerEntry* findLayer(const LayerIndex& index, int number);

// Fields of one LAYR chunk; a short chunk leaves the missing ones at their defaults.
LayerEntry readLayerHeader(const ChunkFile& file, const Chunk& layr);

// The 12 bytes of the LAYR chunk's pivot (fewer when the chunk is short).
std::span<std::uint8_t> layerPivotBytes(ChunkFile& file, const LayerEntry& layer);

// Visits the layer's chunks in file order; `visit` returns false to stop.
template <typename Visit>
void forEachInLayer(const ChunkFile& file, const LayerEntry& layer, Visit&& visit) {
    const std::size_t bound = std::min(topLevelBound(file), layer.end);
    for (std::size_t at = layer.layr.header(8);;) {
        std::optional<Chunk> c = chunkAt(file, at, bound);
        if (!c || !visit(*c)) return;
        at = c->end();
    }
}

// The first of the layer's chunks with `id` whose first four data bytes
// equal `type` when a type is given (non-zero).
std::optional<Chunk> findInLayer(const ChunkFile& file, const LayerEntry& layer, ChunkId id, ChunkId type = 0);

}  // namespace vx
