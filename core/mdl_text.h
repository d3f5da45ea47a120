#pragma once
// Lines that every model file shares, whichever LightWave generation it came from.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/message_sink.h"
#include "core/model_type.h"
#include "core/number_format.h"
#include "core/output_file.h"

namespace vx {

inline constexpr std::string_view kProgramBanner = "Vertexion v2.8b";

// "# Korvan 3D Model file" header naming the object, then the axis line.
void appendModelHeader(std::string& out, std::string_view objectModelName, ModelType type);

// Writes the trailer naming the model and puts the file in place: 0, or 1
// after "Can't write output file." when the text could not be written.
int finishModelFile(OutputFile& out, std::string_view modelName, MessageSink& sink);

// "\t\t\t%.11f %.11f %.11f\n"
void appendCoordinateLine(std::string& out, const Point3& p);

// The openings of a surface's blocks: its attribute text, then the counts.
void appendPointsOpening(std::string& out, std::string_view attributes, std::size_t vertices);
void appendMeshOpening(std::string& out, std::string_view attributes, std::size_t vertices, bool textured);
void appendPolysOpening(std::string& out, std::size_t polygons);

// "\t\t\t%d" with the vertex count, then the mesh vertex numbers last vertex
// first: LightWave winds polygons the other way round.
template <typename VertexOf>
void appendPolygonLine(std::string& out, std::uint32_t count, VertexOf&& vertexOf) {
    out += "\t\t\t";
    appendInt(out, count);
    for (std::uint32_t i = count; i-- > 0;) {
        out += ' ';
        appendInt(out, vertexOf(i));
    }
    out += '\n';
}

}  // namespace vx
