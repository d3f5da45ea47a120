#include "core/surface_blocks.h"

#include "core/model_type.h"

namespace vx {

void writePointBlock(OutputFile& out, const SurfacePoints& s, std::string_view attributes, std::size_t points,
                     const std::uint8_t* coordinates) {
    std::string& text = out.buffer();
    appendPointsOpening(text, attributes, points);
    for (std::uint32_t pt : s.used) {
        if (!(s.marks[pt] & SurfacePoints::kInPointBlock)) continue;
        appendCoordinateLine(text, decodedPoint(coordinates, pt));
        if (!out.flushIfFull()) break;
    }
    text += "\tEndPoints\n";
}

void writeMeshVertices(OutputFile& out, SurfacePoints& s, std::string_view attributes, std::size_t vertices,
                       const std::uint8_t* coordinates, PointUv uv) {
    std::string& text = out.buffer();
    const bool textured = uv.u != nullptr;
    appendMeshOpening(text, attributes, vertices, textured);
    std::uint32_t next = 0;
    for (std::uint32_t pt : s.used) {
        if (!(s.marks[pt] & SurfacePoints::kInMesh)) continue;
        if (textured) {
            appendTexturedLine(text, decodedPoint(coordinates, pt), uv.u[pt], uv.v[pt]);
        } else {
            appendCoordinateLine(text, decodedPoint(coordinates, pt));
        }
        s.meshVertex[pt] = next++;
        if (!out.flushIfFull()) break;
    }
}

void clearSurfacePoints(SurfacePoints& s) {
    for (std::uint32_t pt : s.used) s.marks[pt] = 0;
    s.used.clear();
}

}  // namespace vx
