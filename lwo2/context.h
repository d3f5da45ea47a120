#pragma once
// The state of one LightWave 6+ conversion: the loaded object, the layer
// cursor that every per-layer lookup depends on, the surfaces and the layer
// groups. The dispatcher keeps one context for the whole run, so the model
// conversion and the articulation script share the layer groups and their
// decoded pivots.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/chunk_file.h"
#include "lwo2/layer_group.h"
#include "lwo2/surface_chunks.h"

namespace vx {

// One SURF chunk of the object.
struct Lwo2Surface {
    static constexpr std::size_t kTagSlots = 10;
    // Indices of the TAGS strings equal to the surface's name, in TAGS order;
    // unused slots hold -2.
    std::array<int, kTagSlots> tagIndices{};
    Chunk chunk;                     // the SURF chunk; its data starts with the name
    std::size_t firstSubChunk = 0;   // offset in the data past the name and the source name
    std::string_view name;           // view into the loaded bytes

    // True when a polygon carrying this TAGS index belongs to the surface.
    bool usesTag(int tag) const;
    // The sub-chunk area (past the two names, up to the end of the SURF data).
    SubChunkArea area() const;
};

// A LAYR chunk and where its layer's chunks end (the next LAYR chunk, or
// where the top-level walk ends).
struct LayerEntry {
    Chunk layr;
    std::size_t end = 0;
    int number = 0;  // LAYR number + 1
};

struct Lwo2Context {
    explicit Lwo2Context(ChunkFile& object);

    ChunkFile& file;
    // The object's name, used in layer group names (read from the file, so a
    // context made before the object was loaded still names groups right).
    const std::string& groupBaseName() const { return file.objectName; }

    // Layer cursor: the current LAYR chunk and where its chunks end (the next
    // LAYR chunk, or where the top-level walk ends).
    std::optional<Chunk> currentLayer;
    std::size_t layerEnd = 0;
    int currentLayerNumber = 0;   // LAYR number + 1; 0 when no layer is current
    int highestLayerNumber = -1;  // -1 until the layers were counted
    std::size_t currentLayerIndex = 0;  // of the current layer in `layers`

    // The layers in file order and the first of each number, found by one walk
    // on first use: a scene line or the next layer in number order then costs
    // no walk over the whole object, however many layers and chunks it has.
    std::vector<LayerEntry> layers;
    std::map<int, std::size_t> firstLayerByNumber;
    bool layersIndexed = false;

    std::vector<Lwo2Surface> surfaces;
    bool surfacesBuilt = false;

    // Layer groups in creation order, keyed by layer number. A deque keeps
    // references to groups valid while new ones are added.
    std::deque<LayerGroup> parentGroups;
    std::deque<LayerGroup> includeGroups;
    std::map<int, std::size_t> parentIndex;
    std::map<int, std::size_t> includeIndex;
    std::size_t groupLinks = 0;  // Refers between groups recorded by linkGroups()
};

// Layer walks. Each sets the cursor (current layer, layer end, current layer
// number) as a side effect and returns the LAYR chunk, or none. A walk in
// number order counts the layers on its first call (highestLayerNumber -1)
// and then goes on from the current layer number; set highestLayerNumber
// back to -1 and reset the cursor to start it again.
std::optional<Chunk> nextLayerInFile(Lwo2Context& context);
std::optional<Chunk> findLayerByNumber(Lwo2Context& context, int number);
std::optional<Chunk> nextLayerByNumber(Lwo2Context& context);
// Forgets the current layer so that the next walk starts from the first.
void resetLayerCursor(Lwo2Context& context);

// The first chunk with `id` among the current layer's chunks (from its LAYR
// chunk to the layer end) whose first four data bytes equal `type` when a
// type is given (non-zero); none without a current layer.
std::optional<Chunk> findInLayer(const Lwo2Context& context, ChunkId id, ChunkId type = 0);

// Visits the current layer's chunks in file order; `visit` returns false to stop.
template <typename Visit>
void forEachInLayer(const Lwo2Context& context, Visit&& visit) {
    if (!context.currentLayer) return;
    const std::size_t bound = std::min(topLevelBound(context.file), context.layerEnd);
    for (std::size_t at = context.currentLayer->header(8);;) {
        std::optional<Chunk> c = chunkAt(context.file, at, bound);
        if (!c || !visit(*c)) return;
        at = c->end();
    }
}

// Fields of a LAYR chunk.
struct LayerHeader {
    int number = 0;            // LAYR number + 1
    std::uint16_t flags = 0;   // bit 0: hidden
    std::string_view name;     // raw name, view into the loaded bytes
    std::optional<int> parent; // LightWave parent's layer number + 1, when given
};
LayerHeader readLayerHeader(const ChunkFile& file, const Chunk& layr);
// The 12 bytes of the LAYR chunk's pivot (fewer when the chunk is short).
std::span<std::uint8_t> layerPivotBytes(ChunkFile& file, const Chunk& layr);

// Fills the surface list from the SURF chunks, once per conversion.
void buildSurfaceList(Lwo2Context& context);

// The first sub-chunk with `id` in the surface's sub-chunk area.
std::optional<Chunk> findSurfaceField(const Lwo2Context& context, const Lwo2Surface& surface, ChunkId id);

}  // namespace vx
