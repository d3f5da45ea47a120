#include "lwob/convert_lwob.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/identifier.h"
#include "core/mdl_text.h"
#include "core/number_format.h"
#include "core/output_file.h"
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

// Surface names of SRFS: NUL-terminated strings, every NUL between them skipped.
std::vector<std::string_view> readSurfaceNames(const ChunkFile& file, const std::optional<Chunk>& srfs) {
    std::vector<std::string_view> names;
    if (!srfs) return names;
    ByteReader r = file.reader(*srfs);
    while (!r.atEnd()) {
        if (file.bytes[srfs->offset + r.offset()] == 0) {
            r.skip(1);
            continue;
        }
        names.push_back(r.cstring());
    }
    return names;
}

enum : std::uint8_t { kMesh = 1, kPointBlock = 2 };

class LwobWriter {
public:
    LwobWriter(const ChunkFile& file, const SurfaceChunks& surfaces, const std::uint8_t* points,
               std::size_t pointCount, OutputFile& out)
        : file_(file), surfaces_(surfaces), points_(points), marks_(pointCount, 0), meshIndex_(pointCount, 0),
          out_(out) {}

    // Writes one surface's comment and blocks; false when no polygon uses a point.
    bool writeSurface(std::string_view name, const std::vector<const Polygon*>& polygons) {
        std::string& text = out_.buffer();
        text += "# Surface: ";
        text += singleLine(name);
        text += '\n';

        std::size_t meshPolygons = 0, meshVertices = 0, blockPoints = 0;
        touched_.clear();
        for (const Polygon* p : polygons) {
            if (p->count == 2) continue;
            const std::uint8_t mark = p->count == 1 ? kPointBlock : kMesh;
            if (mark == kMesh) ++meshPolygons;
            for (std::size_t i = 0; i < p->count; ++i) {
                std::uint8_t& m = marks_[index(*p, i)];
                if (m & mark) continue;
                if (m == 0) touched_.push_back(index(*p, i));
                m |= mark;
                ++(mark == kMesh ? meshVertices : blockPoints);
            }
        }
        if (blockPoints == 0 && meshVertices == 0) return false;
        std::sort(touched_.begin(), touched_.end());

        std::optional<Chunk> surf = findSurfaceChunk(surfaces_, name);
        const std::string attributes = surf ? lwobSurfaceAttributes(file_, *surf) : kLwobDefaultAttributes;

        if (blockPoints > 0) {
            appendPointsOpening(text, attributes, blockPoints);
            for (std::uint32_t pt : touched_) {
                if ((marks_[pt] & kPointBlock) && !writePoint(pt)) break;
            }
            text += "\tEndPoints\n";
        }
        if (meshPolygons > 0) {
            appendMeshOpening(text, attributes, meshVertices, false);
            std::uint32_t next = 0;
            for (std::uint32_t pt : touched_) {
                if (!(marks_[pt] & kMesh)) continue;
                meshIndex_[pt] = next++;
                if (!writePoint(pt)) break;
            }
            appendPolysOpening(text, meshPolygons);
            for (const Polygon* p : polygons) {
                if (p->count == 1 || p->count == 2) continue;
                appendPolygonLine(text, p->count, [&](std::uint32_t i) { return meshIndex_[index(*p, i)]; });
                if (!out_.flushIfFull()) break;
            }
            text += "\tEndPolygonMesh\n";
        }
        for (std::uint32_t pt : touched_) marks_[pt] = 0;
        return true;
    }

private:
    std::uint32_t index(const Polygon& p, std::size_t i) const {
        return loadU2(file_.bytes.data() + p.firstIndex + 2 * i);
    }
    bool writePoint(std::uint32_t pt) {
        appendCoordinateLine(out_.buffer(), decodedPoint(points_, pt));
        return out_.flushIfFull();
    }

    const ChunkFile& file_;
    const SurfaceChunks& surfaces_;
    const std::uint8_t* points_;
    std::vector<std::uint8_t> marks_;
    std::vector<std::uint32_t> meshIndex_;
    std::vector<std::uint32_t> touched_;
    OutputFile& out_;
};

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

    const std::vector<std::string_view> names = readSurfaceNames(file, findChunk(file, makeId("SRFS")));
    const std::vector<Polygon> polygons = readPolygons(file, *pols, pointCount);
    std::vector<std::vector<const Polygon*>> bySurface(names.size());
    for (const Polygon& p : polygons) {
        if (p.surface >= 1 && p.surface <= names.size()) bySurface[p.surface - 1].push_back(&p);
    }

    // Indexed once: an object may hold tens of thousands of surfaces among
    // far more chunks, and a walk per surface would cost their product.
    const SurfaceChunks surfaces = indexSurfaceChunks(file);
    LwobWriter writer(file, surfaces, file.bytes.data() + pnts->offset, pointCount, out);
    for (std::size_t j = 0; j < names.size() && !out.failed(); ++j) {
        if (!writer.writeSurface(names[j], bySurface[j])) {
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
