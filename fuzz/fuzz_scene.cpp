// The bytes as a scene animating the layers of a fixed object: scripts in all
// three layouts, subdivided by slices (with the model converted in the same
// run, so the script takes the pivots the conversion decoded) and by time step
// (the script decoding the pivots itself).

#include <cmath>
#include <string_view>

#include "dispatch/run_job.h"
#include "fuzz/fuzz_objects.h"
#include "fuzz/fuzz_support.h"
#include "scene/text_scan.h"

namespace {

constexpr float kTimeStep = 0.25f;

// Slicing by time step writes a row per step of every curved interval, up to
// a hundred thousand an interval: a few bytes of scene ask for megabytes of
// script. The time-step runs take only scenes whose key times, walked in file
// order, cover a bounded number of steps (every "  Key" is counted, wherever
// it stands, so none is missed). A thousand steps walk every path of the
// slicing; each step past them only repeats a row, and the fuzzer, rewarded
// for longer loops, would otherwise drift to scenes of tens of thousands of
// rows that each take as long as a hundred smaller ones.
constexpr double kMostTimeSteps = 1000;

bool fewTimeSteps(std::string_view scene) {
    double steps = 0;
    float previous = 0;
    for (std::size_t at = scene.find("  Key"); at != std::string_view::npos; at = scene.find("  Key", at + 1)) {
        vx::TextScanner scan(scene.substr(at + 5, 512));
        float value = 0, time = 0;
        if (!scan.readFloat(value) || !scan.readFloat(time)) continue;
        steps += std::fabs(double(time) - previous) / kTimeStep + 1;
        previous = time;
        if (!(steps <= kMostTimeSteps)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string objectPath = vxfuzz::storedPath(vxfuzz::kSceneObjectName);
    static const std::string object = [] {
        const std::vector<std::uint8_t> bytes = vxfuzz::articulatedObject();
        return std::string(bytes.begin(), bytes.end());
    }();
    static const std::string scenePath = vxfuzz::storedPath("scene.lws");
    static const std::string modelPath = vxfuzz::storedPath("ship.mdl");
    static const std::string scriptPath = vxfuzz::storedPath("ship.sama");
    const std::string_view scene = vxfuzz::asText(data, size);
    vx::MemoryFiles files;
    files.files[objectPath] = object;
    files.files[scenePath] = scene;
    // Six option sets: three layouts by slices, then the same by time step,
    // which a scene of too many steps gives up for the slices.
    int set = static_cast<int>(vxfuzz::optionDraw(scene) % 6);
    if (set >= 3 && !fewTimeSteps(scene)) set -= 3;
    const vx::SubdivideMode mode = set < 3 ? vx::SubdivideMode::BySlices : vx::SubdivideMode::ByTimeStep;
    vx::ConversionJob job;
    job.files = &files;
    job.inputPath = objectPath;
    job.outputPath = modelPath;
    job.scenePath = scenePath;
    job.scriptPath = scriptPath;
    job.convert = mode == vx::SubdivideMode::BySlices;
    job.articulate = true;
    job.modelType = static_cast<vx::ModelType>(set % 4);
    job.scriptFormat = static_cast<vx::ScriptFormat>(set % 3);
    job.subdivide = true;
    job.subdivideMode = mode;
    job.subdivideSteps = 7;
    job.subdivideTimeStep = kTimeStep;
    vxfuzz::QuietSink sink;
    vx::runJob(job, sink);
    return 0;
}
