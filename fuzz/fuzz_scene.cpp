// The bytes as a scene animating the layers of a fixed object: scripts in all
// three layouts, subdivided by slices (with the model converted in the same
// run, so the script takes the pivots the conversion decoded) and by time step
// (the script decoding the pivots itself).

#include <cmath>
#include <string_view>

#include "core/dispatch/run_job.h"
#include "fuzz/fuzz_objects.h"
#include "fuzz/fuzz_support.h"
#include "scene/text_scan.h"

namespace {

constexpr float kTimeStep = 0.25f;

// Slicing by time step writes a row per step of every curved interval, up to
// a hundred thousand an interval: a few bytes of scene ask for megabytes of
// script, fast but beyond the fuzzer's one second. The time-step runs take
// only scenes whose key times, walked in file order, cover a bounded number
// of steps (every "  Key" is counted, wherever it stands, so none is missed).
bool fewTimeSteps(std::string_view scene) {
    double steps = 0;
    float previous = 0;
    for (std::size_t at = scene.find("  Key"); at != std::string_view::npos; at = scene.find("  Key", at + 1)) {
        vx::TextScanner scan(scene.substr(at + 5, 512));
        float value = 0, time = 0;
        if (!scan.readFloat(value) || !scan.readFloat(time)) continue;
        steps += std::fabs(double(time) - previous) / kTimeStep + 1;
        previous = time;
        if (!(steps <= 20000)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string object = [] {
        const std::string path = vxfuzz::scratchPath(vxfuzz::kSceneObjectName);
        const std::vector<std::uint8_t> bytes = vxfuzz::articulatedObject();
        vxfuzz::writeInput(path, bytes.data(), bytes.size());
        return path;
    }();
    const std::string scene = vxfuzz::scratchPath("scene.lws");
    vxfuzz::writeInput(scene, data, size);
    const bool timeSteps = fewTimeSteps(std::string_view(reinterpret_cast<const char*>(data), size));
    int run = 0;
    for (vx::SubdivideMode mode : {vx::SubdivideMode::BySlices, vx::SubdivideMode::ByTimeStep}) {
        if (mode == vx::SubdivideMode::ByTimeStep && !timeSteps) break;
        for (vx::ScriptFormat format :
             {vx::ScriptFormat::Standard, vx::ScriptFormat::TabSeparated, vx::ScriptFormat::CommaSeparated}) {
            vx::ConversionJob job;
            job.inputPath = object;
            job.outputPath = vxfuzz::scratchPath("ship.mdl");
            job.scenePath = scene;
            job.scriptPath = vxfuzz::scratchPath("ship.sama");
            job.convert = mode == vx::SubdivideMode::BySlices;
            job.articulate = true;
            job.modelType = static_cast<vx::ModelType>(run++ % 4);
            job.scriptFormat = format;
            job.subdivide = true;
            job.subdivideMode = mode;
            job.subdivideSteps = 7;
            job.subdivideTimeStep = kTimeStep;
            vxfuzz::QuietSink sink;
            vx::runJob(job, sink);
        }
    }
    return 0;
}
