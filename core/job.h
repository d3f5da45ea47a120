#pragma once
// The options of one run. The front ends fill a fresh job, the dispatcher runs
// it, and every converter reads its options from it.

#include <cstdint>
#include <string>

#include "core/model_type.h"

namespace vx {

// 0: the run finished (warnings included); 1: it failed and the user has
// already been told why. Two steps of one run combine by bitwise OR.
using ConversionStatus = int;

enum class ScriptFormat : std::int32_t { Standard = 0, TabSeparated = 1, CommaSeparated = 2 };
enum class SubdivideMode : std::int32_t { ByTimeStep = 0, BySlices = 1 };

struct ConversionJob {
    double timeScale = 1.0;  // scenario seconds per second of scene time; set by runJob
    std::string inputPath;
    std::string outputPath;
    std::string scenePath;
    std::string scriptPath;
    bool convert = true;
    bool articulate = false;
    bool sortLayers = true;
    bool allImageFormats = true;
    ModelType modelType = ModelType::SpacecraftAircraft;
    ScriptFormat scriptFormat = ScriptFormat::Standard;
    double epoch = 0.0;
    double secondsPerFrame = 1.0 / 30.0;
    bool subdivide = false;
    SubdivideMode subdivideMode = SubdivideMode::BySlices;
    std::int32_t subdivideSteps = 20;
    float subdivideTimeStep = 0.25f;
    // The most rows a script may hold (0: no bound). A small scene sliced
    // finely can ask for billions of rows and fill a disk.
    std::int64_t maxRows = 2'000'000;
    // When set, the run reads its object and scene from this store and writes
    // its model and script into it instead of files: fuzz targets and tests
    // (core/memory_files.h).
    struct MemoryFiles* files = nullptr;
};

}  // namespace vx
