#pragma once
// What a written model or script holds, counted from its text, so that the
// command line can say so without the converters keeping any tally.

#include <cstdint>
#include <istream>
#include <string>

namespace vx {

struct ModelCounts {
    std::uint64_t components = 0;     // "Component" definitions, references not counted
    std::uint64_t surfaces = 0;       // surface sections with a Points or PolygonMesh block
    std::uint64_t polygons = 0;       // the NumPolys of every mesh
    std::uint64_t articulations = 0;  // Articulation blocks, of layers and of surfaces
};

ModelCounts countModel(std::istream& text);

// Rows of every layout: a block opened by "NEW_ARTICULATION" or one
// "ARTICULATION" spreadsheet line.
std::uint64_t countScriptRows(std::istream& text);

// "3 components, 5 surfaces, 120 polygons, 2 articulations"; "1 row".
std::string describeModel(const ModelCounts& counts);
std::string describeScript(std::uint64_t rows);

}  // namespace vx
