#pragma once
// LightWave 6+ objects held in memory with their conversion context, and the
// rows of a script picked apart, for the scene tests.

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/chunk_file.h"
#include "lwo2/context.h"
#include "scene/envelope.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace scenetest {

using vxtest::layr;

inline vx::EnvelopeKey key(float time, float value, vx::KeyShape shape = vx::KeyShape::TCB) {
    return {.value = value, .time = time, .shape = shape};
}

// A loaded object and the context both conversion steps share.
struct Object {
    vx::ChunkFile file;
    std::optional<vx::Lwo2Context> context;
};

inline std::unique_ptr<Object> loadObject(const std::vector<vxtest::Data>& chunks,
                                          const std::string& path = "/models/ship.lwo") {
    auto object = std::make_unique<Object>();
    vxtest::RecordingSink sink;
    object->file.loadBytes(vxtest::form("LWO2", chunks), path, sink);
    object->context.emplace(object->file);
    return object;
}

// The fields of the comma-separated rows of a script: ARTICULATION,
// StartTime, Duration, DeadBandDuration, three zeros, Period, Articulation,
// Transformation, StartValue, EndValue.
inline std::vector<std::vector<std::string>> commaRows(std::string_view script) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines{std::string(script)};
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("ARTICULATION,")) continue;
        std::istringstream fields(line + ',');  // so that an empty last field is kept
        rows.emplace_back();
        for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
    }
    return rows;
}

enum Field { StartTime = 1, Duration = 2, DeadBand = 3, Period = 7, Articulation = 8, Transformation = 9,
             StartValue = 10, EndValue = 11 };

}  // namespace scenetest
