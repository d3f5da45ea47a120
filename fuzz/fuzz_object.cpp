// The bytes as an object file, converted as both LightWave generations, with
// every model type and layer order, to a real model file.

#include <cstring>
#include <vector>

#include "core/dispatch/run_job.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string object = vxfuzz::scratchPath("object.lwo");
    std::vector<std::uint8_t> bytes(data, data + size);
    for (const char* form : {"LWOB", "LWO2"}) {
        if (bytes.size() >= 12) std::memcpy(bytes.data() + 8, form, 4);
        vxfuzz::writeInput(object, bytes.data(), bytes.size());
        for (int type = 0; type < 4; ++type) {
            for (bool sorted : {true, false}) {
                vx::ConversionJob job;
                job.inputPath = object;
                job.outputPath = vxfuzz::scratchPath("object.mdl");
                job.modelType = static_cast<vx::ModelType>(type);
                job.sortLayers = sorted;
                job.allImageFormats = type % 2 == 0;
                vxfuzz::QuietSink sink;
                vx::runJob(job, sink);
                if (form[3] == 'B') break;  // layer order means nothing to a LightWave 5 object
            }
        }
    }
    return 0;
}
