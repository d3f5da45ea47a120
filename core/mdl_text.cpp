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

void appendCoordinateLine(std::string& out, const Point3& p) {
    out += "\t\t\t";
    appendFixed(out, p.x, 11);
    out += ' ';
    appendFixed(out, p.y, 11);
    out += ' ';
    appendFixed(out, p.z, 11);
    out += '\n';
}

}  // namespace vx
