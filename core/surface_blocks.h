#pragma once
// The Points and PolygonMesh blocks of one surface, written the same way for
// both object forms. One-point polygons go to the Points block, polygons of
// three or more vertices (and empty ones) to the PolygonMesh block, lines to
// neither. Only the points the surface uses are listed, in point order, and
// the mesh names them by their place in its list.
//
// A surface's polygons come from any source with
//   std::size_t size() const;
//   std::uint32_t count(std::size_t k) const;                    // vertices of polygon k
//   std::uint32_t vertex(std::size_t k, std::uint32_t i) const;  // point index of vertex i

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/mdl_text.h"
#include "core/output_file.h"

namespace vx {

// How many lines each block of a surface gets.
struct BlockCounts {
    std::size_t meshPolygons = 0;
    std::size_t meshVertices = 0;
    std::size_t blockPoints = 0;

    bool empty() const { return meshVertices == 0 && blockPoints == 0; }
};

// Per-point working arrays, sized once for an object's or a layer's points
// and reused from surface to surface.
struct SurfacePoints {
    enum : std::uint8_t { kInMesh = 1, kInPointBlock = 2 };
    std::vector<std::uint8_t> marks;        // per point: kInMesh | kInPointBlock
    std::vector<std::uint32_t> meshVertex;  // per point: its place in the mesh's list
    std::vector<std::uint32_t> used;        // the points marked for the surface

    void reset(std::size_t pointCount) {
        marks.assign(pointCount, 0);
        meshVertex.resize(pointCount);
        used.clear();
    }
};

// Texture coordinates per point, or none.
struct PointUv {
    const float* u = nullptr;
    const float* v = nullptr;
};

// The counting pass: marks the points the surface's polygons use and counts
// each block's lines. A point used both alone and in a mesh is listed in both
// blocks, so every mesh polygon names listed vertices.
template <typename Polygons>
BlockCounts markSurfacePoints(SurfacePoints& s, const Polygons& polygons) {
    BlockCounts counts;
    s.used.clear();
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        const std::uint32_t n = polygons.count(k);
        if (n == 2) continue;
        const std::uint8_t kind = n == 1 ? SurfacePoints::kInPointBlock : SurfacePoints::kInMesh;
        if (kind == SurfacePoints::kInMesh) ++counts.meshPolygons;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint32_t pt = polygons.vertex(k, i);
            std::uint8_t& m = s.marks[pt];
            if (m & kind) continue;
            if (m == 0) s.used.push_back(pt);
            m |= kind;
            ++(kind == SurfacePoints::kInMesh ? counts.meshVertices : counts.blockPoints);
        }
    }
    std::sort(s.used.begin(), s.used.end());
    return counts;
}

// The Points block and the opening and vertex list of the PolygonMesh block;
// each stops at a failed write.
void writePointBlock(OutputFile& out, const SurfacePoints& s, std::string_view attributes, std::size_t points,
                     const std::uint8_t* coordinates);
void writeMeshVertices(OutputFile& out, SurfacePoints& s, std::string_view attributes, std::size_t vertices,
                       const std::uint8_t* coordinates, PointUv uv);
// Unmarks the surface's points for the next surface.
void clearSurfacePoints(SurfacePoints& s);

// Writes both blocks from the counts of markSurfacePoints() and clears the
// marks. `coordinates` holds the decoded points, 12 bytes each.
template <typename Polygons>
void writeSurfaceBlocks(OutputFile& out, SurfacePoints& s, const Polygons& polygons, const BlockCounts& counts,
                        std::string_view attributes, const std::uint8_t* coordinates, PointUv uv = {}) {
    if (counts.blockPoints > 0) writePointBlock(out, s, attributes, counts.blockPoints, coordinates);
    if (counts.meshPolygons > 0) {
        writeMeshVertices(out, s, attributes, counts.meshVertices, coordinates, uv);
        std::string& text = out.buffer();
        appendPolysOpening(text, counts.meshPolygons);
        for (std::size_t k = 0; k < polygons.size(); ++k) {
            const std::uint32_t n = polygons.count(k);
            if (n == 1 || n == 2) continue;
            appendPolygonLine(text, n, [&](std::uint32_t i) { return s.meshVertex[polygons.vertex(k, i)]; });
            if (!out.flushIfFull()) break;
        }
        text += "\tEndPolygonMesh\n";
    }
    clearSurfacePoints(s);
}

}  // namespace vx
