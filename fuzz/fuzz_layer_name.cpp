// The bytes as the name of a layer: the code grammar read by the model
// conversion (articulation lines, attach points, pointing, ranges and names in
// parentheses) and by the script writer, which a fixed scene drives through
// every channel of that layer.

#include <string_view>

#include "core/dispatch/run_job.h"
#include "fuzz/fuzz_objects.h"
#include "fuzz/fuzz_support.h"

namespace {

// Every channel of the first layer with a curved, a stepped and a repeating key.
std::string everyChannelScene(std::string_view objectName) {
    std::string scene = "LWSC\n3\n\nLoadObjectLayer 1 10000000 Objects/";
    scene += objectName;
    scene += "\nObjectMotion\nNumChannels 9\n";
    for (char channel = '0'; channel <= '8'; ++channel) {
        scene += "Channel ";
        scene += channel;
        scene += "\n{ Envelope\n  3\n  Key 0 0 0 0 0 0 0 0 0\n  Key 1.5 1 1 0 0 0 0 0 0\n"
                 "  Key -0.5 2 0 0.5 0 0 0 0 0\n  Behaviors 1 2\n}\n";
    }
    return scene;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string scene = [] {
        const std::string path = vxfuzz::scratchPath("layers.lws");
        const std::string text = everyChannelScene("layers.lwo");
        vxfuzz::writeInput(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        return path;
    }();
    // A LAYR chunk's size is held in 32 bits and its name is read as a whole.
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::vector<std::uint8_t> bytes = vxfuzz::namedLayerObject(name);
    const std::string object = vxfuzz::scratchPath("layers.lwo");
    vxfuzz::writeInput(object, bytes.data(), bytes.size());
    for (int type = 0; type < 4; ++type) {
        vx::ConversionJob job;
        job.inputPath = object;
        job.outputPath = vxfuzz::scratchPath("layers.mdl");
        job.scenePath = scene;
        job.scriptPath = vxfuzz::scratchPath("layers.sama");
        job.articulate = true;
        job.modelType = static_cast<vx::ModelType>(type);
        job.subdivide = type % 2 == 1;
        job.scriptFormat = static_cast<vx::ScriptFormat>(type % 3);
        vxfuzz::QuietSink sink;
        vx::runJob(job, sink);
    }
    return 0;
}
