#include "core/mdl_text.h"

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

int finishModelFile(OutputFile& out, std::string_view modelName, MessageSink& sink) {
    std::string& text = out.buffer();
    text += "# End of ";
    text += modelName;
    text += ".mdl\n###########################################################\n";
    if (out.commit() != 0) {
        sink.error("Can't write output file.");
        return 1;
    }
    return 0;
}

void appendCoordinateLine(std::string& out, const Point3& p) {
    out += "\t\t\t";
    appendFixed(out, p.x, 11);
    out += ' ';
    appendFixed(out, p.y, 11);
    out += ' ';
    appendFixed(out, p.z, 11);
    out += '\n';
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
