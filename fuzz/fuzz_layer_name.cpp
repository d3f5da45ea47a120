// The bytes as the name of a layer: the code grammar read by the model
// conversion (articulation lines, attach points, pointing, ranges and names in
// parentheses) and by the script writer, which a fixed scene drives through
// every channel of that layer.

#include <string_view>

#include "dispatch/run_job.h"
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
    static const std::string scenePath = vxfuzz::storedPath("layers.lws");
    static const std::string scene = everyChannelScene("layers.lwo");
    static const std::string objectPath = vxfuzz::storedPath("layers.lwo");
    static const std::string modelPath = vxfuzz::storedPath("layers.mdl");
    static const std::string scriptPath = vxfuzz::storedPath("layers.sama");
    static const vxfuzz::NamedLayerObjects objects;
    const std::string_view name = vxfuzz::asText(data, size);
    vx::MemoryFiles files;
    files.files[scenePath] = scene;
    // A LAYR chunk's size is held in 32 bits and its name is read as a whole.
    objects.write(name, files.files[objectPath]);
    // Four option sets, one a model type: every other one subdivided, and
    // the three layouts in turn.
    const int type = static_cast<int>(vxfuzz::optionDraw(name) % 4);
    vx::ConversionJob job;
    job.files = &files;
    job.inputPath = objectPath;
    job.outputPath = modelPath;
    job.scenePath = scenePath;
    job.scriptPath = scriptPath;
    job.articulate = true;
    job.modelType = static_cast<vx::ModelType>(type);
    job.subdivide = type % 2 == 1;
    job.subdivideSteps = 3;  // slices enough to walk the slicing; more only add rows
    job.scriptFormat = static_cast<vx::ScriptFormat>(type % 3);
    vxfuzz::QuietSink sink;
    vx::runJob(job, sink);
    return 0;
}
