#include "lwob/convert_lwob.h"

#include <string_view>
#include <vector>

#include "core/identifier.h"
#include "core/mdl_text.h"
#include "core/number_format.h"
#include "core/output_file.h"
#include "core/surface_blocks.h"
#include "lwob/surface_attributes.h"
#include "lwob/surface_index.h"

namespace vx {

namespace {

struct Polygon {
    std::size_t firstIndex;  // byte offset of its first point index
    std::uint16_t count;
    std::uint32_t surface;
};

// The polygon records of POLS: a vertex count, the point indices, a surface
// number. A negative surface number means the polygon belongs to surface -n
// and is followed by a count of detail polygons, which are ordinary records.
// Polygons naming a point beyond the point table are dropped.
std::vector<Polygon> readPolygons(const ChunkFile& file, const Chunk& pols, std::size_t pointCount) {
    std::vector<Polygon> polygons;
    Bytes data = file.data(pols);
    const std::size_t words = data.size() / 2;
    std::size_t w = 0;
    while (w < words) {
        const std::size_t n = loadU2(data.data() + 2 * w);
        if (words - w < n + 2) break;  // the record runs past the chunk
        const std::size_t first = 2 * (w + 1);
        const std::int16_t surface = static_cast<std::int16_t>(loadU2(data.data() + 2 * (w + 1 + n)));
        w += n + 2;
        if (surface < 0) ++w;  // the detail count: the detail polygons follow as records
        bool inside = true;
        for (std::size_t i = 0; i < n && inside; ++i) inside = loadU2(data.data() + first + 2 * i) < pointCount;
        if (!inside) continue;
        polygons.push_back({pols.offset + first, static_cast<std::uint16_t>(n),
                            static_cast<std::uint32_t>(surface < 0 ? -int(surface) : surface)});
    }
    return polygons;
}

// One surface's polygons, as the block writer reads them.
struct SurfacePolygons {
    const ChunkFile& file;
    const std::vector<const Polygon*>& polygons;
    std::size_t size() const { return polygons.size(); }
    std::uint32_t count(std::size_t k) const { return polygons[k]->count; }
    std::uint32_t vertex(std::size_t k, std::uint32_t i) const {
        return loadU2(file.bytes.data() + polygons[k]->firstIndex + 2 * i);
    }
};

// Writes one surface's comment and blocks; false when no polygon uses a point.
bool writeSurface(const ChunkFile& file, const SurfaceChunks& surfaces, std::string_view name,
                  const SurfacePolygons& polygons, const std::uint8_t* points, SurfacePoints& used,
                  OutputFile& out) {
    std::string& text = out.buffer();
    text += "# Surface: ";
    text += singleLine(name);
    text += '\n';
    const BlockCounts counts = markSurfacePoints(used, polygons);
    if (counts.empty()) return false;
    std::optional<Chunk> surf = findSurfaceChunk(surfaces, name);
    const std::string attributes = surf ? lwobSurfaceAttributes(file, *surf) : kLwobDefaultAttributes;
    writeSurfaceBlocks(out, used, polygons, counts, attributes, points);
    return true;
}

ConversionStatus convert(const ConversionJob& job, ChunkFile& file, const std::string& outputPath,
                         OutputFile& out, MessageSink& sink) {
    if (out.open(outputPath, job.files) != 0) {
        sink.error("Can't open output file.", outputPath, out.systemError());
        return 1;
    }
    const std::optional<Chunk> pnts = findChunk(file, makeId("PNTS"));
    const std::optional<Chunk> pols = findChunk(file, makeId("POLS"));
    if (!pnts) {
        sink.error("Can't find PNTS chunk.", job.inputPath);
        return 1;
    }
    if (!pols) {
        sink.error("Can't find POLS chunk.", job.inputPath);
        return 1;
    }
    const std::size_t pointCount = pnts->size / 12;
    const std::string outputName = makeIdentifier(outputPath);

    std::string& text = out.buffer();
    appendModelHeader(text, makeIdentifier(job.inputPath), job.modelType);
    text += "#\nComponent ";
    text += outputName;
    text += "\n    Root\n";

    float largest = 10.0f;
    decodePoints(file.mutableData(*pnts), pointCount, job.modelType, largest);

    const std::vector<std::string_view> names = lwobSurfaceNames(file);
    const std::vector<Polygon> polygons = readPolygons(file, *pols, pointCount);
    std::vector<std::vector<const Polygon*>> bySurface(names.size());
    for (const Polygon& p : polygons) {
        if (p.surface >= 1 && p.surface <= names.size()) bySurface[p.surface - 1].push_back(&p);
    }

    // Indexed once: an object may hold tens of thousands of surfaces among
    // far more chunks, and a walk per surface would cost their product.
    const SurfaceChunks surfaces = indexSurfaceChunks(file);
    const std::uint8_t* points = file.bytes.data() + pnts->offset;
    SurfacePoints used;
    used.reset(pointCount);
    for (std::size_t j = 0; j < names.size() && !out.failed(); ++j) {
        if (!writeSurface(file, surfaces, names[j], {file, bySurface[j]}, points, used, out)) {
            std::string warning = "Warning: Surface ";
            warning += names[j];
            warning += " not used.\n";
            sink.warning(warning, job.inputPath);
        }
    }

    text += "EndComponent\nBoundRadius ";
    appendGeneral(text, 1.5 * largest);
    text += "\n#\n";
    return finishModelFile(out, outputName, outputPath, sink);
}

}  // namespace

// Running out of memory is reported by the dispatcher; the temporary file
// goes with the OutputFile as the stack unwinds.
ConversionStatus convertLwob(const ConversionJob& job, ChunkFile& file, const std::string& outputPath,
                             MessageSink& sink) {
    OutputFile out;
    return convert(job, file, outputPath, out, sink);
}

}  // namespace vx
