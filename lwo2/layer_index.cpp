#include "lwo2/layer_index.h"

namespace vx {

LayerEntry readLayerHeader(const ChunkFile& file, const Chunk& layr) {
    LayerEntry h;
    h.layr = layr;
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

LayerIndex indexLayers(const ChunkFile& file) {
    LayerIndex index;
    std::vector<LayerEntry>& layers = index.inFileOrder;
    std::size_t at = kFirstChunk;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id == makeId("LAYR")) {
            if (!layers.empty()) layers.back().end = c.header(8);
            layers.push_back(readLayerHeader(file, c));
        }
        at = c.end();
        return true;
    });
    if (!layers.empty()) layers.back().end = at;

    index.inNumberOrder.resize(layers.size());
    for (std::size_t i = 0; i < layers.size(); ++i) index.inNumberOrder[i] = i;
    // Stable, so that of layers sharing a number the first in the file comes first.
    std::stable_sort(index.inNumberOrder.begin(), index.inNumberOrder.end(),
                     [&](std::size_t a, std::size_t b) { return layers[a].number < layers[b].number; });
    const auto repeats = std::unique(index.inNumberOrder.begin(), index.inNumberOrder.end(),
                                     [&](std::size_t a, std::size_t b) { return layers[a].number == layers[b].number; });
    index.inNumberOrder.erase(repeats, index.inNumberOrder.end());
    return index;
}

const LayerEntry* findLayer(const LayerIndex& index, int number) {
    const std::vector<LayerEntry>& layers = index.inFileOrder;
    const auto found = std::lower_bound(index.inNumberOrder.begin(), index.inNumberOrder.end(), number,
                                        [&](std::size_t i, int n) { return layers[i].number < n; });
    if (found == index.inNumberOrder.end() || layers[*found].number != number) return nullptr;
    return &layers[*found];
}

std::span<std::uint8_t> layerPivotBytes(ChunkFile& file, const LayerEntry& layer) {
    std::span<std::uint8_t> data = file.mutableData(layer.layr);
    if (data.size() <= 4) return {};
    return data.subspan(4, std::min<std::size_t>(12, data.size() - 4));
}

std::optional<Chunk> findInLayer(const ChunkFile& file, const LayerEntry& layer, ChunkId id, ChunkId type) {
    std::optional<Chunk> found;
    forEachInLayer(file, layer, [&](const Chunk& c) {
        if (c.id != id || (type != 0 && (c.size < 4 || peekU4(file.data(c), 0) != type))) return true;
        found = c;
        return false;
    });
    return found;
}

}  // namespace vx
