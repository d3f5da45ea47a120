#include "core/mdl_text.h"

#include <cstring>

#include "core/number_format.h"

namespace vx {

void appendModelHeader(std::string& out, std::string_view objectModelName, ModelType type) {
    out += "# Korvan 3D Model file\n#\n# Converted from \"";
    out += objectModelName;
    out += "\" by ";
    out += kProgramBanner;
    out += ".\n#\n";
    out += axisRotationLine(type);
}

int finishModelFile(OutputFile& out, std::string_view modelName, const std::string& outputPath,
                    MessageSink& sink) {
    std::string& text = out.buffer();
    text += "# End of ";
    text += modelName;
    text += ".mdl\n###########################################################\n";
    if (out.commit() != 0) {
        sink.error("Can't write output file.", outputPath, out.systemError());
        return 1;
    }
    return 0;
}

char* writeCoordinates(char* to, const Point3& p) {
    std::memcpy(to, "\t\t\t", 3);
    to = writeFixed(to + 3, p.x, 11);
    *to++ = ' ';
    to = writeFixed(to, p.y, 11);
    *to++ = ' ';
    return writeFixed(to, p.z, 11);
}

void appendCoordinateLine(std::string& out, const Point3& p) {
    char line[kCoordinateRoom + 1];
    char* end = writeCoordinates(line, p);
    *end++ = '\n';
    out.append(line, static_cast<std::size_t>(end - line));
}

void appendTexturedLine(std::string& out, const Point3& p, float u, float v) {
    char line[kCoordinateRoom + 2 * kFixedFloatRoom + 3];
    char* end = writeCoordinates(line, p);
    *end++ = ' ';
    end = writeFixed(end, u, 6);
    *end++ = ' ';
    end = writeFixed(end, v, 6);
    *end++ = '\n';
    out.append(line, static_cast<std::size_t>(end - line));
}

void appendPointsOpening(std::string& out, std::string_view attributes, std::size_t vertices) {
    out += "\tPoints\n";
    out += attributes;
    out += "\t\tNumVerts ";
    appendInt(out, static_cast<long long>(vertices));
    out += "\n\t\tPointSize 2\n\t\tData\n";
}

void appendMeshOpening(std::string& out, std::string_view attributes, std::size_t vertices, bool textured) {
    out += "\tPolygonMesh\n";
    out += attributes;
    out += "\t\tNumVerts ";
    appendInt(out, static_cast<long long>(vertices));
    out += textured ? "\n\t\tDataTx\n" : "\n\t\tData\n";
}

void appendPolysOpening(std::string& out, std::size_t polygons) {
    out += "\t\tNumPolys ";
    appendInt(out, static_cast<long long>(polygons));
    out += "\n\t\tPolys\n";
}

}  // namespace vx
