// The bytes as an object file, converted as each LightWave form (LWOB, LWO2,
// LWO3 with its nested surfaces and node graphs) to a model file kept in
// memory, with the model type and layer order the input draws
// (fuzz/fuzz_support.h).

#include <cstring>
#include <string>

#include "dispatch/run_job.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string objectPath = vxfuzz::storedPath("object.lwo");
    static const std::string modelPath = vxfuzz::storedPath("object.mdl");
    const std::string_view input = vxfuzz::asText(data, size);
    const std::uint32_t draw = vxfuzz::optionDraw(input);
    const int type = static_cast<int>(draw % 4);
    vx::MemoryFiles files;
    std::string& object = files.files[objectPath];
    object = input;
    for (const char* form : {"LWOB", "LWO2", "LWO3"}) {
        if (object.size() >= 12) std::memcpy(object.data() + 8, form, 4);
        vx::ConversionJob job;
        job.files = &files;
        job.inputPath = objectPath;
        job.outputPath = modelPath;
        job.modelType = static_cast<vx::ModelType>(type);
        job.sortLayers = (draw >> 2) % 2 == 0;  // layer order means nothing to a LightWave 5 object
        job.allImageFormats = type % 2 == 0;
        vxfuzz::QuietSink sink;
        vx::runJob(job, sink);
    }
    return 0;
}
