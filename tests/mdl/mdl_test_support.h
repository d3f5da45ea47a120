#pragma once
// What a model file holds, counted from its text alone (not by the reader),
// and the same taken from a model read back, so the two can be compared; and
// conversions through the library into a store in memory.

#include <string>
#include <string_view>
#include <vector>

#include "core/job.h"
#include "core/memory_files.h"
#include "dispatch/run_job.h"
#include "mdl/mdl_model.h"
#include "tests/support/test_support.h"

namespace mdltest {

struct Outline {
    std::vector<std::string> components;  // names, in file order
    std::vector<std::size_t> polygons;    // the NumPolys of each component, added up
    std::vector<std::string> articulations;  // "Component: Articulation (lines)"
    bool operator==(const Outline&) const = default;
};

inline std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == '\t' || line.front() == ' ')) line.remove_prefix(1);
    return line;
}

inline Outline outlineOfText(std::string_view text) {
    Outline o;
    std::string* open = nullptr;  // the articulation being counted
    int lines = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::string_view line = trimmed(raw);
        if (raw.starts_with("Component ")) {
            o.components.emplace_back(raw.substr(10));
            o.polygons.push_back(0);
        } else if (line.starts_with("NumPolys ")) {
            o.polygons.back() += std::stoul(std::string(line.substr(9)));
        } else if (line.starts_with("Articulation ")) {
            open = &o.articulations.emplace_back(o.components.back() + ": " + std::string(line.substr(13)));
            lines = 0;
        } else if (line == "EndArticulation") {
            *open += " (" + std::to_string(lines) + ")";
            open = nullptr;
        } else if (open) {
            ++lines;
        }
    }
    return o;
}

inline Outline outlineOfModel(const vx::MdlModel& model) {
    Outline o;
    const auto add = [&](const vx::MdlComponent& c, const vx::MdlArticulation& a) {
        o.articulations.push_back(c.name + ": " + a.name + " (" + std::to_string(a.transformations.size()) + ")");
    };
    for (const vx::MdlComponent& c : model.components) {
        o.components.push_back(c.name);
        o.polygons.push_back(0);
        for (const vx::MdlRefer& r : c.refers)
            if (r.articulation) add(c, *r.articulation);
        for (const vx::MdlMesh& m : c.meshes) {
            o.polygons.back() += m.polygonCount();
            if (m.surface.colorArticulation) add(c, *m.surface.colorArticulation);
        }
    }
    return o;
}

// The model the library writes for an object, converted in memory.
inline std::string convertObject(const std::string& objectBytes, vx::ModelType type, vxtest::RecordingSink& sink) {
    vx::MemoryFiles files;
    files.files["object.lwo"] = objectBytes;
    vx::ConversionJob job;
    job.files = &files;
    job.inputPath = "object.lwo";
    job.outputPath = "object.mdl";
    job.modelType = type;
    if (vx::runJob(job, sink) != 0) return {};
    return files.files["object.mdl"];
}

}  // namespace mdltest
