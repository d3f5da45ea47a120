#pragma once
// The state of one LightWave 6+ conversion: the loaded object, its layer
// index, the surfaces and the layer groups. The dispatcher keeps one context
// for the whole run, so the model conversion and the articulation script
// share the layer groups and their decoded pivots.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chunk_file.h"
#include "lwo2/layer_group.h"
#include "lwo2/layer_index.h"
#include "lwo2/surface_chunks.h"

namespace vx {

// One surface of the object: a SURF chunk in LWO2, a FORM SURF in LWO3.
struct Lwo2Surface {
    static constexpr std::size_t kTagSlots = 10;
    // Indices of the TAGS strings equal to the surface's name, in TAGS order;
    // unused slots hold -2.
    std::array<int, kTagSlots> tagIndices{};
    Chunk chunk;                     // the SURF chunk (LWO2: its data starts with the name) or FORM
    std::size_t firstSubChunk = 0;   // offset in the data of the first sub-chunk
    std::string_view name;           // view into the loaded bytes
    SizeField fields = SizeField::U2;  // the size field of its sub-chunks: four bytes in LWO3

    // True when a polygon carrying this TAGS index belongs to the surface.
    bool usesTag(int tag) const;
    // The sub-chunk area (past the two names, up to the end of the SURF data).
    SubChunkArea area() const;
};

struct Lwo2Context {
    explicit Lwo2Context(ChunkFile& object);

    ChunkFile& file;
    // The object's name, used in layer group names (read from the file, so a
    // context made before the object was loaded still names groups right).
    const std::string& groupBaseName() const { return file.objectName; }

    // Built on first use by layerIndex(); the model and the script of one
    // run share it.
    std::optional<LayerIndex> layers;

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

// The object's layers, indexed by the first call.
const LayerIndex& layerIndex(Lwo2Context& context);

// Fills the surface list from the SURF chunks (LWO3: the FORM SURFs), once
// per conversion.
void buildSurfaceList(Lwo2Context& context);

// The first sub-chunk with `id` in the surface's sub-chunk area.
std::optional<Chunk> findSurfaceField(const Lwo2Context& context, const Lwo2Surface& surface, ChunkId id);

}  // namespace vx
