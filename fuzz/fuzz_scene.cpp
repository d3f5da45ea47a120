// The bytes as a scene animating the layers of a fixed object: scripts in all
// three layouts, subdivided by slices (with the model converted in the same
// run, so the script takes the pivots the conversion decoded) and by time step
// (the script decoding the pivots itself).

#include "core/dispatch/run_job.h"
#include "fuzz/fuzz_objects.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string object = [] {
        const std::string path = vxfuzz::scratchPath(vxfuzz::kSceneObjectName);
        const std::vector<std::uint8_t> bytes = vxfuzz::articulatedObject();
        vxfuzz::writeInput(path, bytes.data(), bytes.size());
        return path;
    }();
    const std::string scene = vxfuzz::scratchPath("scene.lws");
    vxfuzz::writeInput(scene, data, size);
    int run = 0;
    for (vx::SubdivideMode mode : {vx::SubdivideMode::BySlices, vx::SubdivideMode::ByTimeStep}) {
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
            job.subdivideTimeStep = 0.25f;
            vxfuzz::QuietSink sink;
            vx::runJob(job, sink);
        }
    }
    return 0;
}
