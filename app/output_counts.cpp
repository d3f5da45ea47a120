#include "app/output_counts.h"

#include <charconv>
#include <string_view>

namespace vx {

namespace {

bool startsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

std::string_view withoutIndent(std::string_view line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at == std::string_view::npos ? std::string_view() : line.substr(at);
}

void appendCount(std::string& out, std::uint64_t n, std::string_view one, std::string_view many) {
    if (!out.empty()) out += ", ";
    out += std::to_string(n);
    out += ' ';
    out += n == 1 ? one : many;
}

}  // namespace

ModelCounts countModel(std::istream& text) {
    ModelCounts counts;
    // A LightWave 5 object lists an unused surface by name alone; only a
    // section that goes on to a block counts.
    bool surfaceOpen = false;
    std::string buffer;
    while (std::getline(text, buffer)) {
        const std::string_view line = buffer;
        if (startsWith(line, "Component ")) {
            ++counts.components;
        } else if (startsWith(line, "# Surface: ")) {
            surfaceOpen = true;
        } else if (line == "\tPoints" || line == "\tPolygonMesh") {
            counts.surfaces += surfaceOpen ? 1 : 0;
            surfaceOpen = false;
        } else if (startsWith(line, "\t\tNumPolys ")) {
            std::uint64_t n = 0;
            const std::string_view digits = line.substr(11);
            std::from_chars(digits.data(), digits.data() + digits.size(), n);
            counts.polygons += n;
        } else if (startsWith(withoutIndent(line), "Articulation ")) {
            ++counts.articulations;
        }
    }
    return counts;
}

std::uint64_t countScriptRows(std::istream& text) {
    std::uint64_t rows = 0;
    std::string line;
    while (std::getline(text, line)) {
        if (line == "NEW_ARTICULATION" || startsWith(line, "ARTICULATION\t") || startsWith(line, "ARTICULATION,"))
            ++rows;
    }
    return rows;
}

std::string describeModel(const ModelCounts& counts) {
    std::string text;
    appendCount(text, counts.components, "component", "components");
    appendCount(text, counts.surfaces, "surface", "surfaces");
    appendCount(text, counts.polygons, "polygon", "polygons");
    appendCount(text, counts.articulations, "articulation", "articulations");
    return text;
}

std::string describeScript(std::uint64_t rows) {
    std::string text;
    appendCount(text, rows, "row", "rows");
    return text;
}

}  // namespace vx
