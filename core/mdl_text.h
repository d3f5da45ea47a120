#pragma once
// Lines that every model file shares, whichever LightWave generation it came from.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/message_sink.h"
#include "core/model_type.h"
#include "core/number_format.h"
#include "core/output_file.h"

namespace vx {

inline constexpr std::string_view kProgramBanner = "Vertexion v2.8b";
// The object forms the converter reads, for the help texts.
inline constexpr std::string_view kObjectVersions =
    "Reads objects of LightWave 5 (LWOB), LightWave 6 to 2015 (LWO2) and LightWave 2018 and later (LWO3).";

// "# Korvan 3D Model file" header naming the object, then the axis line.
void appendModelHeader(std::string& out, std::string_view objectModelName, ModelType type);

// Writes the trailer naming the model and puts the file in place: 0, or 1
// after "Can't write output file." when the text could not be written.
int finishModelFile(OutputFile& out, std::string_view modelName, const std::string& outputPath,
                    MessageSink& sink);

// "\t\t\t%.11f %.11f %.11f\n", and with texture coordinates
// "\t\t\t%.11f %.11f %.11f %f %f\n", each line assembled in one piece.
inline constexpr int kCoordinateRoom = 3 + 3 * kFixedFloatRoom + 2;
char* writeCoordinates(char* to, const Point3& p);  // without the line break
void appendCoordinateLine(std::string& out, const Point3& p);
void appendTexturedLine(std::string& out, const Point3& p, float u, float v);

// The openings of a surface's blocks: its attribute text, then the counts.
void appendPointsOpening(std::string& out, std::string_view attributes, std::size_t vertices);
void appendMeshOpening(std::string& out, std::string_view attributes, std::size_t vertices, bool textured);
void appendPolysOpening(std::string& out, std::size_t polygons);

// "\t\t\t%d" with the vertex count, then the mesh vertex numbers last vertex
// first: LightWave winds polygons the other way round.
template <typename VertexOf>
void appendPolygonLine(std::string& out, std::uint32_t count, VertexOf&& vertexOf) {
    // Assembled in a small buffer handed over whenever it fills: a polygon
    // may have tens of thousands of vertices.
    char line[256];
    char* const full = line + sizeof line - 12;
    std::memcpy(line, "\t\t\t", 3);
    char* p = writeUnsigned(line + 3, count);
    for (std::uint32_t i = count; i-- > 0;) {
        if (p > full) {
            out.append(line, static_cast<std::size_t>(p - line));
            p = line;
        }
        *p++ = ' ';
        p = writeUnsigned(p, static_cast<std::uint32_t>(vertexOf(i)));
    }
    *p++ = '\n';
    out.append(line, static_cast<std::size_t>(p - line));
}

}  // namespace vx
