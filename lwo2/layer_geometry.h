#pragma once
// The geometry of one layer, grouped by surface: for every surface that the
// layer's polygons use, a Points block for its one-point polygons and a
// PolygonMesh block for its polygons of three or more vertices. All the
// per-polygon work of a layer happens here, so how polygons are grouped by
// surface can change without touching the rest of the conversion.

#include <cstdint>
#include <vector>

#include "core/job.h"
#include "core/output_file.h"
#include "core/surface_blocks.h"
#include "lwo2/context.h"
#include "lwo2/model_summary.h"
#include "lwo2/surface_look.h"

namespace vx {

// The chunks a layer's geometry is made of.
struct LayerChunks {
    Chunk points;    // PNTS
    Chunk polygons;  // POLS of type FACE
    Chunk tags;      // PTAG of type SURF
};

// Working arrays, kept from layer to layer so that a long object reuses them.
class GeometryWriter {
public:
    // `looks` holds the look of every surface of the context, in its order.
    explicit GeometryWriter(const std::vector<SurfaceLook>& looks) : looks_(looks) {}

    // Decodes the layer's points (raising `extent`) and writes the surface
    // blocks, adding the surfaces' summary lines to `summary`.
    void write(const ConversionJob& job, Lwo2Context& context, OutputFile& out, const LayerEntry& layer,
               const LayerChunks& chunks, float& extent, ModelSummary& summary);

private:
    struct Polygon {
        std::uint32_t firstIndex;  // into indices_
        std::uint32_t count;
    };

    // A surface's polygons, as the block writer reads them.
    struct SurfacePolygons {
        const GeometryWriter& w;
        std::size_t first, last;  // range in bySurface_
        std::size_t size() const { return last - first; }
        std::uint32_t count(std::size_t k) const { return w.polygons_[w.bySurface_[first + k]].count; }
        std::uint32_t vertex(std::size_t k, std::uint32_t i) const {
            return w.indices_[w.polygons_[w.bySurface_[first + k]].firstIndex + i];
        }
    };

    void readPolygons(const ChunkFile& file, const LayerChunks& chunks, std::size_t pointCount);
    void groupBySurface(const Lwo2Context& context);
    bool loadTextureMap(const Lwo2Context& context, const LayerEntry& layer, std::string_view wanted,
                        std::size_t pointCount);
    void writeSurface(const ConversionJob& job, Lwo2Context& context, const LayerEntry& layer, Lwo2Surface& surface,
                      OutputFile& out, const std::uint8_t* points, std::size_t pointCount, std::size_t first,
                      std::size_t last, ModelSummary& summary);

    const std::vector<SurfaceLook>& looks_;
    std::vector<std::uint32_t> indices_;     // point indices of all kept polygons
    std::vector<Polygon> polygons_;          // one-point and mesh polygons, file order
    std::vector<std::uint32_t> tags_;        // TAGS index per kept polygon
    std::vector<std::vector<std::uint32_t>> surfacesOfTag_;  // per TAGS index, the surfaces it names
    bool tagMapBuilt_ = false;
    std::vector<std::uint32_t> surfaceStart_;  // per surface, its range in bySurface_
    std::vector<std::uint32_t> bySurface_;     // polygon numbers grouped by surface, file order within
    std::vector<std::uint32_t> fill_;          // per surface, the next free place in bySurface_
    SurfacePoints points_;
    std::vector<float> u_, v_;                 // texture coordinates per point
    std::size_t uvMap_ = 0;                    // offset of the map loaded into u_, v_ (0: none)
};

}  // namespace vx
