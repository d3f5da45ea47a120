#include "lwo2/layer_geometry.h"


#include "core/identifier.h"
#include "core/mdl_text.h"
#include "core/number_format.h"
#include "core/surface_blocks.h"
#include "lwo2/surface_look_lwo2.h"
#include "lwo2/surface_text.h"

namespace vx {

void GeometryWriter::write(const ConversionJob& job, Lwo2Context& context, OutputFile& out,
                           const LayerEntry& layer, const LayerChunks& chunks, float& extent,
                           ModelSummary& summary) {
    ChunkFile& file = context.file;
    const std::size_t pointCount = chunks.points.size / 12;
    decodePoints(file.mutableData(chunks.points), pointCount, job.modelType, extent);
    if (context.surfaces.empty()) return;

    readPolygons(file, chunks, pointCount);
    groupBySurface(context);
    points_.reset(pointCount);
    uvMap_ = 0;
    const std::uint8_t* points = file.bytes.data() + chunks.points.offset;
    for (std::size_t s = 0; s < context.surfaces.size() && !out.failed(); ++s) {
        if (surfaceStart_[s] == surfaceStart_[s + 1]) continue;  // no polygon of the layer uses it
        writeSurface(job, context, layer, context.surfaces[s], out, points, pointCount, surfaceStart_[s],
                     surfaceStart_[s + 1], summary);
    }
}

// Reads the FACE polygons and, in step with them, the PTAG entries: each
// polygon takes the next entry, and once the entries run out the rest take
// tag 0. Lines (two vertices) and empty polygons are not converted, and a
// polygon naming a point beyond the point list is dropped; both still use
// up their entry.
void GeometryWriter::readPolygons(const ChunkFile& file, const LayerChunks& chunks, std::size_t pointCount) {
    indices_.clear();
    polygons_.clear();
    tags_.clear();
    ByteReader pols = file.reader(chunks.polygons);
    ByteReader ptag = file.reader(chunks.tags);
    pols.seek(4);
    ptag.seek(4);
    while (!pols.atEnd()) {
        const std::uint32_t count = pols.u2();
        const std::size_t first = indices_.size();
        bool inside = true;
        for (std::uint32_t i = 0; i < count && pols.ok(); ++i) {
            const std::uint32_t index = pols.vx();
            inside = inside && index < pointCount;
            indices_.push_back(index);
        }
        if (!pols.ok()) {  // the polygon runs past the chunk
            indices_.resize(first);
            break;
        }
        std::uint32_t tag = 0;
        if (ptag.ok()) {
            ptag.vx();  // the polygon number: entries are taken in order
            tag = ptag.u2();
            if (!ptag.ok()) tag = 0;
        }
        if (!inside || count == 0 || count == 2) {
            indices_.resize(first);
            continue;
        }
        polygons_.push_back({static_cast<std::uint32_t>(first), count});
        tags_.push_back(tag);
    }
}

// Buckets the layer's polygons by surface in one pass (a counting sort), in
// file order within each surface. A polygon whose tag names several SURF
// chunks (two surfaces of the same name) goes to each of them.
void GeometryWriter::groupBySurface(const Lwo2Context& context) {
    const std::size_t surfaceCount = context.surfaces.size();
    if (!tagMapBuilt_) {
        tagMapBuilt_ = true;
        for (std::size_t s = 0; s < surfaceCount; ++s) {
            const Lwo2Surface& surface = context.surfaces[s];
            // The first two slots are always compared; the others up to the first unused one.
            for (std::size_t i = 0; i < Lwo2Surface::kTagSlots; ++i) {
                const int tag = surface.tagIndices[i];
                if (tag < 0) {
                    if (i >= 2) break;
                    continue;
                }
                if (surfacesOfTag_.size() <= std::size_t(tag)) surfacesOfTag_.resize(std::size_t(tag) + 1);
                surfacesOfTag_[tag].push_back(static_cast<std::uint32_t>(s));
            }
        }
    }
    surfaceStart_.assign(surfaceCount + 1, 0);
    for (std::uint32_t tag : tags_) {
        if (tag >= surfacesOfTag_.size()) continue;
        for (std::uint32_t s : surfacesOfTag_[tag]) ++surfaceStart_[s + 1];
    }
    for (std::size_t s = 0; s < surfaceCount; ++s) surfaceStart_[s + 1] += surfaceStart_[s];
    bySurface_.resize(surfaceStart_[surfaceCount]);
    std::vector<std::uint32_t>& next = fill_;
    next.assign(surfaceStart_.begin(), surfaceStart_.end() - 1);
    for (std::size_t p = 0; p < tags_.size(); ++p) {
        if (tags_[p] >= surfacesOfTag_.size()) continue;
        for (std::uint32_t s : surfacesOfTag_[tags_[p]]) bySurface_[next[s]++] = static_cast<std::uint32_t>(p);
    }
}

namespace {

// The UV map a surface's textures lie by: the one the VMAP of an LWO2
// surface's first texture block names, whatever the block is; for LWO3,
// whose blocks are nested in the node graph, that of the look's first
// texture.
std::optional<std::string_view> textureMapName(const Lwo2Context& context, const Lwo2Surface& surface,
                                               const SurfaceLook& look) {
    if (surface.fields == SizeField::U4) {
        if (look.textures.empty() || look.textures.front().uvMap.empty()) return std::nullopt;
        return look.textures.front().uvMap;
    }
    const ChunkFile& file = context.file;
    std::optional<Chunk> blok = findSurfaceField(context, surface, makeId("BLOK"));
    if (!blok) return std::nullopt;
    std::optional<Chunk> vmapName = findSubChunk(file.all(), blok->offset, blok->size, makeId("VMAP"));
    if (!vmapName) return std::nullopt;
    return file.reader(*vmapName).cstring();
}

}  // namespace

// Loads the surface's UV map into u_, v_: the TXUV map of the layer named
// `wanted`. Points the map does not list get 0, 0; entries for points beyond
// the list are skipped, and an entry cut off by the end of the chunk ends the
// map.
bool GeometryWriter::loadTextureMap(const Lwo2Context& context, const LayerEntry& layer, std::string_view wanted,
                                    std::size_t pointCount) {
    const ChunkFile& file = context.file;

    std::optional<Chunk> map;
    forEachInLayer(file, layer, [&](const Chunk& c) {
        if (c.id != makeId("VMAP")) return true;
        ByteReader r = file.reader(c);
        if (r.u4() != makeId("TXUV")) return true;
        r.u2();  // dimension
        if (!r.ok() || r.evenString() != wanted) return true;
        map = c;
        return false;
    });
    if (!map) return false;
    if (uvMap_ == map->offset) return true;

    u_.assign(pointCount, 0.0f);
    v_.assign(pointCount, 0.0f);
    ByteReader r = file.reader(*map);
    r.skip(6);
    r.evenString();
    while (!r.atEnd()) {
        const std::uint32_t index = r.vx();
        const float u = r.f4(), v = r.f4();
        if (!r.ok()) break;
        if (index < pointCount) {
            u_[index] = u;
            v_[index] = v;
        }
    }
    uvMap_ = map->offset;
    return true;
}

void GeometryWriter::writeSurface(const ConversionJob& job, Lwo2Context& context, const LayerEntry& layer,
                                  Lwo2Surface& surface, OutputFile& out, const std::uint8_t* points,
                                  std::size_t pointCount, std::size_t first, std::size_t last,
                                  ModelSummary& summary) {
    const SurfacePolygons polygons{*this, first, last};
    const BlockCounts counts = markSurfacePoints(points_, polygons);

    std::string& text = out.buffer();
    text += "# Surface: ";
    text += singleLine(surface.name);
    text += '\n';
    if (std::optional<std::string_view> comment = surfaceComment(context, surface)) {
        text += "# Surface comment: ";
        text += singleLine(*comment);
        text += '\n';
    }
    const SurfaceLook& look = looks_[&surface - context.surfaces.data()];
    const std::string attributes = attributeText(look, layer.number, job.allImageFormats, summary);
    PointUv uv;
    if (counts.meshPolygons > 0) {
        std::optional<std::string_view> map = textureMapName(context, surface, look);
        if (map && loadTextureMap(context, layer, *map, pointCount)) uv = {u_.data(), v_.data()};
    }
    writeSurfaceBlocks(out, points_, polygons, counts, attributes, points, uv);
}

}  // namespace vx
